// The numeric field editing scheme; see numeric_field.h.
#include "qt/ui/numeric_field.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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

QAction* PasteAction(const QMenu* menu) {
  for (QAction* action : menu->actions())
    if (action->objectName() == QLatin1String("edit-paste") || action->text().startsWith(QLineEdit::tr("&Paste")))
      return action;
  return nullptr;
}

namespace {

class PasteRoute : public QObject {
 public:
  PasteRoute(QLineEdit* edit, std::function<void(const QString&)> insert)
      : QObject(edit), edit_(edit), insert_(std::move(insert)) {
    edit->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != edit_ || edit_->isReadOnly()) return false;
    switch (event->type()) {
      case QEvent::KeyPress:
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
        Paste(QClipboard::Clipboard);
        return true;
      case QEvent::ContextMenu: {
        // Qt's own menu, its Paste rewired to the route.
        QMenu* menu = edit_->createStandardContextMenu();
        if (QAction* paste = PasteAction(menu)) {
          QObject::disconnect(paste, &QAction::triggered, edit_, nullptr);
          QObject::connect(paste, &QAction::triggered, this, [this] { Paste(QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      }
      case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
          return false;
        Paste(QClipboard::Selection);
        return true;
      default:
        return false;
    }
  }

 private:
  void Paste(QClipboard::Mode mode) { insert_(QGuiApplication::clipboard()->text(mode)); }

  QLineEdit* edit_;
  std::function<void(const QString&)> insert_;
};

}  // namespace

void RoutePastes(QLineEdit* edit, std::function<void(const QString&)> insert) { new PasteRoute(edit, std::move(insert)); }

void DropPastedLineBreaks(QLineEdit* edit) {
  RoutePastes(edit, [edit](QString text) {
    for (const QChar brk : {QChar(QChar::LineFeed), QChar(QChar::CarriageReturn), QChar(QChar::LineSeparator),
                            QChar(QChar::ParagraphSeparator)})
      text.remove(brk);
    edit->insert(text);
  });
}

NumericField::NumericField(QLineEdit* edit, const KeySpec& key) : QObject(edit), edit_(edit), key_(key) {
  edit_->setProperty("qsrnNumericField", QVariant::fromValue(static_cast<QObject*>(this)));
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, &NumericField::edited);
  if (const FieldStep* step = FindFieldStep(key_.key)) {
    arrowStep_ = step->arrow;
    spinner_ = MakeSpinner(this, step->spin);
  }
  RoutePastes(edit_, [this](const QString& text) { Paste(text); });
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

QString NumericField::TextOutsideSelection() const {
  return edit_->text().remove(edit_->selectionStart() < 0 ? 0 : edit_->selectionStart(), edit_->selectedText().size());
}

bool NumericField::AcceptChar(QChar c, const QString& around) const {
  if (c.isDigit() && c.unicode() < 128) return true;
  // One "." only, unless the one there is about to be typed over.
  return c == QLatin1Char('.') && key_.AcceptsFraction() && !around.contains(QLatin1Char('.'));
}

void NumericField::Refuse() {
  QApplication::beep();
  emit keyRefused();
}

void NumericField::Paste(const QString& text) {
  const QString around = TextOutsideSelection();
  QString accepted;
  for (const QChar c : text) {
    if (AcceptChar(c, around + accepted)) {
      accepted += c;
    } else {
      Refuse();
    }
  }
  if (!accepted.isEmpty() || edit_->hasSelectedText()) edit_->insert(accepted);
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
      if (AcceptChar(text.at(0), TextOutsideSelection())) return false;
      Refuse();
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
