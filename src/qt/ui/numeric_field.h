// The editing scheme of every numeric text field of the configuration dialogs, written once and
// driven by the field's catalogue row (kind, range) and its step row (field_steps.h):
//  - focus in selects the whole text;
//  - the key filter lets through digits, Backspace and, in fraction fields, one "." (a "." inside
//    the selection may be typed over); any other character is refused with QApplication::beep();
//  - Up/Down (and the spinner's arrows, upper increases) add or subtract the step to the whole
//    value, kept within the range; only fields with a step react;
//  - focus out clamps the value to the range as an Integer, Long or Single and writes it back;
//  - pasted text passes the key filter character by character: each refused one beeps, the
//    accepted ones are inserted.
// Usage:
//   auto* field = AddNumericRow(form, tr("&Shells"), *FindKey(SectionId::Fireworks, "FireWorks"));
//   connect(field, &NumericField::edited, ...);   // every text change: repaint swatches, rules
#pragma once

#include <QObject>
#include <QString>
#include <functional>

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
  // Attaches the scheme to edit (the helper is a child of edit). With a step row, a spinner is
  // created (without a parent); place it beside the field, or use AddNumericRow.
  NumericField(QLineEdit* edit, const KeySpec& key);

  QLineEdit* edit() const { return edit_; }
  const KeySpec& key() const { return key_; }
  QWidget* spinner() const { return spinner_; }

  // The text read as a number with "0" put in front: an empty text is 0.
  double Value() const;
  // The value clamped to the range as the key's type, written back as text (focus out).
  void ClampToRange();
  // Up (+1) or Down (-1) by step from the whole value, kept within the range.
  void StepBy(int direction, int step);
  // Text pasted over the selection, through the key filter.
  void Paste(const QString& text);

  // "Caption (lo - hi):" with the catalogue's range.
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
  // Whether c may be typed into a field whose text (outside the selection) is around.
  bool AcceptChar(QChar c, const QString& around) const;
  // The text that stays when the selection is typed over.
  QString TextOutsideSelection() const;
  // Beeps and says so, for a typed or pasted character the scheme refuses.
  void Refuse();

  QLineEdit* edit_;
  const KeySpec& key_;
  QWidget* spinner_ = nullptr;
  int arrowStep_ = 0;
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

}  // namespace qsrn
