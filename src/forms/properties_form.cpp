// The properties form; see properties_form.h.
#include "forms/properties_form.h"

#include <array>

#include "forms/properties_pages.h"
#include "forms/properties_rules.h"
#include "settings/dialog_values.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

std::string NotSaved(const std::string& why) {
  return "The settings could not be saved: " + why + ". Your changes are still in this window.";
}

std::string TemplateReadMessage(TemplateRead read, const std::string& file) {
  switch (read) {
    case TemplateRead::Ok:
      break;
    case TemplateRead::Missing:
      return "The template " + file + " does not exist.";
    case TemplateRead::NotAFile:
      return file + " is not a file, so it cannot be opened as a template.";
    case TemplateRead::Unreadable:
      return "The template " + file + " could not be read.";
    case TemplateRead::TooLarge:
      return "The template " + file + " is larger than 1 MB, more than any template holds, so nothing was changed.";
    case TemplateRead::NotATemplate:
      return file + " is not a Quasarine template, so nothing was changed.";
  }
  return {};
}

}  // namespace

PropertiesForm::PropertiesForm(SettingsStore& store) : store_(store) {
  // Before anything is loaded: empty text fields, boxes unchecked, lists at their first item.
  for (const DialogKey& d : DialogKeys())
    texts_.emplace(d.key->key, IsCheckKey(*d.key) || IsListKey(*d.key) ? "0" : "");
}

std::string PropertiesForm::Open() {
  std::string message;
  if (store_.GetSettingInt(kAppName, "General", AnimationTypeKey().key, -1) == -1) {
    // First start: the store receives the complete factory set, in one commit, before anything
    // is shown.
    SetTexts(FactoryFieldTexts());
    if (!SaveFieldTexts(store_, texts_, FactoryAdvancedTexts())) message = "The factory settings could not be stored.";
  }
  SetTexts(StoredFieldTexts(store_));
  return message;
}

const std::string& PropertiesForm::Text(std::string_view key) const {
  static const std::string kNone;  // constant: a key the form does not show reads as empty
  const auto it = texts_.find(key);
  return it != texts_.end() ? it->second : kNone;
}

void PropertiesForm::Edit(std::string_view key, std::string_view text) {
  if (key == AnimationTypeKey().key) {
    SelectEffect(static_cast<EffectIndex>(CInt(Val(text))));
    return;
  }
  const auto it = texts_.find(key);
  if (it == texts_.end()) return;
  it->second = text;
  if (changeGuard_) return;
  changeGuard_ = true;
  ApplyCrossFieldRules(key, {[this](std::string_view k) { return Number(k); },
                             [this](std::string_view k, double v) { SetNumber(k, v); }});
  changeGuard_ = false;
}

void PropertiesForm::SetTexts(const FieldTexts& texts) {
  const bool guard = changeGuard_;
  changeGuard_ = true;
  for (const auto& [key, text] : texts) {
    const DialogKey* d = FindDialogKey(key);
    if (d == nullptr) continue;
    if (IsCheckKey(*d->key)) {
      Put(key, Val(text) != 0 ? "1" : "0");
    } else if (IsListKey(*d->key)) {
      // A list keeps its choice when the text names no item of it.
      const int index = CInt(Val(text));
      if (index >= 0 && index <= d->key->hi) Put(key, std::to_string(index));
    } else {
      Put(key, text);
    }
  }
  changeGuard_ = guard;
}

EffectIndex PropertiesForm::Effect() const {
  return static_cast<EffectIndex>(CInt(Val(Text(AnimationTypeKey().key))));
}

void PropertiesForm::SelectEffect(EffectIndex effect) {
  const int index = static_cast<int>(effect);
  if (index >= 0 && index < kEffectCount) Put(AnimationTypeKey().key, std::to_string(index));
}

bool PropertiesForm::ColourDistributionEnabled() const { return ColourDistributionApplies(Effect()); }
bool PropertiesForm::PixelSizeEnabled() const { return PixelSizeApplies(Effect()); }

int32_t PropertiesForm::HueSwatch(int field) const {
  static constexpr std::array<std::string_view, 3> kKeys = {"ColorRed", "ColorGrn", "ColorBlu"};
  return HueShareSwatch(field, Number(kKeys.at(static_cast<size_t>(field))));
}

int32_t PropertiesForm::GalaxySwatch() const { return GalaxyHueSwatch(Number("Galaxy_HWheelIdx")); }

FormOutcome PropertiesForm::Accept() {
  if (const auto field = FindUnstorableField(texts_)) {
    const std::string name = "the " + FieldName(field->key) + " field ";
    const std::string why = field->why == UnstorableField::Why::LineBreak
                                ? name + "holds a line break"
                                : name + "is longer than " + std::to_string(SettingsStore::kMaxValueBytes) + " bytes";
    return {false, NotSaved(why), field->key};
  }
  if (SaveFieldTexts(store_, texts_)) return {};
  return {false, NotSaved(store_.LastError()), {}};
}

std::string_view PropertiesForm::ResetQuestion() {
  return "Do you really want to reset the Properties back to the factory settings?";
}

std::string_view PropertiesForm::Title() { return "Quasarine"; }

FormOutcome PropertiesForm::Reset() {
  SetTexts(FactoryFieldTexts());
  if (SaveAdvancedTexts(store_, FactoryAdvancedTexts())) return {};
  return {false, "The factory advanced settings could not be stored.", {}};
}

FormOutcome PropertiesForm::ReadTemplate(const std::string& file) {
  FieldTexts texts;
  KeyTexts advanced;
  const TemplateRead read = ReadTemplateTexts(file, texts, advanced);
  if (read != TemplateRead::Ok) return {false, TemplateReadMessage(read, file), {}};
  currentTemplate_ = file;
  SetTexts(texts);
  if (SaveAdvancedTexts(store_, advanced)) return {};
  // The fields show the template all the same.
  return {true, "The template's advanced settings could not be stored.", {}};
}

FormOutcome PropertiesForm::WriteTemplate(const std::string& file) {
  if (!WriteTemplateTexts(file, texts_, store_)) return {false, "The template " + file + " could not be saved.", {}};
  currentTemplate_ = file;
  return {};
}

void PropertiesForm::ApplyTheme(SectionId effect, int theme) {
  const FieldTexts texts = ThemeFieldTexts(effect, theme);
  if (!texts.empty()) SetTexts(texts);
}

double PropertiesForm::Number(std::string_view key) const { return Val("0" + Text(key)); }

// A rule's result; the field keeps its text when it already says so.
void PropertiesForm::SetNumber(std::string_view key, double value) {
  if (Number(key) != value) Put(key, FormatNumber(value));
}

void PropertiesForm::Put(std::string_view key, std::string text) {
  const auto it = texts_.find(key);
  if (it == texts_.end()) return;
  it->second = std::move(text);
  Changed(key);
}

void PropertiesForm::Changed(std::string_view key) const {
  if (listener_) listener_(key);
}

}  // namespace qsrn
