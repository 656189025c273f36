// The properties dialog's values before they are stored: the first one no store could keep, and
// why (so Accept can name it); and all of them laid over a store in memory, which is how the live
// preview's loaders read them without a file being written.
#pragma once

#include <optional>
#include <string>

#include "settings/store.h"
#include "settings/template_fields.h"

namespace qsrn {

struct UnstorableField {
  enum class Why { LineBreak, TooLong };
  std::string key;
  Why why;
};

// The first dialog key (in DialogKeys order) whose stored text would be refused by the store.
std::optional<UnstorableField> FindUnstorableField(const FieldTexts& texts);

// Every dialog key's stored text and the Advanced keys given, as overrides of store: read in
// place of its files, never written. A value no store could keep is left out.
void OverlayFieldTexts(SettingsStore& store, const FieldTexts& texts, const KeyTexts& advanced);

}  // namespace qsrn
