// The values the properties form's live preview runs: the fields as shown (not yet accepted) and
// the real store's Advanced keys, laid over a store that has no files, so the preview's loaders
// read them and nothing of the user's is ever written.
#pragma once

#include "effects/engine.h"
#include "settings/template_fields.h"

namespace qsrn {

void OverlayPreviewValues(SettingsStore& shown, const SettingsStore& real, const FieldTexts& texts,
                          EffectIndex effect);

}  // namespace qsrn
