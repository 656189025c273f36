// Formatting the settings record, field by field, from the catalogue.
#include "settings/record_text.h"

#include "settings/catalogue.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

using S = EffectSettings;

std::string FieldText(const S& s, const FieldRef& field) {
  return std::visit(
      [&](auto member) -> std::string {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, std::monostate>) return {};
        else if constexpr (std::is_same_v<M, float S::*>) return FormatSingle(s.*member);
        else if constexpr (std::is_same_v<M, bool S::*>) return s.*member ? "True" : "False";
        else if constexpr (std::is_same_v<M, std::string S::*>) return s.*member;
        else return std::to_string(s.*member);
      },
      field);
}

void Line(std::string& out, std::string_view name, std::string_view value) {
  out += name;
  out += '=';
  out += value;
  out += '\n';
}

std::string Floats(const std::vector<float>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    text += FormatSingle(values[i]);
  }
  return text;
}

}  // namespace

std::string FormatSettingsRecord(const S& s) {
  std::string out;
  for (const NamedField& f : SharedFields()) Line(out, f.name, FieldText(s, f.field));
  for (const SectionSpec& sec : Catalogue()) {
    for (const KeySpec& k : sec.keys) {
      if (std::holds_alternative<std::monostate>(k.field) || IsSharedField(k.field)) continue;
      Line(out, k.key, FieldText(s, k.field));
      if (k.field == FieldRef(&S::FocalLength)) Line(out, "FocalLengthInverse", FormatSingle(s.FocalLengthInverse));
    }
    if (sec.id == SectionId::Fireworks) {
      Line(out, "FireKnotX", Floats(s.FireKnotX));
      Line(out, "FireKnotY", Floats(s.FireKnotY));
      Line(out, "FireKnotZ", Floats(s.FireKnotZ));
    } else if (sec.id == SectionId::Galaxy) {
      Line(out, "GalaxyPlane", std::to_string(s.GalaxyPlane));
    } else if (sec.id == SectionId::SoundFX) {
      Line(out, SoundSwitchKey().key, s.SoundFX_ON ? "True" : "False");
      for (size_t i = 0; i < s.SoundFiles.size(); ++i)
        Line(out, "SoundFiles(" + std::to_string(i) + ")", s.SoundFiles[i]);
    }
  }
  return out;
}

}  // namespace qsrn
