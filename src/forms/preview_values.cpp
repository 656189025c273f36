// The live preview's values; see preview_values.h.
#include "forms/preview_values.h"

#include <string>

#include "settings/dialog_values.h"

namespace qsrn {

void OverlayPreviewValues(SettingsStore& shown, const SettingsStore& real, const FieldTexts& texts,
                          EffectIndex effect) {
  FieldTexts values = texts;
  values[std::string(AnimationTypeKey().key)] = std::to_string(static_cast<int>(effect));
  KeyTexts advanced = FactoryAdvancedTexts();
  for (auto& [key, text] : advanced) text = real.GetSettingString(kAppName, "Advanced", key, text);
  OverlayFieldTexts(shown, values, advanced);
}

}  // namespace qsrn
