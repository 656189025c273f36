// The settings catalogue: one table per section of the store, each row a key with its type, the
// loader's default, the dialogs' range and steps, the record field it fills, its place in the
// template layout and in a theme preset. The loaders, template import and export, the record
// printout and the dialogs' validation all read these tables, so every key is spelled once, here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/effect_settings.h"

namespace qsrn {

// The type the loader converts the stored text to (a flag is an Integer with a flag trait).
enum class KeyType : uint8_t { Integer, Long, Single, String };

enum KeyTrait : uint16_t {
  kFlagNonZero = 1 << 0,     // Boolean field: true for any stored number other than 0
  kFlagOne = 1 << 1,         // Boolean field: true only for the stored number 1
  kFlagText = 1 << 2,        // Boolean: true only for the exact text "1"
  kClampOnLoad = 1 << 3,     // the loader clamps the value to the range
  kWholeOnly = 1 << 4,       // a Single the dialog accepts in whole numbers only
  kFractionOk = 1 << 5,      // an Integer the dialog accepts with a fraction (the loader rounds)
  kTemplateNumber = 1 << 6,  // a check box or list index: a template's text is read as a number
  kTemplateText = 1 << 7,    // imported from a template as its text, not as its leading number
  kPixelColor = 1 << 8,      // loaded by LoadPixelColorSettings
};

// The record field a key fills; monostate for keys read elsewhere (run loop, windowed display).
using FieldRef = std::variant<std::monostate, int16_t EffectSettings::*, int32_t EffectSettings::*,
                              float EffectSettings::*, bool EffectSettings::*, std::string EffectSettings::*>;

// The steps of a dialog field with a spinner: the spinner's arrows and the Up/Down keys add or
// subtract them within the range. Zero: no spinner, and the arrow keys do nothing.
struct FieldSteps {
  int16_t spin = 0;
  int16_t arrow = 0;  // differs from spin only for the warp's hue lock percent
};

struct KeySpec {
  std::string_view key;
  KeyType type;
  std::string_view def;  // the loader's default as stored text
  double lo, hi;         // the dialogs' range; lo > hi when the key has none
  FieldRef field;
  int8_t templateSlot;   // position in its section of the template layout; -1 when not there
  int8_t themeField;     // field index in a theme preset; -1 when none
  uint16_t traits;
  FieldSteps steps = {};
  std::string_view factory = {};  // the factory value where it differs from def

  bool Has(uint16_t trait) const { return (traits & trait) != 0; }
  bool HasRange() const { return lo <= hi; }
  bool HasSpinner() const { return steps.spin > 0; }
  std::string_view FactoryText() const { return factory.empty() ? def : factory; }
  // Whether the dialog accepts a fraction in this key's field.
  bool AcceptsFraction() const {
    return type == KeyType::Single ? !Has(kWholeOnly) : Has(kFractionOk);
  }
};

enum class SectionId : uint8_t {
  General, Advanced, PixelColor, Fireworks, Starfield, Warp, Sparkler, Gravity, Galaxy, SoundFX
};

struct SectionSpec {
  SectionId id;
  std::string_view name;  // the section of the store and of templates
  std::span<const KeySpec> keys;
};

// Every section, in catalogue order.
std::span<const SectionSpec> Catalogue();
const SectionSpec& Section(SectionId id);
// The row of key in section (names matched without regard to case), or null.
const KeySpec* FindKey(SectionId id, std::string_view key);

// The shared working fields, each filled by whichever effect loader ran last.
struct NamedField {
  std::string_view name;
  FieldRef field;
};
std::span<const NamedField> SharedFields();
bool IsSharedField(const FieldRef& field);

// Rows with no record field, read directly by the run loop, the windowed display and the
// advanced dialog.
const KeySpec& AnimationTypeKey();  // General
const KeySpec& WindowStateKey();    // General
const KeySpec& WindowSizeKey();     // General
const KeySpec& PickMaskKey();       // Advanced: Adv_PickQSRN
const KeySpec& WinResizeKey();      // Advanced

// The nine sound slots: the SoundFX section holds the switch, then one file key per slot.
const KeySpec& SoundSwitchKey();
const KeySpec& SoundFileKey(int slot);  // slot 0..8

}  // namespace qsrn
