// The properties form without a toolkit: the text of every field it edits (by key, as
// template_fields.h spells them), the chosen effect and what it enables, the rules between fields,
// and its operations: opening (the factory set written on the first start), Accept, Reset,
// templates and themes. Stored values go through the settings layer. A view shows the texts,
// hands the user's edits to Edit() and is told through OnChange of every field the form changed
// itself; the messages the user must see come back as UTF-8 text for the view to show.
// Usage:
//   PropertiesForm form(store);
//   form.OnChange([&](std::string_view key) { ShowField(key, form.Text(key)); });
//   if (std::string m = form.Open(); !m.empty()) Warn(m);
//   form.Edit("FireWorks", "99");             // FireSparks becomes 303, and the view hears of it
//   if (auto r = form.Accept(); !r.ok) Warn(r.message);
// Cancel needs nothing from the form: the store is written only by opening on the first start,
// Accept, Reset (Advanced keys) and an opened template (Advanced keys).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "effects/engine.h"
#include "settings/template_fields.h"

namespace qsrn {

// The outcome of an operation the user must hear about when it fails.
struct FormOutcome {
  bool ok = true;
  std::string message;  // empty when there is nothing to say
  std::string field;    // the key of the field to mend, when one is to blame
};

class PropertiesForm {
 public:
  explicit PropertiesForm(SettingsStore& store);

  // Opening: on the first start the store receives the factory set in one commit; then the
  // store's values. The message says the factory set could not be stored.
  std::string Open();

  // Every field's text; AnimationType is the chosen effect's index.
  const std::string& Text(std::string_view key) const;
  FieldTexts Texts() const { return texts_; }
  // The user changed a field: the rules between fields follow (AnimationType: SelectEffect).
  void Edit(std::string_view key, std::string_view text);
  // Put as a template puts them: no rule runs, lists and check boxes keep only what they can show.
  void SetTexts(const FieldTexts& texts);

  EffectIndex Effect() const;
  void SelectEffect(EffectIndex effect);
  bool ColourDistributionEnabled() const;
  bool PixelSizeEnabled() const;
  // The swatches beside the three hue shares (0..2) and the galaxy's initial hue, as RGB.
  int32_t HueSwatch(int field) const;
  int32_t GalaxySwatch() const;

  // Accept: validates and writes every field in one commit; on failure the message names the
  // field the store cannot keep (or says why the store refused) and the texts stay.
  FormOutcome Accept();
  // Reset Properties asks first: the question and the box's title.
  static std::string_view ResetQuestion();
  static std::string_view Title();
  // The factory values into the fields, the Advanced factory values into the store.
  FormOutcome Reset();

  // Template files; the template read or written last is the one "Save Template" writes again.
  FormOutcome ReadTemplate(const std::string& file);
  FormOutcome WriteTemplate(const std::string& file);
  const std::string& CurrentTemplate() const { return currentTemplate_; }
  // "Save Template" asks for a name only when no template was opened or saved yet.
  bool NeedsTemplateName(bool saveAs) const { return saveAs || currentTemplate_.empty(); }
  // The template file dialogs' titles and their type list ("description|pattern|...").
  static std::string_view OpenTemplateTitle() { return "Select Template to Open"; }
  static std::string_view SaveTemplateTitle() { return "Enter or Select Template to Save"; }
  static std::string_view TemplateTypes() { return "Quasarine Templates (*.qsn)|*.qsn|All Files (*.*)|*.*"; }

  // A theme pick (1..13 fireworks, 1..16 galaxies); 0 changes nothing.
  void ApplyTheme(SectionId effect, int theme);

  // Told of every field the form changed other than by Edit's own text (AnimationType for the
  // effect).
  void OnChange(std::function<void(std::string_view key)> listener) { listener_ = std::move(listener); }

 private:
  double Number(std::string_view key) const;
  void SetNumber(std::string_view key, double value);
  void Put(std::string_view key, std::string text);
  void Changed(std::string_view key) const;

  SettingsStore& store_;
  FieldTexts texts_;
  std::string currentTemplate_;
  bool changeGuard_ = false;
  std::function<void(std::string_view)> listener_;
};

}  // namespace qsrn
