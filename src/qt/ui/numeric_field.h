// The Qt view of the numeric field editing scheme (forms/numeric_field_model.h holds the rules):
// it binds a QLineEdit to a NumericFieldModel, beeps for every character the key filter refuses
// (typed or pasted), selects the whole text on focus in, steps on Up/Down and the spinner's
// arrows, and clamps on focus out.
// Usage:
//   auto* field = AddNumericRow(form, tr("&Shells"), *FindKey(SectionId::Fireworks, "FireWorks"));
//   connect(field, &NumericField::edited, ...);   // every text change: repaint swatches, rules
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "forms/numeric_field_model.h"

class QAction;
class QFormLayout;
class QLineEdit;
class QMenu;
class QWidget;

namespace qsrn {

struct KeySpec;

class NumericField : public QObject {
  Q_OBJECT

 public:
  // Attaches the scheme to edit (the helper is a child of edit), with a model of its own. With
  // steps, a spinner is created (without a parent); place it beside the field, or use AddNumericRow.
  NumericField(QLineEdit* edit, const KeySpec& key);
  // The same over a form's model of the field (which must outlive edit); edit shows its text.
  NumericField(QLineEdit* edit, NumericFieldModel& model);

  QLineEdit* edit() const { return edit_; }
  const KeySpec& key() const { return model_->key(); }
  NumericFieldModel& model() const { return *model_; }
  // Shows the model's text after the form changed it.
  void ShowModel();
  QWidget* spinner() const { return spinner_; }

  // The text read as a number with "0" put in front: an empty text is 0.
  double Value() const;
  // The value clamped to the range as the key's type, written back as text (focus out).
  void ClampToRange();
  // Up (+1) or Down (-1) by step from the whole value, kept within the range.
  void StepBy(int direction, int step);
  // Text pasted over the selection, through the key filter.
  void Paste(const QString& text);

  // "Caption (lo - hi):" with the catalogue's range (see forms/numeric_field_model.h).
  static QString RangeCaption(const QString& caption, const KeySpec& key);
  // The attached scheme of an edit, or null.
  static NumericField* Of(const QLineEdit* edit);

 signals:
  // The text changed (typing, a step, a clamp or a program write).
  void edited();
  // A key was refused (and the beep sounded).
  void keyRefused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Bind();
  // The edit's selection as the model counts it.
  TextSelection Selection() const;
  // Beeps and says so, for a typed or pasted character the scheme refuses.
  void Refuse();

  QLineEdit* edit_;
  std::unique_ptr<NumericFieldModel> own_;
  NumericFieldModel* model_;
  QWidget* spinner_ = nullptr;
};

// Every paste into edit (the paste keys, the context menu's Paste, the middle button's selection)
// goes to insert with the clipboard's text instead of straight into the field.
void RoutePastes(QLineEdit* edit, std::function<void(const QString&)> insert);
// The Paste entry of a line edit's standard context menu.
QAction* PasteAction(const QMenu* menu);
// A single-line text field: line breaks in pasted text are dropped rather than kept invisibly.
void DropPastedLineBreaks(QLineEdit* edit);

// A new line edit with the scheme, named objectName (the key when empty), added to form as one
// row: the label "caption (lo - hi):" as its buddy, the field and its spinner.
NumericField* AddNumericRow(QFormLayout* form, const QString& caption, const KeySpec& key);
// The same over a form's model of the field.
NumericField* AddNumericRow(QFormLayout* form, const QString& caption, NumericFieldModel& model);

}  // namespace qsrn
