// The settings record as text: every field as Name=value, one per line, in catalogue order
// (the shared working fields first, derived fields beside the field they come from), numbers
// as their shortest decimal text. Shows what the saver will use.
#pragma once

#include <string>

#include "settings/effect_settings.h"

namespace qsrn {

std::string FormatSettingsRecord(const EffectSettings& s);

}  // namespace qsrn
