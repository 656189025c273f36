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
    QObject::connect(arrow, &QToolButton::clicked, field,
                     [field, direction, step] { field->StepBy(direction, step); });
    column->addWidget(arrow);
  }
  return box;
}

}  // namespace

QAction* PasteAction(const QMenu* menu) {
  for (QAction* action : menu->actions())
    if (action->objectName() == QLatin1String("edit-paste") ||
        action->text().startsWith(QLineEdit::tr("&Paste")))
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

void RoutePastes(QLineEdit* edit, std::function<void(const QString&)> insert) {
  new PasteRoute(edit, std::move(insert));
}

void DropPastedLineBreaks(QLineEdit* edit) {
  RoutePastes(edit, [edit](QString text) {
    for (const QChar brk : {QChar(QChar::LineFeed), QChar(QChar::CarriageReturn), QChar(QChar::LineSeparator),
                            QChar(QChar::ParagraphSeparator)})
      text.remove(brk);
    edit->insert(text);
  });
}

NumericField::NumericField(QLineEdit* edit, const KeySpec& key)
    : QObject(edit), edit_(edit), own_(std::make_unique<NumericFieldModel>(key)), model_(own_.get()) {
  model_->SetText(edit_->text().toStdString());
  Bind();
}

NumericField::NumericField(QLineEdit* edit, NumericFieldModel& model)
    : QObject(edit), edit_(edit), model_(&model) {
  ShowModel();
  Bind();
}

void NumericField::Bind() {
  edit_->setProperty("qsrnNumericField", QVariant::fromValue(static_cast<QObject*>(this)));
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    model_->SetText(text.toStdString());
    emit edited();
  });
  if (model_->HasSpinner()) spinner_ = MakeSpinner(this, model_->SpinStep());
  RoutePastes(edit_, [this](const QString& text) { Paste(text); });
}

NumericField* NumericField::Of(const QLineEdit* edit) {
  return edit ? qobject_cast<NumericField*>(edit->property("qsrnNumericField").value<QObject*>()) : nullptr;
}

void NumericField::ShowModel() {
  const QString text = QString::fromStdString(model_->Text());
  if (text != edit_->text()) edit_->setText(text);
}

double NumericField::Value() const { return model_->Value(); }

void NumericField::ClampToRange() {
  if (model_->ClampOnFocusOut()) ShowModel();
}

void NumericField::StepBy(int direction, int step) {
  model_->Step(direction, step);
  ShowModel();
  edit_->selectAll();
}

QString NumericField::RangeCaption(const QString& caption, const KeySpec& key) {
  return QString::fromStdString(qsrn::RangeCaption(caption.toStdString(), key));
}

TextSelection NumericField::Selection() const {
  const int start = edit_->selectionStart();
  return {static_cast<size_t>(start < 0 ? 0 : start), static_cast<size_t>(edit_->selectedText().size())};
}

void NumericField::Refuse() {
  QApplication::beep();
  emit keyRefused();
}

void NumericField::Paste(const QString& text) {
  const PasteFilter filtered =
      model_->FilterPaste(edit_->text().toStdU16String(), Selection(), text.toStdU16String());
  for (int i = 0; i < filtered.refused; ++i) Refuse();
  if (!filtered.accepted.empty() || edit_->hasSelectedText())
    edit_->insert(QString::fromStdU16String(filtered.accepted));
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
        if (model_->StepArrow(key->key() == Qt::Key_Up ? +1 : -1)) {
          ShowModel();
          edit_->selectAll();
        }
        return true;
      }
      const QString text = key->text();
      // Editing and navigation keys and shortcuts carry no printable text.
      if (text.isEmpty() || !text.at(0).isPrint()) return false;
      if (model_->AcceptsChar(edit_->text().toStdU16String(), Selection(), text.at(0).unicode()))
        return false;
      Refuse();
      return true;
    }
    default:
      return false;
  }
}

namespace {

QLineEdit* NewNumericEdit(QWidget* parent, const KeySpec& key) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(key.key.data(), static_cast<int>(key.key.size())));
  edit->setMaxLength(12);
  return edit;
}

NumericField* AddRow(QFormLayout* form, const QString& caption, NumericField* field) {
  QWidget* parent = form->parentWidget();
  QLineEdit* edit = field->edit();
  auto* label = new QLabel(NumericField::RangeCaption(caption, field->key()), parent);
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

}  // namespace

NumericField* AddNumericRow(QFormLayout* form, const QString& caption, const KeySpec& key) {
  return AddRow(form, caption, new NumericField(NewNumericEdit(form->parentWidget(), key), key));
}

NumericField* AddNumericRow(QFormLayout* form, const QString& caption, NumericFieldModel& model) {
  return AddRow(form, caption, new NumericField(NewNumericEdit(form->parentWidget(), model.key()), model));
}

}  // namespace qsrn
