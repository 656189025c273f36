// The advanced settings dialog's view; see advanced_form.h.
#include "qt/ui/advanced_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "effects/engine.h"
#include "qt/ui/dialog_buttons.h"
#include "qt/ui/help_window.h"
#include "qt/ui/numeric_field.h"
#include "render/color.h"
#include "settings/catalogue.h"

namespace qsrn {

namespace {

using Model = AdvancedFormModel;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A field of the editing scheme with the model's caption, its spinner beside it and, when swatch
// is wanted, a colour swatch after that.
NumericField* AddField(QFormLayout* form, Model& model, int f, QLabel** swatch = nullptr) {
  QWidget* parent = form->parentWidget();
  auto* edit = new QLineEdit(parent);
  const std::string_view key = model.field(f).key().key;
  edit->setObjectName(FromUtf8(key));
  edit->setMaxLength(12);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  auto* field = new NumericField(edit, model.field(f));
  auto* label = new QLabel(QApplication::translate("qsrn::frmAdvanced", Model::Caption(f).c_str()), parent);
  label->setBuddy(edit);
  auto* row = new QHBoxLayout;
  row->setSpacing(1);
  row->addWidget(edit, 1);
  if (field->spinner() != nullptr) row->addWidget(field->spinner());
  if (swatch != nullptr) {
    *swatch = new QLabel(parent);
    (*swatch)->setFixedSize(edit->sizeHint().height() * 2, edit->sizeHint().height());
    (*swatch)->setAutoFillBackground(true);
    (*swatch)->setFrameShape(QFrame::Box);
    row->addSpacing(6);
    row->addWidget(*swatch);
  }
  form->addRow(label, row);
  return field;
}

QColor ToQColor(int32_t c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

int frmAdvanced::FindListIndex(const QStringList& list, const QString& text) {
  const int i = static_cast<int>(list.indexOf(text));
  return i < 0 ? 0 : i;
}

int frmAdvanced::FontIndexFor(const QStringList& families, const QString& name) {
  if (families.contains(name)) return static_cast<int>(families.indexOf(name));
  return FindListIndex(families, QFontInfo(QFont(name)).family());
}

frmAdvanced::frmAdvanced(SettingsStore& store, const QString& message, QWidget* parent)
    : QDialog(parent), model_(store, message.toStdString()) {
  setObjectName(QStringLiteral("frmAdvanced"));
  setWindowTitle(tr("Advanced Settings"));
  setModal(true);
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);

  BuildEffects(left);
  auto* fraDelay = new QGroupBox(tr("Frame Delay for Animation Smoothing"), this);
  txtAdv_[Model::kTimeDelay] = AddField(new QFormLayout(fraDelay), model_, Model::kTimeDelay);
  left->addWidget(fraDelay);
  auto* perfForm = new QFormLayout;
  left->addLayout(perfForm);
  txtAdv_[Model::kPerfMult] = AddField(perfForm, model_, Model::kPerfMult);
  left->addStretch();

  auto* fraHue = new QGroupBox(tr("Hue Wheel Characteristics"), this);
  txtAdv_[Model::kHueStart] = AddField(new QFormLayout(fraHue), model_, Model::kHueStart, &picHueStart_);
  picHueStart_->setObjectName(QStringLiteral("picHueStart"));
  right->addWidget(fraHue);
  BuildMessage(right);

  auto* fraDisplay = new QGroupBox(tr("Display Properties"), this);
  chkResize_ = new QCheckBox(tr("Window can be &resized (EXE version only)"), fraDisplay);
  chkResize_->setObjectName(QStringLiteral("chkResize"));
  (new QVBoxLayout(fraDisplay))->addWidget(chkResize_);
  right->addWidget(fraDisplay);
  right->addStretch();
  connect(chkResize_, &QCheckBox::toggled, this, [this](bool on) { model_.SetResizable(on); });

  const DialogButtons buttons = AddDialogButtons(this, top);
  cmdOK_ = buttons.cmdOK;
  connect(cmdOK_, &QPushButton::clicked, this, &frmAdvanced::cmdOK_Click);
  connect(buttons.cmdDefaults, &QPushButton::clicked, this, [this] {
    model_.Defaults();
    ShowModel();
  });

  for (QCheckBox* box : chkEffect_) box->setProperty("helpKey", QStringLiteral("Adv_PickQSRN"));
  chkCycle_->setProperty("helpKey", QStringLiteral("Adv_EffectFPC"));
  cboFont_->setProperty("helpKey", QStringLiteral("Adv_FontName"));
  txtMessage_->setProperty("helpKey", QStringLiteral("LockMessage"));
  chkResize_->setProperty("helpKey", QStringLiteral("Adv_WinResize"));
  InstallHelpKey(this);

  ShowModel();
  adjustSize();
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

// The controls are bound to the model: they go first, while it is still there to hear a last
// focus change.
frmAdvanced::~frmAdvanced() { qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly)); }

// Which effects cycle; the small boxes on the Fireworks and Galaxies rows step their themes. Then
// the cycling switch and the frames per effect it enables.
void frmAdvanced::BuildEffects(QVBoxLayout* column) {
  auto* fraInclude = new QGroupBox(tr("Include the following Effects"), this);
  auto* grid = new QGridLayout(fraInclude);
  for (int i = 0; i < Model::kBoxCount; ++i) {
    auto* box = new QCheckBox(tr(Model::EffectCaption(i).data()), fraInclude);
    box->setObjectName(QStringLiteral("chkEffect%1").arg(i));
    chkEffect_[static_cast<size_t>(i)] = box;
    // The model applies the pairings; every box then shows its state.
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
      model_.SetEffectChecked(i, on);
      for (int b = 0; b < Model::kBoxCount; ++b)
        chkEffect_[static_cast<size_t>(b)]->setChecked(model_.EffectChecked(b));
    });
    if (i < kEffectCount) grid->addWidget(box, i, 0);  // one row per effect
  }
  chkEffect_[Model::kFireworksThemes]->setAccessibleName(tr("All Fireworks Themes"));
  chkEffect_[Model::kGalaxyThemes]->setAccessibleName(tr("All Galaxy Themes"));
  grid->addWidget(chkEffect_[Model::kFireworksThemes], static_cast<int>(EffectIndex::Fireworks), 1);
  grid->addWidget(chkEffect_[Model::kGalaxyThemes], static_cast<int>(EffectIndex::Galaxies), 1);
  QWidget::setTabOrder(chkEffect_[0], chkEffect_[Model::kFireworksThemes]);  // Tab reads each row to its end
  column->addWidget(fraInclude);

  chkCycle_ = new QCheckBox(tr("&Cycle through Effects"), this);
  chkCycle_->setObjectName(QStringLiteral("chkCycle"));
  column->addWidget(chkCycle_);
  fraCycle_ = new QGroupBox(this);
  fraCycle_->setObjectName(QStringLiteral("fraCycle"));
  txtAdv_[Model::kEffectFPC] = AddField(new QFormLayout(fraCycle_), model_, Model::kEffectFPC);
  column->addWidget(fraCycle_);
  connect(chkCycle_, &QCheckBox::toggled, this, [this](bool on) {
    model_.SetCycling(on);
    fraCycle_->setEnabled(model_.FramesEnabled());
  });
}

// The message's text, font, size and hue, and the preview of how the saver draws it.
void frmAdvanced::BuildMessage(QVBoxLayout* column) {
  auto* fraMessage = new QGroupBox(tr("Message"), this);
  auto* messageForm = new QFormLayout(fraMessage);
  txtMessage_ = new QLineEdit(fraMessage);
  DropPastedLineBreaks(txtMessage_);
  txtMessage_->setObjectName(QStringLiteral("txtMessage"));
  auto* lblText = new QLabel(tr("&Text:"), fraMessage);
  lblText->setBuddy(txtMessage_);
  messageForm->addRow(lblText, txtMessage_);
  cboFont_ = new QComboBox(fraMessage);
  cboFont_->setObjectName(QStringLiteral("cboFont"));
  cboFont_->setMaxVisibleItems(20);
  cboFont_->addItems(QFontDatabase::families());
  auto* lblFont = new QLabel(tr("F&ont:"), fraMessage);
  lblFont->setBuddy(cboFont_);
  messageForm->addRow(lblFont, cboFont_);
  txtAdv_[Model::kFontSize] = AddField(messageForm, model_, Model::kFontSize);
  txtAdv_[Model::kFontHueV] = AddField(messageForm, model_, Model::kFontHueV, &picHueFont_);
  picHueFont_->setObjectName(QStringLiteral("picHueFont"));
  lblPreview_ = new QLabel(fraMessage);
  lblPreview_->setObjectName(QStringLiteral("lblPreview"));
  lblPreview_->setAlignment(Qt::AlignCenter);
  lblPreview_->setMinimumHeight(70);
  lblPreview_->setMaximumHeight(140);
  lblPreview_->setMinimumWidth(260);
  lblPreview_->setAutoFillBackground(true);
  messageForm->addRow(lblPreview_);
  column->addWidget(fraMessage);

  connect(txtAdv_[Model::kHueStart], &NumericField::edited, this,
          [this] { UpdateSwatch(picHueStart_, Model::kHueStart); });
  connect(txtAdv_[Model::kFontHueV], &NumericField::edited, this, [this] {
    UpdateSwatch(picHueFont_, Model::kFontHueV);
    UpdatePreview();
  });
  connect(txtAdv_[Model::kFontSize], &NumericField::edited, this, &frmAdvanced::UpdatePreview);
  connect(txtMessage_, &QLineEdit::textChanged, this, [this](const QString& text) {
    model_.SetMessage(text.toStdString());
    UpdatePreview();
  });
  connect(cboFont_, &QComboBox::currentIndexChanged, this, [this] {
    model_.SetFontName(cboFont_->currentText().toStdString());
    UpdatePreview();
  });
}

QLineEdit* frmAdvanced::txtAdv(int i) const { return txtAdv_[static_cast<size_t>(i)]->edit(); }

QString frmAdvanced::Message() const { return QString::fromStdString(model_.Message()); }

void frmAdvanced::ShowModel() {
  const bool cycling = model_.Cycling();
  const bool resizable = model_.Resizable();
  const int32_t mask = model_.PickMask();
  const QString message = QString::fromStdString(model_.Message());
  const QString font = QString::fromStdString(model_.FontName());
  for (NumericField* field : txtAdv_) field->ShowModel();
  chkCycle_->setChecked(cycling);
  fraCycle_->setEnabled(model_.FramesEnabled());
  chkResize_->setChecked(resizable);
  for (int b = 0; b < Model::kBoxCount; ++b) chkEffect_[static_cast<size_t>(b)]->setChecked((mask >> b) & 1);
  // The list's entry for the stored name: the name itself when installed, else the family the
  // desktop draws that name with (so pressing OK keeps the message's look), else the first.
  cboFont_->setCurrentIndex(FontIndexFor(QFontDatabase::families(), font));
  model_.SetFontName(cboFont_->currentText().toStdString());
  txtMessage_->setText(message);
  UpdateSwatch(picHueStart_, Model::kHueStart);
  UpdateSwatch(picHueFont_, Model::kFontHueV);
  UpdatePreview();
}

void frmAdvanced::UpdateSwatch(QLabel* swatch, int field) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, ToQColor(model_.HueColor(field)));
  swatch->setPalette(p);
}

void frmAdvanced::UpdatePreview() {
  QFont f(cboFont_->currentText());
  f.setPointSizeF(model_.PreviewPointSize());
  lblPreview_->setFont(f);
  QPalette p = lblPreview_->palette();
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, ToQColor(model_.HueColor(Model::kFontHueV)));
  lblPreview_->setPalette(p);
  lblPreview_->setText(QString::fromStdString(model_.PreviewText()));
}

void frmAdvanced::cmdOK_Click() {
  // The field being edited is range-checked as focus leaves it; do it even when the window
  // has no focus to give (offscreen, or a click that did not take it).
  if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
    if (NumericField* field = NumericField::Of(edit)) field->ClampToRange();
  cmdOK_->setFocus();

  const Model::OkResult result = model_.Ok();
  if (result == Model::OkResult::Saved) {
    accept();
    return;
  }
  QMessageBox::warning(this, QStringLiteral("Quasarine"), tr(Model::OkMessage(result).data()));
  if (result == Model::OkResult::NoEffect) chkEffect_[0]->setFocus();
}

}  // namespace qsrn
