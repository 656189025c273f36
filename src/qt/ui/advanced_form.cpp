// The advanced settings dialog; see advanced_form.h.
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

#include "render/color.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/store.h"
#include "qt/ui/dialog_buttons.h"
#include "qt/ui/help_window.h"
#include "qt/ui/numeric_field.h"

namespace qsrn {

namespace {

constexpr int32_t kFactoryPickMask = 189;
constexpr char kFactoryFont[] = "MS Sans Serif";
// txtAdv 0..5 in order.
constexpr const char* kFieldKeys[6] = {"Adv_TimeDelay", "Adv_EffectFPC", "Adv_PerfMult",
                                       "Adv_HueStart", "Adv_FontSize", "Adv_FontHueV"};
constexpr const char* kFieldFactory[6] = {"25", "1000", "1.0", "0", "20", "180"};

QString Stored(const SettingsStore& store, const char* key, const char* def) {
  return QString::fromStdString(store.GetSettingString(kAppName, Section(SectionId::Advanced).name, key, def));
}

// A field of the editing scheme with the caption as given (no range appended), its spinner
// beside it and, when swatch is wanted, a colour swatch after that.
NumericField* AddField(QFormLayout* form, const QString& caption, const char* key, QLabel** swatch = nullptr) {
  QWidget* parent = form->parentWidget();
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(key));
  edit->setMaxLength(12);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  auto* field = new NumericField(edit, *FindKey(SectionId::Advanced, key));
  auto* label = new QLabel(caption, parent);
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

QColor WheelColor(double hue) {
  const int32_t c = HueToRGB(static_cast<int32_t>(hue));
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

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
    : QDialog(parent), store_(store) {
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

  // Which effects cycle; the small boxes on the Fireworks and Galaxies rows step their themes.
  auto* fraInclude = new QGroupBox(tr("Include the following Effects"), this);
  auto* grid = new QGridLayout(fraInclude);
  const char* captions[6] = {"&Fireworks / All Themes:", "&Starfield:", "B-Spline &Warp:",
                             "B-Spline Spar&klers:", "Stars and &Gravity Wells:", "Ga&laxies / All Themes:"};
  for (int i = 0; i < 8; ++i) {
    chkEffect_[static_cast<size_t>(i)] = new QCheckBox(i < 6 ? tr(captions[i]) : QStringLiteral("/"), fraInclude);
    chkEffect_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("chkEffect%1").arg(i));
  }
  chkEffect_[6]->setAccessibleName(tr("All Fireworks Themes"));
  chkEffect_[7]->setAccessibleName(tr("All Galaxy Themes"));
  for (int i = 0; i < 6; ++i) grid->addWidget(chkEffect_[static_cast<size_t>(i)], i, 0);
  grid->addWidget(chkEffect_[6], 0, 1);
  grid->addWidget(chkEffect_[7], 5, 1);
  QWidget::setTabOrder(chkEffect_[0], chkEffect_[6]);  // Tab reads each row to its end
  left->addWidget(fraInclude);
  connect(chkEffect_[0], &QCheckBox::toggled, this, [this](bool on) { if (!on) chkEffect_[6]->setChecked(false); });
  connect(chkEffect_[6], &QCheckBox::toggled, this, [this](bool on) { if (on) chkEffect_[0]->setChecked(true); });
  connect(chkEffect_[5], &QCheckBox::toggled, this, [this](bool on) { if (!on) chkEffect_[7]->setChecked(false); });
  connect(chkEffect_[7], &QCheckBox::toggled, this, [this](bool on) { if (on) chkEffect_[5]->setChecked(true); });

  chkCycle_ = new QCheckBox(tr("&Cycle through Effects"), this);
  chkCycle_->setObjectName(QStringLiteral("chkCycle"));
  left->addWidget(chkCycle_);
  fraCycle_ = new QGroupBox(this);
  fraCycle_->setObjectName(QStringLiteral("fraCycle"));
  auto* cycleForm = new QFormLayout(fraCycle_);
  txtAdv_[1] = AddField(cycleForm, tr("Frames per &Effect (100 - 30000):"), kFieldKeys[1]);
  left->addWidget(fraCycle_);
  connect(chkCycle_, &QCheckBox::toggled, fraCycle_, &QWidget::setEnabled);

  auto* fraDelay = new QGroupBox(tr("Frame Delay for Animation Smoothing"), this);
  txtAdv_[0] = AddField(new QFormLayout(fraDelay), tr("Dela&y in Milliseconds (0 - 999):"), kFieldKeys[0]);
  left->addWidget(fraDelay);
  auto* perfForm = new QFormLayout;
  left->addLayout(perfForm);
  txtAdv_[2] = AddField(perfForm, tr("&Performance Multiplier (0.1 - 9.9):"), kFieldKeys[2]);
  left->addStretch();

  auto* fraHue = new QGroupBox(tr("Hue Wheel Characteristics"), this);
  txtAdv_[3] = AddField(new QFormLayout(fraHue), tr("&Initial Hue Value: (0 - 359):"), kFieldKeys[3], &picHueStart_);
  picHueStart_->setObjectName(QStringLiteral("picHueStart"));
  right->addWidget(fraHue);

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
  auto* lblFont = new QLabel(tr("F&ont:"), fraMessage);
  lblFont->setBuddy(cboFont_);
  messageForm->addRow(lblFont, cboFont_);
  txtAdv_[4] = AddField(messageForm, tr("Si&ze:"), kFieldKeys[4]);
  txtAdv_[5] = AddField(messageForm, tr("H&ue (0 - 359):"), kFieldKeys[5], &picHueFont_);
  picHueFont_->setObjectName(QStringLiteral("picHueFont"));
  // The message as the saver will draw it: chosen font, size and hue on black.
  lblPreview_ = new QLabel(fraMessage);
  lblPreview_->setObjectName(QStringLiteral("lblPreview"));
  lblPreview_->setAlignment(Qt::AlignCenter);
  lblPreview_->setMinimumHeight(70);
  lblPreview_->setMaximumHeight(140);
  lblPreview_->setMinimumWidth(260);
  lblPreview_->setAutoFillBackground(true);
  messageForm->addRow(lblPreview_);
  right->addWidget(fraMessage);

  auto* fraDisplay = new QGroupBox(tr("Display Properties"), this);
  chkResize_ = new QCheckBox(tr("Window can be &resized (EXE version only)"), fraDisplay);
  chkResize_->setObjectName(QStringLiteral("chkResize"));
  (new QVBoxLayout(fraDisplay))->addWidget(chkResize_);
  right->addWidget(fraDisplay);
  right->addStretch();

  const DialogButtons buttons = AddDialogButtons(this, top);
  cmdOK_ = buttons.cmdOK;
  connect(cmdOK_, &QPushButton::clicked, this, &frmAdvanced::cmdOK_Click);
  connect(buttons.cmdDefaults, &QPushButton::clicked, this, &frmAdvanced::cmdDefaults_Click);

  connect(txtAdv_[3], &NumericField::edited, this, [this] { UpdateSwatch(picHueStart_, 3); });
  connect(txtAdv_[5], &NumericField::edited, this, [this] { UpdateSwatch(picHueFont_, 5); UpdatePreview(); });
  connect(txtAdv_[4], &NumericField::edited, this, &frmAdvanced::UpdatePreview);
  connect(txtMessage_, &QLineEdit::textChanged, this, &frmAdvanced::UpdatePreview);
  connect(cboFont_, &QComboBox::currentIndexChanged, this, &frmAdvanced::UpdatePreview);

  for (QCheckBox* box : chkEffect_) box->setProperty("helpKey", QStringLiteral("Adv_PickQSRN"));
  chkCycle_->setProperty("helpKey", QStringLiteral("Adv_EffectFPC"));
  cboFont_->setProperty("helpKey", QStringLiteral("Adv_FontName"));
  txtMessage_->setProperty("helpKey", QStringLiteral("LockMessage"));
  chkResize_->setProperty("helpKey", QStringLiteral("Adv_WinResize"));
  InstallHelpKey(this);

  Load(message);
  adjustSize();
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

QLineEdit* frmAdvanced::txtAdv(int i) const { return txtAdv_[static_cast<size_t>(i)]->edit(); }

QString frmAdvanced::Message() const { return txtMessage_->text(); }

void frmAdvanced::Load(const QString& message) {
  for (int i : {0, 2, 3, 4, 5}) txtAdv(i)->setText(Stored(store_, kFieldKeys[i], kFieldFactory[i]));
  // A stored 0 (or any value below one frame) means no cycling; the field then offers 1000.
  const QString frames = Stored(store_, kFieldKeys[1], "0");
  const bool cycling = Val(frames.toStdString()) >= 1;
  txtAdv(1)->setText(cycling ? frames : QStringLiteral("1000"));
  chkCycle_->setChecked(cycling);
  fraCycle_->setEnabled(cycling);
  SetPickMask(ReadPickMask(store_));
  const QStringList families = QFontDatabase::families();
  cboFont_->addItems(families);
  cboFont_->setCurrentIndex(FontIndexFor(families, Stored(store_, "Adv_FontName", kFactoryFont)));
  txtMessage_->setText(message);
  chkResize_->setChecked(ReadWinResize(store_));
  UpdateSwatch(picHueStart_, 3);
  UpdateSwatch(picHueFont_, 5);
  UpdatePreview();
}

void frmAdvanced::SetPickMask(int32_t mask) {
  // The themes' boxes last, so that the pairings cannot undo a bit set just before.
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7}) chkEffect_[static_cast<size_t>(i)]->setChecked((mask >> i) & 1);
}

int32_t frmAdvanced::PickMask() const {
  int32_t mask = 0;
  for (int i = 0; i < 8; ++i)
    if (chkEffect_[static_cast<size_t>(i)]->isChecked()) mask |= 1 << i;
  return mask;
}

void frmAdvanced::UpdateSwatch(QLabel* swatch, int field) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, WheelColor(txtAdv_[static_cast<size_t>(field)]->Value()));
  swatch->setPalette(p);
}

void frmAdvanced::UpdatePreview() {
  QFont f(cboFont_->currentText());
  f.setPointSizeF(std::clamp(txtAdv_[4]->Value(), 1.0, 80.0));
  lblPreview_->setFont(f);
  QPalette p = lblPreview_->palette();
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, WheelColor(txtAdv_[5]->Value()));
  lblPreview_->setPalette(p);
  lblPreview_->setText(txtMessage_->text().isEmpty() ? QStringLiteral("Quasarine") : txtMessage_->text());
}

void frmAdvanced::cmdOK_Click() {
  // The field being edited is range-checked as focus leaves it; do it even when the window
  // has no focus to give (offscreen, or a click that did not take it).
  if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
    if (NumericField* field = NumericField::Of(edit)) field->ClampToRange();
  cmdOK_->setFocus();

  const bool anyEffect = (PickMask() & 0x3F) != 0;
  if (chkCycle_->isChecked() && !anyEffect) {
    QMessageBox::warning(this, QStringLiteral("Quasarine"), tr("Please select one or more Effects."));
    chkEffect_[0]->setFocus();
    return;
  }
  SettingsStore::Batch batch(store_);
  const std::string_view section = Section(SectionId::Advanced).name;
  auto set = [&](const char* key, const QString& value) { batch.Set(section, key, value.toStdString()); };
  set("Adv_TimeDelay", txtAdv(0)->text());
  set("Adv_EffectFPC", chkCycle_->isChecked() ? txtAdv(1)->text() : QStringLiteral("0"));
  set("Adv_PickQSRN", QString::number(PickMask()));
  set("Adv_PerfMult", txtAdv(2)->text());
  set("Adv_HueStart", txtAdv(3)->text());
  set("Adv_FontName", cboFont_->currentText());
  set("Adv_FontSize", txtAdv(4)->text());
  set("Adv_FontHueV", txtAdv(5)->text());
  set("Adv_WinResize", chkResize_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  if (!batch.Commit()) {
    QMessageBox::warning(this, QStringLiteral("Quasarine"), tr("The settings could not be saved."));
    return;
  }
  accept();
}

void frmAdvanced::cmdDefaults_Click() {
  chkCycle_->setChecked(false);
  chkResize_->setChecked(false);
  for (int i = 0; i < 6; ++i) txtAdv(i)->setText(QString::fromLatin1(kFieldFactory[i]));
  const QStringList families = QFontDatabase::families();
  cboFont_->setCurrentIndex(FontIndexFor(families, QString::fromLatin1(kFactoryFont)));
  txtMessage_->clear();
  SetPickMask(kFactoryPickMask);
}

}  // namespace qsrn
