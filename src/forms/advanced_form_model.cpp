// The advanced settings dialog's behaviour; see advanced_form_model.h.
#include "forms/advanced_form_model.h"

#include <algorithm>

#include "effects/engine.h"
#include "effects/loaders.h"
#include "render/color.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/store.h"

namespace qsrn {

namespace {

constexpr int kFireworksBox = static_cast<int>(EffectIndex::Fireworks);
constexpr int kGalaxiesBox = static_cast<int>(EffectIndex::Galaxies);
constexpr int32_t kEffectBits = (1 << kEffectCount) - 1;  // the theme bits alone cycle nothing

struct FieldRow {
  const char* key;
  const char* caption;
  bool ranged;  // the caption shows the range
};

// In AdvancedFormModel::Field order.
constexpr FieldRow kFields[AdvancedFormModel::kFieldCount] = {
    {"Adv_TimeDelay", "Dela&y in Milliseconds", true},
    {"Adv_EffectFPC", "Frames per &Effect", true},
    {"Adv_PerfMult", "&Performance Multiplier", true},
    {"Adv_HueStart", "&Initial Hue Value:", true},
    {"Adv_FontSize", "Si&ze:", false},
    {"Adv_FontHueV", "H&ue", true},
};

constexpr std::string_view kEffectCaptions[kEffectCount] = {
    "&Fireworks / All Themes:",  "&Starfield:",
    "B-Spline &Warp:",           "B-Spline Spar&klers:",
    "Stars and &Gravity Wells:", "Ga&laxies / All Themes:"};

const KeySpec& FieldKey(int f) { return *FindKey(SectionId::Advanced, kFields[f].key); }
const KeySpec& FontKey() { return *FindKey(SectionId::Advanced, "Adv_FontName"); }

std::string Stored(const SettingsStore& store, const KeySpec& key) {
  return store.GetSettingString(kAppName, Section(SectionId::Advanced).name, key.key, key.def);
}

std::array<NumericFieldModel, AdvancedFormModel::kFieldCount> MakeFields() {
  return {NumericFieldModel(FieldKey(0)), NumericFieldModel(FieldKey(1)), NumericFieldModel(FieldKey(2)),
          NumericFieldModel(FieldKey(3)), NumericFieldModel(FieldKey(4)), NumericFieldModel(FieldKey(5))};
}

}  // namespace

AdvancedFormModel::AdvancedFormModel(SettingsStore& store, std::string message)
    : store_(store), fields_(MakeFields()), message_(std::move(message)) {
  for (int f : {kTimeDelay, kPerfMult, kHueStart, kFontSize, kFontHueV})
    field(f).SetText(Stored(store_, FieldKey(f)));
  // A stored 0 (or any value below one frame) means no cycling; the field then offers the factory value.
  const std::string frames = Stored(store_, FieldKey(kEffectFPC));
  cycling_ = Val(frames) >= 1;
  field(kEffectFPC).SetText(cycling_ ? frames : std::string(FieldKey(kEffectFPC).FactoryText()));
  SetPickMask(ReadPickMask(store_));
  fontName_ = Stored(store_, FontKey());
  resizable_ = ReadWinResize(store_);
}

std::string AdvancedFormModel::Caption(int f) {
  return kFields[f].ranged ? RangeCaption(kFields[f].caption, FieldKey(f)) : kFields[f].caption;
}

std::string_view AdvancedFormModel::EffectCaption(int box) {
  return box < kEffectCount ? kEffectCaptions[box] : "/";
}

void AdvancedFormModel::SetEffectChecked(int box, bool on) {
  pickMask_ = on ? pickMask_ | (1 << box) : pickMask_ & ~(1 << box);
  if (box == kFireworksBox && !on) SetEffectChecked(kFireworksThemes, false);
  if (box == kFireworksThemes && on) SetEffectChecked(kFireworksBox, true);
  if (box == kGalaxiesBox && !on) SetEffectChecked(kGalaxyThemes, false);
  if (box == kGalaxyThemes && on) SetEffectChecked(kGalaxiesBox, true);
}

void AdvancedFormModel::SetPickMask(int32_t mask) {
  // The themes' boxes last, so that the pairings cannot undo a bit set just before.
  for (int box = 0; box < kBoxCount; ++box) SetEffectChecked(box, (mask >> box) & 1);
}

int32_t AdvancedFormModel::HueColor(int f) const {
  // The wheel folds any whole number; a huge one typed in must not overflow on the way.
  return HueToRGB(static_cast<int32_t>(Clamp(field(f).Value(), -2147483648.0, 2147483647.0)));
}

std::string AdvancedFormModel::PreviewText() const { return message_.empty() ? "Quasarine" : message_; }

double AdvancedFormModel::PreviewPointSize() const { return std::clamp(field(kFontSize).Value(), 1.0, 80.0); }

void AdvancedFormModel::Defaults() {
  cycling_ = false;
  resizable_ = false;
  for (int f = 0; f < kFieldCount; ++f) field(f).SetText(std::string(FieldKey(f).FactoryText()));
  fontName_ = std::string(FontKey().FactoryText());
  message_.clear();
  SetPickMask(static_cast<int32_t>(Val(PickMaskKey().FactoryText())));
}

AdvancedFormModel::OkResult AdvancedFormModel::Ok() {
  if (cycling_ && (pickMask_ & kEffectBits) == 0) return OkResult::NoEffect;
  SettingsStore::Batch batch(store_);
  const std::string_view section = Section(SectionId::Advanced).name;
  auto set = [&](const KeySpec& key, std::string_view value) { batch.Set(section, key.key, value); };
  set(FieldKey(kTimeDelay), field(kTimeDelay).Text());
  set(FieldKey(kEffectFPC), cycling_ ? field(kEffectFPC).Text() : "0");
  set(PickMaskKey(), std::to_string(pickMask_));
  set(FieldKey(kPerfMult), field(kPerfMult).Text());
  set(FieldKey(kHueStart), field(kHueStart).Text());
  set(FontKey(), fontName_);
  set(FieldKey(kFontSize), field(kFontSize).Text());
  set(FieldKey(kFontHueV), field(kFontHueV).Text());
  set(WinResizeKey(), resizable_ ? "1" : "0");
  return batch.Commit() ? OkResult::Saved : OkResult::NotSaved;
}

std::string_view AdvancedFormModel::OkMessage(OkResult result) {
  switch (result) {
    case OkResult::NoEffect:
      return "Please select one or more Effects.";
    case OkResult::NotSaved:
      return "The settings could not be saved.";
    case OkResult::Saved:
      break;
  }
  return {};
}

}  // namespace qsrn
