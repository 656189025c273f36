// The properties form without a display: the first start, Accept (what is stored, and the
// failures named), the rules between fields and per effect, Reset, templates and themes, and the
// values the preview runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "forms/preview_run.h"
#include "forms/preview_values.h"
#include "forms/properties_form.h"
#include "render/color.h"
#include "render/surface.h"
#include "settings/ini_file.h"
#include "settings/templates.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

class PropertiesFormTest : public ::testing::Test {
 protected:
  std::string Stored(std::string_view section, std::string_view key) const {
    return store.GetSettingString(kAppName, section, key, "<missing>");
  }
  PropertiesForm& Form() {
    if (!form) {
      form = std::make_unique<PropertiesForm>(store);
      form->OnChange([this](std::string_view key) { changed.emplace_back(key); });
      opened = form->Open();
    }
    return *form;
  }

  test::TempDir home;
  SettingsStore store{home.path() / "settings"};
  std::unique_ptr<PropertiesForm> form;
  std::string opened;
  std::vector<std::string> changed;
};

TEST_F(PropertiesFormTest, FirstStartWritesTheFactorySet) {
  Form();
  EXPECT_EQ(opened, "");
  for (const DialogKey& d : DialogKeys()) EXPECT_EQ(Stored(d.section, d.key->key), StoredText(*d.key, d.key->FactoryText())) << d.key->key;
  EXPECT_EQ(Stored("Advanced", "Adv_EffectFPC"), "1000");
  EXPECT_EQ(Stored("Advanced", "Adv_FontName"), "MS Sans Serif");
  EXPECT_EQ(Form().Texts(), FactoryFieldTexts());
}

// (Cancel writing nothing is the end-to-end test's.)
TEST_F(PropertiesFormTest, AcceptWritesWhatTheFieldsShow) {
  store.RegSetString(kAppName, "General", "AnimationType", "5");
  EXPECT_EQ(Form().Effect(), EffectIndex::Galaxies);
  EXPECT_EQ(Stored("Galaxy", "Galaxy_Stars"), "<missing>");  // not a first start
  Form().Edit("FireBurstShell", "0");
  Form().Edit("Warp_Type", "2");
  Form().Edit("LockMessage", "  hello  ");
  Form().Edit("Galaxy_Stars", "250");
  EXPECT_TRUE(Form().Accept().ok);
  EXPECT_EQ(Stored("Galaxy", "Galaxy_Stars"), "250");
  EXPECT_EQ(Stored("Fireworks", "FireBurstShell"), "0");
  EXPECT_EQ(Stored("B-SplineWarp", "Warp_Type"), "2");
  EXPECT_EQ(Stored("General", "LockMessage"), "hello");
  EXPECT_EQ(Stored("General", "AnimationType"), "5");
  EXPECT_EQ(Stored("Fireworks", "FirePersist"), "0.95");
}

// Each rule's result reaches the view; the field just edited keeps what the user typed.
TEST_F(PropertiesFormTest, ShellsCapTheSparksAndTheSharesGiveWay) {
  Form().Edit("FireWorks", "99");
  EXPECT_EQ(Form().Text("FireSparks"), "303");
  EXPECT_EQ(changed.back(), "FireSparks");
  Form().Edit("FireScintPct", "50");
  Form().Edit("FireMultiPct", "50");
  Form().Edit("FireBurstPct", "30");
  EXPECT_EQ(Form().Text("FireScintPct"), "50");
  EXPECT_EQ(Form().Text("FireMultiPct"), "20");
  for (const char* key : {"FireSparkPct", "FireRingPct", "FireTwistPct", "FireDecayPct"}) EXPECT_EQ(Form().Text(key), "0");
  Form().Edit("FirePatternPct", "95");
  EXPECT_EQ(Form().Text("FireSplinePct"), "5");
  Form().Edit("Warp_Works", "999");
  EXPECT_EQ(Form().Text("Warp_Sparks"), "30");
  Form().Edit("Star_Dyson_Percent", "70");
  EXPECT_EQ(Form().Text("Star_Comet_Percent"), "30");
  Form().Edit("ColorHueWheel", "400");
  EXPECT_EQ(Form().Text("ColorHueWheel"), "360");
  // A template's texts go in as they are: no rule runs.
  Form().SetTexts({{"FireWorks", "99"}, {"FireSparks", "9999"}, {"Warp_Type", "7"}, {"FixedHues", "5"}});
  EXPECT_EQ(Form().Text("FireSparks"), "9999");
  EXPECT_EQ(Form().Text("Warp_Type"), "4");  // no such item: the list keeps its choice
  EXPECT_EQ(Form().Text("FixedHues"), "1");
}

TEST_F(PropertiesFormTest, EachEffectEnablesItsSharedFramesAndTheSwatchesFollowTheShares) {
  const std::tuple<EffectIndex, bool, bool> effects[] = {
      {EffectIndex::Fireworks, true, false}, {EffectIndex::Starfield, false, false},
      {EffectIndex::Warp, true, true},       {EffectIndex::Sparklers, true, true},
      {EffectIndex::GravityWells, false, true}, {EffectIndex::Galaxies, false, true}};
  for (const auto& [effect, colours, pixels] : effects) {
    Form().SelectEffect(effect);
    EXPECT_EQ(changed.back(), "AnimationType");
    EXPECT_EQ(Form().ColourDistributionEnabled(), colours) << static_cast<int>(effect);
    EXPECT_EQ(Form().PixelSizeEnabled(), pixels) << static_cast<int>(effect);
  }
  Form().Edit("ColorGrn", "100");
  Form().Edit("ColorBlu", "");
  EXPECT_EQ(Form().HueSwatch(1), RGB(0, 255, 0));
  EXPECT_EQ(Form().HueSwatch(2), RGB(0, 0, 55));
  Form().Edit("Galaxy_HWheelIdx", "0");
  EXPECT_EQ(Form().GalaxySwatch(), HueToRGB(0));
}

// Reset puts the factory values into the fields and the Advanced factory values into the store;
// the fields reach the store only on Accept.
TEST_F(PropertiesFormTest, ResetChangesTheFieldsAndTheAdvancedKeysOnly) {
  EXPECT_EQ(PropertiesForm::ResetQuestion(), "Do you really want to reset the Properties back to the factory settings?");
  Form().Edit("FireWorks", "9");
  ASSERT_TRUE(Form().Accept().ok);
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "70");
  EXPECT_TRUE(Form().Reset().ok);
  EXPECT_EQ(Form().Text("FireWorks"), "20");
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "25");
  EXPECT_EQ(Stored("Fireworks", "FireWorks"), "9");
}

TEST_F(PropertiesFormTest, TemplateRoundTripKeepsForeignLinesAndStoresItsAdvancedKeys) {
  const std::string file = (home / "look.qsn").string();
  std::ofstream(file) << "; mine\n[Extra]\nKeep=1\n[Fireworks]\nFireWorks=3\nMyKey=x\n";
  Form().Edit("FixedHues", "1");
  Form().Edit("FireWorks", "7");
  Form().Edit("Star_Speed", "0.25");
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40");
  EXPECT_TRUE(Form().NeedsTemplateName(false));
  ASSERT_TRUE(Form().WriteTemplate(file).ok);
  EXPECT_FALSE(Form().NeedsTemplateName(false));  // "Save Template" writes it again
  EXPECT_TRUE(Form().NeedsTemplateName(true));
  const FieldTexts written = Form().Texts();
  const IniDocument doc = ReadIniFile(file);
  EXPECT_EQ(doc.Get("Extra", "Keep").value_or(""), "1");
  EXPECT_EQ(doc.Get("Fireworks", "MyKey").value_or(""), "x");
  EXPECT_EQ(doc.Get("Advanced", "Adv_TimeDelay").value_or(""), "40");

  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "10");
  Form().Reset();
  const FormOutcome read = Form().ReadTemplate(file);
  EXPECT_TRUE(read.ok && read.message.empty());
  EXPECT_EQ(Form().Texts(), written);
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "40");
  EXPECT_EQ(Form().CurrentTemplate(), file);
}

TEST_F(PropertiesFormTest, AThemePickEqualsOpeningThatThemesTemplate) {
  for (const auto& [effect, theme] : {std::pair{SectionId::Fireworks, 4}, std::pair{SectionId::Galaxy, 9}}) {
    Form().Reset();
    Form().ApplyTheme(effect, theme);
    const FieldTexts picked = Form().Texts();
    Form().ApplyTheme(effect, 0);  // "< NONE >"
    EXPECT_EQ(Form().Texts(), picked);

    // The factory set with the theme's values in the effect's section.
    const std::string file = (home / "theme.qsn").string();
    Form().Reset();
    ASSERT_TRUE(Form().WriteTemplate(file).ok);
    for (const auto& [key, text] : ThemeFieldTexts(effect, theme)) IniPutString(file, Section(effect).name, key, text);
    ASSERT_TRUE(Form().ReadTemplate(file).ok);
    EXPECT_EQ(Form().Texts(), picked);
    EXPECT_NE(picked, FactoryFieldTexts());
  }
}

TEST_F(PropertiesFormTest, AnUnreadableTemplateChangesNothingAndSaysWhy) {
  std::ofstream(home / "binary.qsn") << std::string("\x7f" "ELF\0\0[x]", 9);
  std::ofstream(home / "prose.qsn") << "just some words\n";
  Form().Edit("FireWorks", "9");
  const FieldTexts before = Form().Texts();
  const std::string dir = home.path().string() + "/";
  const std::pair<std::string, std::string> cases[] = {
      {"missing.qsn", "The template " + dir + "missing.qsn does not exist."},
      {"binary.qsn", dir + "binary.qsn is not a Quasarine template, so nothing was changed."},
      {"prose.qsn", dir + "prose.qsn is not a Quasarine template, so nothing was changed."},
      {"", dir + " is not a file, so it cannot be opened as a template."}};
  for (const auto& [name, message] : cases) {
    const FormOutcome read = Form().ReadTemplate(dir + name);
    EXPECT_FALSE(read.ok) << name;
    EXPECT_EQ(read.message, message);
    EXPECT_EQ(Form().Texts(), before);
    EXPECT_EQ(Form().CurrentTemplate(), "");
  }
}

// Each failed Accept says why (naming the field the store cannot keep) and keeps the edits.
TEST_F(PropertiesFormTest, AFailedAcceptOrTemplateSaveIsReportedAndKeepsTheEdits) {
  Form().Edit("FireWorks", "9");
  const std::string failed = "The settings could not be saved: ", kept = ". Your changes are still in this window.";
  const std::pair<std::string, std::string> unstorable[] = {{"two\nlines", "the Message field holds a line break"},
                                                            {std::string(4097, 'x'), "the Message field is longer than 4096 bytes"}};
  for (const auto& [text, why] : unstorable) {
    Form().Edit("LockMessage", text);
    const FormOutcome saved = Form().Accept();
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.message, failed + why + kept);
    EXPECT_EQ(saved.field, "LockMessage");
    EXPECT_EQ(Form().Text("LockMessage"), text);
    EXPECT_EQ(Stored("Fireworks", "FireWorks"), "20");
  }
  Form().Edit("LockMessage", "one line");
  // The store's folder is now a file: nothing can be written there.
  std::filesystem::remove_all(store.Directory());
  std::ofstream(store.Directory()) << "not a folder";
  const FormOutcome saved = Form().Accept();
  EXPECT_FALSE(saved.ok);
  EXPECT_TRUE(saved.message.starts_with(failed + "cannot create ") && saved.message.ends_with(kept)) << saved.message;
  EXPECT_EQ(Form().Text("FireWorks"), "9");

  const std::string nowhere = (home / "no" / "such.qsn").string();
  const FormOutcome written = Form().WriteTemplate(nowhere);
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(written.message, "The template " + nowhere + " could not be saved.");
  EXPECT_EQ(Form().CurrentTemplate(), "");
}

// The preview reads the shown values and the real Advanced keys from memory: nothing is written.
TEST_F(PropertiesFormTest, ThePreviewRunsTheShownValuesAndWritesNothing) {
  Form().Edit("FireWorks", "5");
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40");
  const auto stored = std::filesystem::last_write_time(store.FileFor(0));
  SettingsStore shown{std::filesystem::path()};
  OverlayPreviewValues(shown, store, Form().Texts(), EffectIndex::Warp);
  EXPECT_EQ(shown.GetSettingString(kAppName, "Fireworks", "FireWorks", ""), "5");
  EXPECT_EQ(shown.GetSettingString(kAppName, "General", "AnimationType", ""), "2");
  EXPECT_EQ(shown.GetSettingString(kAppName, "Advanced", "Adv_TimeDelay", ""), "40");
  EXPECT_EQ(Stored("Fireworks", "FireWorks"), "20");
  EXPECT_EQ(std::filesystem::last_write_time(store.FileFor(0)), stored);

  // It draws the shown effect, one frame per call, paced at the frame delay (20 ms at least).
  int presented = 0;
  PreviewRun run([&] { ++presented; });
  EXPECT_EQ(run.Start(store, Form().Texts(), EffectIndex::Warp, 80, 60, 1), 40);
  for (int i = 0; i < 30; ++i) run.Frame();
  EXPECT_EQ(presented, 30);
  const Surface& drawn = run.surface();
  EXPECT_TRUE(std::any_of(drawn.Pixels(), drawn.Pixels() + drawn.Width() * drawn.Height(), [](uint32_t p) { return p != 0; }));
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "5");
  EXPECT_EQ(run.Start(store, Form().Texts(), EffectIndex::Warp, 80, 60, 1), 20);
}

}  // namespace
}  // namespace qsrn
