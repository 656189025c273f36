// The properties dialog's values as texts, one per key it edits, and the ways they travel:
// factory values, the store (read, and written back as one commit), template files (read without
// touching anything when the file is no template; written in place, keeping the sections and
// keys we do not own) and theme presets. The dialog shows these texts; this layer decides what
// text each key is stored as.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/catalogue.h"
#include "settings/store.h"

namespace qsrn {

struct DialogKey {
  std::string_view section;
  const KeySpec* key;
};

// General (AnimationType .. LockMessage), PixelColor, then the six effect sections, each in
// template order. The Advanced keys are not among them: their own dialog edits them.
const std::vector<DialogKey>& DialogKeys();
const DialogKey* FindDialogKey(std::string_view key);

// How a key is shown: a check box, a list (its index) or a text field.
bool IsCheckKey(const KeySpec& k);
bool IsListKey(const KeySpec& k);

// Key name as the catalogue spells it -> the text the dialog shows.
using FieldTexts = std::map<std::string, std::string, std::less<>>;
// Key name -> text, in order (the Advanced keys of a template).
using KeyTexts = std::vector<std::pair<std::string, std::string>>;

// The factory value of every dialog key as stored (Reset Properties, the first start).
FieldTexts FactoryFieldTexts();
// The store's value of every dialog key; a missing or non-numeric value gives the default.
FieldTexts StoredFieldTexts(const SettingsStore& store);
// The text stored (and written to templates) for a field showing text: numbers as their
// shortest decimal text, check boxes "0"/"1", lists their index, the general text keys trimmed.
std::string StoredText(const KeySpec& k, std::string_view text);

// The nine Advanced keys' factory values, in template order.
KeyTexts FactoryAdvancedTexts();
// Accept: every dialog key (and the Advanced keys given) in one commit. False (nothing written)
// when the store refuses.
bool SaveFieldTexts(SettingsStore& store, const FieldTexts& texts, const KeyTexts& advanced = {});
// Advanced keys (Reset Properties, an opened template) in one commit.
bool SaveAdvancedTexts(SettingsStore& store, const KeyTexts& advanced);

enum class TemplateRead { Ok, Missing, NotAFile, Unreadable, TooLarge, NotATemplate };
// Reads a template into texts (every dialog key, defaults for the ones it lacks) and its Advanced
// keys into advanced. Anything but Ok leaves both untouched. A file is a template when it is a
// readable regular text file of INI lines with at least one section, no larger than 1 MB.
TemplateRead ReadTemplateTexts(const std::filesystem::path& file, FieldTexts& texts,
                               KeyTexts& advanced);

// Writes the template layout to file in place (Admin, General, Advanced from the store,
// PixelColor, the effects), keeping every other section and key where it is; atomic. False
// when the file cannot be read whole or replaced.
bool WriteTemplateTexts(const std::filesystem::path& file, const FieldTexts& texts, const SettingsStore& store);

// The texts a theme sets (fireworks 1..13 or galaxy 1..16); empty for any other index.
FieldTexts ThemeFieldTexts(SectionId effect, int theme);

}  // namespace qsrn
