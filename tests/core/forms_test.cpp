// The dialogs' behaviour without a toolkit: the numeric field scheme (key filter, paste, steps,
// clamps, range captions), the advanced settings form (what OK writes and when it must not, the
// effect pairings, Defaults, Cancel) and the sound form (the slot rules, Play, Defaults, OK).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/advanced_form_model.h"
#include "forms/numeric_field_model.h"
#include "forms/sound_form_model.h"
#include "render/sound.h"
#include "settings/catalogue.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

struct FieldCase {
  SectionId section;
  const char* key;
  const char* start;
  const char* typed;  // at the end of the text
  int up, down;       // Up presses, then Down presses
  const char* shown;
  int refused;
  const char* afterFocusOut;
};

class NumericFieldModelTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NumericFieldModelTest, FiltersStepsAndClamps) {
  const FieldCase& c = GetParam();
  NumericFieldModel field(*FindKey(c.section, c.key));
  std::u16string text(c.start, c.start + std::char_traits<char>::length(c.start));
  int refused = 0;
  for (const char* p = c.typed; *p != 0; ++p) {
    if (field.AcceptsChar(text, {text.size(), 0}, static_cast<char16_t>(*p))) {
      text += static_cast<char16_t>(*p);
    } else {
      ++refused;
    }
  }
  field.SetText(std::string(text.begin(), text.end()));
  for (int i = 0; i < c.up; ++i) field.StepArrow(+1);
  for (int i = 0; i < c.down; ++i) field.StepArrow(-1);
  EXPECT_EQ(field.Text(), c.shown);
  EXPECT_EQ(refused, c.refused);
  field.ClampOnFocusOut();
  EXPECT_EQ(field.Text(), c.afterFocusOut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericFieldModelTest,
    ::testing::Values(FieldCase{SectionId::Fireworks, "FireWorks", "", "12a", 0, 0, "12", 1, "12"},
                      FieldCase{SectionId::General, "FocalLength", "", "1.5.2-", 0, 0, "1.52", 2, "1.52"},
                      FieldCase{SectionId::Gravity, "Grav_Gravity", "", "40000", 0, 0, "40000", 0, "30000"},
                      FieldCase{SectionId::Fireworks, "FireSparks", "", "", 0, 0, "", 0, "10"},
                      FieldCase{SectionId::Fireworks, "FireSparks", "9995", "", 2, 0, "9999", 0, "9999"},
                      FieldCase{SectionId::Warp, "Warp_CyclePct", "55", "", 0, 1, "45", 0, "45"},
                      FieldCase{SectionId::Fireworks, "FireSymmetry", "0.5", "", 3, 0, "0.5", 0,
                                "0.5"},  // no steps
                      FieldCase{SectionId::Fireworks, "FirePersist", "", ".", 0, 0, ".", 0, "0.25"},
                      FieldCase{SectionId::Advanced, "Adv_HueStart", "350", "", 2, 0, "359", 0, "359"}));

// Pasted text meets the key filter character by character; a "." typed or pasted over the
// selected "." is taken. The spinner's step may differ from the arrow keys' one.
TEST(NumericFieldModel, PastedTextIsFilteredLikeTypedKeysAndTheSpinnerHasItsOwnStep) {
  const NumericFieldModel shells(*FindKey(SectionId::Fireworks, "FireWorks"));
  PasteFilter pasted = shells.FilterPaste(u"", {}, u"abc-1");
  EXPECT_EQ(pasted.accepted, u"1");
  EXPECT_EQ(pasted.refused, 4);
  const NumericFieldModel focal(*FindKey(SectionId::General, "FocalLength"));
  pasted = focal.FilterPaste(u"2.5", {0, 3}, u"1.5.2");
  EXPECT_EQ(pasted.accepted, u"1.52");
  EXPECT_EQ(pasted.refused, 1);
  EXPECT_TRUE(focal.AcceptsChar(u"1.52", {1, 1}, u'.'));
  EXPECT_FALSE(focal.AcceptsChar(u"1.52", {2, 1}, u'.'));
  EXPECT_FALSE(shells.AcceptsChar(u"", {}, u'\u0663'));  // digits of other scripts are refused

  NumericFieldModel cycle(*FindKey(SectionId::Warp, "Warp_CyclePct"));
  cycle.SetText("55");
  cycle.Step(+1, cycle.SpinStep());
  EXPECT_EQ(cycle.Text(), "56");
  EXPECT_FALSE(NumericFieldModel(*FindKey(SectionId::Fireworks, "FireSymmetry")).HasSpinner());
  EXPECT_EQ(RangeCaption("Speed", *FindKey(SectionId::Starfield, "Star_Speed")), "Speed (0.0001 - 1):");
}

class FormStore : public ::testing::Test {
 protected:
  std::string Stored(std::string_view section, std::string_view key) const {
    return store.GetSettingString(kAppName, section, key, "<missing>");
  }
  std::string FileText() const { return test::ReadFile(store.FileFor(0)); }
  test::TempDir dir;
  SettingsStore store{dir.path()};
};

using AdvancedForm = FormStore;

// A stored 0 shows the factory 1000 frames with cycling off and goes back as 0; no cycling and
// no effect writes an empty mask.
TEST_F(AdvancedForm, OkWritesZeroFramesWhenNotCycling) {
  for (const bool clearMask : {false, true}) {
    store.RegSetString(kAppName, "Advanced", "Adv_EffectFPC", clearMask ? "2500" : "0");
    AdvancedFormModel form(store, "Hello");
    EXPECT_EQ(form.field(AdvancedFormModel::kEffectFPC).Text(), clearMask ? "2500" : "1000");
    EXPECT_EQ(form.Cycling(), clearMask);
    form.SetCycling(false);
    if (clearMask) form.SetPickMask(0);
    EXPECT_EQ(form.Ok(), AdvancedFormModel::OkResult::Saved);
    EXPECT_EQ(Stored("Advanced", "Adv_EffectFPC"), "0");
    EXPECT_EQ(Stored("Advanced", "Adv_PickQSRN"), clearMask ? "0" : "189");
    EXPECT_EQ(Stored("Advanced", "Adv_FontName"), "MS Sans Serif");
    EXPECT_EQ(Stored("Advanced", "Adv_WinResize"), "0");
    EXPECT_EQ(form.Message(), "Hello");
  }
}

TEST_F(AdvancedForm, CyclingWithNoEffectAsksForOneAndWritesNothing) {
  AdvancedFormModel form(store, "");
  form.SetCycling(true);
  form.SetPickMask(64 | 128);  // the theme boxes bring their effects back
  EXPECT_EQ(form.PickMask(), 64 | 128 | 1 | 32);
  for (int box = 0; box < AdvancedFormModel::kBoxCount; ++box) form.SetEffectChecked(box, false);
  EXPECT_EQ(form.Ok(), AdvancedFormModel::OkResult::NoEffect);
  EXPECT_EQ(AdvancedFormModel::OkMessage(AdvancedFormModel::OkResult::NoEffect),
            "Please select one or more Effects.");
  EXPECT_FALSE(std::filesystem::exists(store.FileFor(0)));
}

struct Pairing {
  int toggled;
  bool on;
  int partner;
  bool partnerAfter;
};

class AdvancedPairings : public FormStore, public ::testing::WithParamInterface<Pairing> {};

TEST_P(AdvancedPairings, ThemeBoxesFollowTheirEffect) {
  const Pairing& p = GetParam();
  AdvancedFormModel form(store, "");
  form.SetEffectChecked(p.partner, !p.partnerAfter);
  form.SetEffectChecked(p.toggled, !p.on);
  form.SetEffectChecked(p.toggled, p.on);
  EXPECT_EQ(form.EffectChecked(p.partner), p.partnerAfter);
}

INSTANTIATE_TEST_SUITE_P(Boxes, AdvancedPairings,
                         ::testing::Values(Pairing{7, true, 5, true}, Pairing{5, false, 7, false},
                                           Pairing{6, true, 0, true}, Pairing{0, false, 6, false}));

// The captions show the catalogue's ranges; Defaults puts the factory values in the fields only,
// and a form closed without OK writes nothing.
TEST_F(AdvancedForm, CaptionsDefaultsAndCancel) {
  std::vector<std::string> captions;
  for (int f = 0; f < AdvancedFormModel::kFieldCount; ++f) captions.push_back(AdvancedFormModel::Caption(f));
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "Dela&y in Milliseconds (0 - 999):", "Frames per &Effect (100 - 30000):",
                          "&Performance Multiplier (0.1 - 9.9):", "&Initial Hue Value: (0 - 359):", "Si&ze:",
                          "H&ue (0 - 359):"}));
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "70");
  store.RegSetString(kAppName, "Advanced", "Adv_EffectFPC", "700");
  store.RegSetString(kAppName, "Advanced", "Adv_FontName", "Serif");
  store.RegSetString(kAppName, "Advanced", "Adv_WinResize", "1");
  const std::string before = FileText();
  AdvancedFormModel form(store, "Hi");
  EXPECT_EQ(form.field(AdvancedFormModel::kTimeDelay).Text(), "70");
  EXPECT_TRUE(form.Resizable());
  form.field(AdvancedFormModel::kHueStart).SetText("90");
  form.Defaults();
  std::vector<std::string> texts;
  for (int f = 0; f < AdvancedFormModel::kFieldCount; ++f) texts.push_back(form.field(f).Text());
  EXPECT_EQ(texts, (std::vector<std::string>{"25", "1000", "1.0", "0", "20", "180"}));
  EXPECT_EQ(form.PickMask(), 189);
  EXPECT_FALSE(form.Cycling() || form.Resizable());
  EXPECT_EQ(form.FontName(), "MS Sans Serif");
  EXPECT_EQ(form.PreviewText(), "Quasarine");
  EXPECT_EQ(FileText(), before);
}

class CountingPlayer : public SoundPlayer {
 public:
  void Play(const std::string& fileName) override { played.push_back(fileName); }
  std::vector<std::string> played;
};

using SoundForm = FormStore;

// The box reaches its slot (trimmed) when another slot is chosen, and the current one on OK.
TEST_F(SoundForm, OkSavesTheTypedNameIntoTheCurrentSlot) {
  store.RegSetString(kAppName, "SoundFX", "Fire_Launch", "/old/launch.wav");
  SoundFormModel form(store);
  form.SelectSlot(3);
  form.SetFileText("  /sounds/jet.wav ");
  form.SelectSlot(0);
  EXPECT_EQ(form.FileText(), "/old/launch.wav");
  form.SetFileText("/sounds/new-launch.wav");
  EXPECT_TRUE(form.Ok());
  EXPECT_EQ(Stored("SoundFX", "Fire_JetBurst"), "/sounds/jet.wav");
  EXPECT_EQ(Stored("SoundFX", "Fire_Launch"), "/sounds/new-launch.wav");
  EXPECT_EQ(Stored("SoundFX", "SoundFX_ON"), "0");
  EXPECT_EQ(Stored("SoundFX", "Fire_Twister"), "");
}

// Play and Browse need a slot; Play passes the name untrimmed and never a blank one, whatever the
// switch; a cancelled file dialog keeps the name; our own sounds fill every slot.
TEST_F(SoundForm, PlayPickAndOurSounds) {
  SoundFormModel form(store);
  EXPECT_FALSE(form.SlotSelected());
  EXPECT_EQ(SoundFormModel::NoSlotMessage(), "Please select an Effect Type.");
  CountingPlayer player;
  form.SelectSlot(2);
  form.SetFileText("   ");
  form.Play(&player);
  form.SetFileText(" /s/multi.wav");
  form.Play(&player);
  form.Play(nullptr);
  EXPECT_EQ(player.played, std::vector<std::string>{" /s/multi.wav"});
  form.PickedFile("");
  EXPECT_EQ(form.FileText(), " /s/multi.wav");
  SoundFormModel::Files ours;
  EXPECT_FALSE(form.UseProgramSounds(ours));
  for (int i = 0; i < kSoundSlotCount; ++i)
    ours[static_cast<size_t>(i)] = "/ours/" + std::to_string(i) + ".wav";
  EXPECT_TRUE(form.UseProgramSounds(ours));
  EXPECT_EQ(form.FileText(), "/ours/2.wav");
  EXPECT_EQ(form.SlotKey(), "Fire_MultiBurst");
}

TEST_F(SoundForm, DefaultsTurnSoundOffAndKeepTheNamesCancelKeepsTheStore) {
  store.RegSetString(kAppName, "SoundFX", "SoundFX_ON", "1");
  store.RegSetString(kAppName, "SoundFX", "Fire_Sparkle", "/s/sparkle.wav");
  const std::string before = FileText();
  {
    SoundFormModel form(store);
    EXPECT_TRUE(form.SlotsEnabled());
    form.Defaults();
    EXPECT_FALSE(form.SoundOn() || form.SlotsEnabled());
    EXPECT_EQ(form.files()[5], "/s/sparkle.wav");
  }
  EXPECT_EQ(FileText(), before);
}

}  // namespace
}  // namespace qsrn
