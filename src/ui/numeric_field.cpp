// The numeric field editing scheme; see numeric_field.h.
#include "ui/numeric_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "settings/catalogue.h"
#include "settings/field_steps.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// Two small stacked arrows beside a field; the upper one increases.
QWidget* MakeSpinner(NumericField* field, int step) {
  auto* box = new QWidget;
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  const int height = field->edit()->sizeHint().height() / 2;
  for (const int direction : {+1, -1}) {
    auto* arrow = new QToolButton(box);
    arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setFixedSize(height + 6, height);
    arrow->setAccessibleName(direction > 0 ? QObject::tr("Increase") : QObject::tr("Decrease"));
    QObject::connect(arrow, &QToolButton::clicked, field, [field, direction, step] { field->StepBy(direction, step); });
    column->addWidget(arrow);
  }
  return box;
}

QString NumberText(double v) { return QString::fromStdString(FormatNumber(v)); }

}  // namespace

NumericField::NumericField(QLineEdit* edit, const KeySpec& key) : QObject(edit), edit_(edit), key_(key) {
  edit_->setProperty("qsrnNumericField", QVariant::fromValue(static_cast<QObject*>(this)));
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, &NumericField::edited);
  if (const FieldStep* step = FindFieldStep(key_.key)) {
    arrowStep_ = step->arrow;
    spinner_ = MakeSpinner(this, step->spin);
  }
}

NumericField* NumericField::Of(const QLineEdit* edit) {
  return edit ? qobject_cast<NumericField*>(edit->property("qsrnNumericField").value<QObject*>()) : nullptr;
}

double NumericField::Value() const { return Val(("0" + edit_->text()).toStdString()); }

void NumericField::ClampToRange() {
  const double v = Clamp(Value(), key_.lo, key_.hi);
  QString text;
  if (key_.AcceptsFraction() || key_.type == KeyType::Single)
    text = QString::fromStdString(FormatSingle(static_cast<float>(v)));
  else if (key_.type == KeyType::Long)
    text = NumberText(CLng(v));
  else
    text = NumberText(CInt(v));
  if (text != edit_->text()) edit_->setText(text);
}

void NumericField::StepBy(int direction, int step) {
  const double whole = CLng(Int(Value()));
  const double v = Clamp(whole + direction * step, key_.lo, key_.hi);
  edit_->setText(NumberText(v));
  edit_->selectAll();
}

QString NumericField::RangeCaption(const QString& caption, const KeySpec& key) {
  // Plain decimals in labels ("0.0001", not "1E-04").
  return QStringLiteral("%1 (%2 - %3):").arg(caption, QString::number(key.lo, 'g', 15), QString::number(key.hi, 'g', 15));
}

bool NumericField::AcceptKey(const QString& text) const {
  const QChar c = text.at(0);
  if (c.isDigit() && c.unicode() < 128) return true;
  if (c != QLatin1Char('.') || !key_.AcceptsFraction()) return false;
  // One "." only, unless the one there is about to be typed over.
  const QString rest = edit_->text().remove(edit_->selectionStart() < 0 ? 0 : edit_->selectionStart(),
                                            edit_->selectedText().size());
  return !rest.contains(QLatin1Char('.'));
}

bool NumericField::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      // After the click that gave the focus has placed the cursor.
      if (!edit_->isReadOnly()) QTimer::singleShot(0, edit_, &QLineEdit::selectAll);
      return false;
    case QEvent::FocusOut:
      ClampToRange();
      return false;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        if (arrowStep_ > 0) StepBy(key->key() == Qt::Key_Up ? +1 : -1, arrowStep_);
        return true;
      }
      const QString text = key->text();
      // Editing and navigation keys and shortcuts carry no printable text.
      if (text.isEmpty() || !text.at(0).isPrint()) return false;
      if (AcceptKey(text)) return false;
      QApplication::beep();
      emit keyRefused();
      return true;
    }
    default:
      return false;
  }
}

NumericField* AddNumericRow(QFormLayout* form, const QString& caption, const KeySpec& key) {
  QWidget* parent = form->parentWidget();
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(key.key.data(), static_cast<int>(key.key.size())));
  edit->setMaxLength(12);
  auto* field = new NumericField(edit, key);
  auto* label = new QLabel(NumericField::RangeCaption(caption, key), parent);
  label->setBuddy(edit);
  if (field->spinner() == nullptr) {
    form->addRow(label, edit);
  } else {
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    row->addWidget(edit, 1);
    row->addWidget(field->spinner());
    form->addRow(label, row);
  }
  return field;
}

}  // namespace qsrn
