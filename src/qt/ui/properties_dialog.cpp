// The properties dialog between its widgets and its form: the user's edits go to the form, the
// form's changes come back to the widgets, and the form's outcomes are shown. The layout is in
// properties_layout.cpp.
#include "qt/ui/properties_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include "forms/properties_rules.h"
#include "render/color.h"
#include "settings/numeric.h"
#include "qt/ui/file_dialog.h"
#include "qt/ui/live_preview.h"
#include "qt/ui/numeric_field.h"

namespace qsrn {

namespace {

void Paint(QLabel* swatch, int32_t rgb) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)));
  swatch->setPalette(palette);
}

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

const QString kTemplateTypes = FromUtf8(PropertiesForm::TemplateTypes());

}  // namespace

PropertiesDialog::PropertiesDialog(SettingsStore& store, QWidget* parent, PropertiesFormHooks hooks)
    : QDialog(parent), store_(store), hooks_(std::move(hooks)), form_(store) {
  setObjectName(QStringLiteral("frmProps"));
  setWindowTitle(QStringLiteral("Quasarine Properties"));
  BuildForm();
  connect(cboAniType_, &QComboBox::currentIndexChanged, this, [this](int effect) {
    if (!syncing_) form_.SelectEffect(static_cast<EffectIndex>(effect));
  });
  form_.OnChange([this](std::string_view key) { ShowField(key); });

  // Opening: the store (or on the first start the factory set) into the widgets, quietly.
  loading_ = true;
  const std::string message = form_.Open();
  if (!message.empty()) QTimer::singleShot(0, this, [this, message] { Exclaim(message); });
  loading_ = false;
  ShowEffect();
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    adjustSize();
    move(screen->availableGeometry().center() - rect().center());
  }
}

PropertiesDialog::~PropertiesDialog() = default;

void PropertiesDialog::UserEdited(std::string_view key, const std::string& text) {
  if (syncing_) return;  // the form's own change, shown
  form_.Edit(key, text);
  if (PaintsSwatch(key)) RepaintSwatches();
  SchedulePreview();
}

// The form changed a field: its widget shows it (without counting as the user's edit).
void PropertiesDialog::ShowField(std::string_view key) {
  if (key == AnimationTypeKey().key) {
    ShowEffect();
    return;
  }
  const auto it = controls_.find(key);
  if (it == controls_.end()) return;
  const std::string& text = form_.Text(key);
  const bool syncing = syncing_;
  syncing_ = true;
  if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
    if (edit->text().toStdString() != text) edit->setText(QString::fromStdString(text));
  } else if (auto* box = qobject_cast<QCheckBox*>(it->second)) {
    box->setChecked(text == "1");
  } else if (auto* list = qobject_cast<QComboBox*>(it->second)) {
    list->setCurrentIndex(CInt(Val(text)));
  }
  syncing_ = syncing;
  if (PaintsSwatch(key)) RepaintSwatches();
  SchedulePreview();
}

// The chosen effect's frame and menu entry, and the shared frames it enables.
void PropertiesDialog::ShowEffect() {
  const int effect = static_cast<int>(form_.Effect());
  if (effect < 0 || effect >= fraAni_->count()) return;
  const bool syncing = syncing_;
  syncing_ = true;
  cboAniType_->setCurrentIndex(effect);
  syncing_ = syncing;
  fraAni_->setCurrentIndex(effect);
  mnuEffect_[static_cast<size_t>(effect)]->setChecked(true);
  fraPixCol_->setEnabled(form_.ColourDistributionEnabled());
  fraPixelEnh_->setEnabled(form_.PixelSizeEnabled());
  SchedulePreview();
}

void PropertiesDialog::accept() {
  // The field being edited is range-checked first, as leaving it would.
  if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
    if (NumericField* field = NumericField::Of(edit)) field->ClampToRange();
  cmdAccept_->setFocus();
  const FormOutcome saved = form_.Accept();
  if (saved.ok) {
    QDialog::accept();
    return;
  }
  // Put the cursor where the field is to be mended.
  if (const auto it = controls_.find(saved.field); it != controls_.end()) it->second->setFocus();
  Exclaim(saved.message);
}

void PropertiesDialog::RepaintSwatches() {
  for (size_t i = 0; i < picPixHue_.size(); ++i) Paint(picPixHue_[i], form_.HueSwatch(static_cast<int>(i)));
  Paint(picGalHue_, form_.GalaxySwatch());
}

void PropertiesDialog::SchedulePreview() {
  if (!loading_ && preview_ != nullptr) preview_->Restart(form_.Texts(), form_.Effect());
}

void PropertiesDialog::OpenTemplate() {
  const QString file = ShowFileDialog(this, true, FromUtf8(PropertiesForm::OpenTemplateTitle()), kTemplateTypes);
  if (!file.isEmpty()) Report(form_.ReadTemplate(file.toStdString()));
}

void PropertiesDialog::SaveTemplate(bool saveAs) {
  QString file = QString::fromStdString(form_.CurrentTemplate());
  if (form_.NeedsTemplateName(saveAs)) file = ShowFileDialog(this, false, FromUtf8(PropertiesForm::SaveTemplateTitle()), kTemplateTypes);
  if (!file.isEmpty()) Report(form_.WriteTemplate(file.toStdString()));
}

void PropertiesDialog::AskResetProperties() {
  const auto answer = QMessageBox::question(this, FromUtf8(PropertiesForm::Title()),
                                            FromUtf8(PropertiesForm::ResetQuestion()),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer == QMessageBox::Yes) Report(form_.Reset());
}

void PropertiesDialog::Report(const FormOutcome& outcome) {
  if (!outcome.message.empty()) Exclaim(outcome.message);
}

void PropertiesDialog::Exclaim(const std::string& sentence) {
  QMessageBox::warning(this, FromUtf8(PropertiesForm::Title()), QString::fromStdString(sentence));
}

}  // namespace qsrn
