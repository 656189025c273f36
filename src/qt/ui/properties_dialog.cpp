// The properties dialog's behaviour: loading and saving, the cross-field rules, effect selection,
// themes, templates and the preview. The layout is in properties_layout.cpp.
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
#include <array>

#include "render/color.h"
#include "settings/dialog_values.h"
#include "settings/numeric.h"
#include "qt/ui/file_dialog.h"
#include "qt/ui/live_preview.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/galaxy_profile_view.h"

namespace qsrn {

namespace {

const QString kTemplateTypes = QStringLiteral("Quasarine Templates (*.qsn)|*.qsn|All Files (*.*)|*.*");

// The burst types' shares, visited in this order when one of them changes.
constexpr std::array<std::string_view, 7> kBurstPercents = {"FireScintPct", "FireMultiPct", "FireBurstPct",
                                                            "FireSparkPct", "FireRingPct",  "FireTwistPct",
                                                            "FireDecayPct"};
// Pairs whose sum stays at most 100: when one changes, the other gives way.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kSharedHundreds = {
    {{"FireSplinePct", "FirePatternPct"}, {"ColorPctInt", "ColorPctHue"}, {"Star_Comet_Percent", "Star_Dyson_Percent"}}};
// Count per unit against the units, their product at most 30000.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kSparkCaps = {
    {{"FireWorks", "FireSparks"}, {"Warp_Works", "Warp_Sparks"}}};

QColor ToQColor(int32_t rgb) { return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)); }

void Paint(QLabel* swatch, int32_t rgb) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(rgb));
  swatch->setPalette(palette);
}

}  // namespace

PropertiesDialog::PropertiesDialog(SettingsStore& store, QWidget* parent, PropertiesFormHooks hooks)
    : QDialog(parent), store_(store), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("frmProps"));
  setWindowTitle(QStringLiteral("Quasarine Properties"));
  BuildForm();
  connect(cboAniType_, &QComboBox::currentIndexChanged, this, &PropertiesDialog::SelectEffect);

  // Form_Load.
  loading_ = true;
  if (store_.GetSettingInt(kAppName, "General", "AnimationType", -1) == -1) {
    // First start: the store receives the complete factory set, in one commit, before anything
    // is shown.
    SetTexts(FactoryFieldTexts());
    if (!SaveFieldTexts(store_, Texts(), FactoryAdvancedTexts()))
      QTimer::singleShot(0, this, [this] { Exclaim(tr("The factory settings could not be stored.")); });
  }
  LoadProperties();
  loading_ = false;
  SelectEffect(cboAniType_->currentIndex());
  SchedulePreview();
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    adjustSize();
    move(screen->availableGeometry().center() - rect().center());
  }
}

PropertiesDialog::~PropertiesDialog() = default;

FieldTexts PropertiesDialog::Texts() const {
  FieldTexts texts;
  for (const DialogKey& d : DialogKeys()) {
    std::string text;
    if (d.key->key == "AnimationType") {
      text = std::to_string(cboAniType_->currentIndex());
    } else if (auto it = controls_.find(d.key->key); it != controls_.end()) {
      if (auto* edit = qobject_cast<QLineEdit*>(it->second)) text = edit->text().toStdString();
      else if (auto* box = qobject_cast<QCheckBox*>(it->second)) text.assign(1, box->isChecked() ? '1' : '0');
      else if (auto* list = qobject_cast<QComboBox*>(it->second)) text = std::to_string(list->currentIndex());
    }
    texts.emplace(d.key->key, std::move(text));
  }
  return texts;
}

// Put as a template puts them: no rule runs while they are written, nothing is range-checked
// until the user leaves a field.
void PropertiesDialog::SetTexts(const FieldTexts& texts) {
  const bool guard = changeGuard_;
  changeGuard_ = true;
  for (const auto& [key, text] : texts) {
    const QString value = QString::fromStdString(text);
    if (key == "AnimationType") {
      const int index = CInt(Val(text));
      if (index >= 0 && index < cboAniType_->count()) cboAniType_->setCurrentIndex(index);
      continue;
    }
    const auto it = controls_.find(key);
    if (it == controls_.end()) continue;
    if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
      edit->setText(value);
    } else if (auto* box = qobject_cast<QCheckBox*>(it->second)) {
      box->setChecked(Val(text) != 0);
    } else if (auto* list = qobject_cast<QComboBox*>(it->second)) {
      const int index = CInt(Val(text));
      if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
    }
  }
  changeGuard_ = guard;
  RepaintSwatches();
  SchedulePreview();
}

void PropertiesDialog::LoadProperties() { SetTexts(StoredFieldTexts(store_)); }

void PropertiesDialog::ResetProperties() {
  SetTexts(FactoryFieldTexts());
  if (!SaveAdvancedTexts(store_, FactoryAdvancedTexts())) Exclaim(tr("The factory advanced settings could not be stored."));
}

bool PropertiesDialog::SaveProperties() {
  const FieldTexts texts = Texts();
  QString why;
  if (const auto field = FindUnstorableField(texts)) {
    // Name the field by its label, and put the cursor there to mend it.
    QWidget* control = controls_.at(field->key);
    QString name = QString::fromStdString(field->key);
    for (const QLabel* label : findChildren<QLabel*>())
      if (label->buddy() == control) name = label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':'));
    why = field->why == UnstorableField::Why::LineBreak
              ? tr("the %1 field holds a line break").arg(name)
              : tr("the %1 field is longer than %2 bytes").arg(name).arg(SettingsStore::kMaxValueBytes);
    control->setFocus();
  } else if (SaveFieldTexts(store_, texts)) {
    return true;
  } else {
    why = QString::fromStdString(store_.LastError());
  }
  Exclaim(tr("The settings could not be saved: %1. Your changes are still in this window.").arg(why));
  return false;
}

void PropertiesDialog::accept() {
  // The field being edited is range-checked first, as leaving it would.
  if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
    if (NumericField* field = NumericField::Of(edit)) field->ClampToRange();
  cmdAccept_->setFocus();
  if (SaveProperties()) QDialog::accept();
}

void PropertiesDialog::SelectEffect(int effect) {
  if (effect < 0 || effect >= fraAni_->count()) return;
  if (cboAniType_->currentIndex() != effect) cboAniType_->setCurrentIndex(effect);  // comes back here
  fraAni_->setCurrentIndex(effect);
  mnuEffect_[static_cast<size_t>(effect)]->setChecked(true);
  // Colour distribution: Fireworks, Warp, Sparklers; pixel size: every effect but the first two.
  fraPixCol_->setEnabled(effect == 0 || effect == 2 || effect == 3);
  fraPixelEnh_->setEnabled(effect >= 2);
  SchedulePreview();
}

double PropertiesDialog::Number(std::string_view key) const {
  const auto it = controls_.find(key);
  auto* edit = it != controls_.end() ? qobject_cast<QLineEdit*>(it->second) : nullptr;
  const NumericField* field = NumericField::Of(edit);
  return field ? field->Value() : 0;
}

// Writes a rule's result under the change guard; the field keeps its text when it already says so.
void PropertiesDialog::SetNumber(std::string_view key, double value) {
  const auto it = controls_.find(key);
  auto* edit = it != controls_.end() ? qobject_cast<QLineEdit*>(it->second) : nullptr;
  if (edit == nullptr || Number(key) == value) return;
  edit->setText(QString::fromStdString(FormatNumber(value)));
}

void PropertiesDialog::OnFieldEdited(std::string_view key) {
  if (key == "ColorRed" || key == "ColorGrn" || key == "ColorBlu" || key == "Galaxy_HWheelIdx") RepaintSwatches();
  if (!changeGuard_) {
    changeGuard_ = true;
    ApplyCrossFieldRules(key);
    changeGuard_ = false;
  }
  SchedulePreview();
}

void PropertiesDialog::ApplyCrossFieldRules(std::string_view key) {
  for (const auto& [units, count] : kSparkCaps)
    if (key == units || key == count)
      SetNumber(count, Clamp(Number(count), 1, IntDiv(30000, std::max(Number(units), 1.0))));
  for (const auto& [a, b] : kSharedHundreds) {
    if (key == a) SetNumber(b, Clamp(Number(b), 0, 100 - Number(a)));
    if (key == b) SetNumber(a, Clamp(Number(a), 0, 100 - Number(b)));
  }
  if (key == "ColorHueWheel") SetNumber(key, Clamp(Number(key), 0, 360));
  if (std::find(kBurstPercents.begin(), kBurstPercents.end(), key) != kBurstPercents.end()) {
    double taken = Number(key);
    for (const std::string_view other : kBurstPercents) {
      if (other == key) continue;
      SetNumber(other, Clamp(Number(other), 0, 100 - taken));
      taken += Number(other);
    }
  }
}

void PropertiesDialog::RepaintSwatches() {
  for (size_t i = 0; i < 3; ++i) {
    static constexpr std::array<std::string_view, 3> kKeys = {"ColorRed", "ColorGrn", "ColorBlu"};
    const int level = 2 * CInt(Clamp(Number(kKeys[i]), 0, 100)) + 55;
    Paint(picPixHue_[i], RGB(i == 0 ? level : 0, i == 1 ? level : 0, i == 2 ? level : 0));
  }
  Paint(picGalHue_, HueToRGB(CInt(Clamp(Number("Galaxy_HWheelIdx"), 0, 359))));
}

void PropertiesDialog::SchedulePreview() {
  if (!loading_ && preview_ != nullptr) preview_->Restart(Texts(), cboAniType_->currentIndex());
}

void PropertiesDialog::ApplyTheme(SectionId effect, int theme) {
  const FieldTexts texts = ThemeFieldTexts(effect, theme);
  if (!texts.empty()) SetTexts(texts);
}

bool PropertiesDialog::ReadTemplate(const QString& file) {
  FieldTexts texts;
  KeyTexts advanced;
  switch (ReadTemplateTexts(file.toStdString(), texts, advanced)) {
    case TemplateRead::Ok:
      break;
    case TemplateRead::Missing:
      Exclaim(tr("The template %1 does not exist.").arg(file));
      return false;
    case TemplateRead::NotAFile:
      Exclaim(tr("%1 is not a file, so it cannot be opened as a template.").arg(file));
      return false;
    case TemplateRead::Unreadable:
      Exclaim(tr("The template %1 could not be read.").arg(file));
      return false;
    case TemplateRead::TooLarge:
      Exclaim(tr("The template %1 is larger than 1 MB, more than any template holds, so nothing was changed.")
                  .arg(file));
      return false;
    case TemplateRead::NotATemplate:
      Exclaim(tr("%1 is not a Quasarine template, so nothing was changed.").arg(file));
      return false;
  }
  currentTemplate_ = file;
  SetTexts(texts);
  if (!SaveAdvancedTexts(store_, advanced))
    Exclaim(tr("The template's advanced settings could not be stored."));
  return true;
}

bool PropertiesDialog::WriteTemplate(const QString& file) {
  if (WriteTemplateTexts(file.toStdString(), Texts(), store_)) return true;
  Exclaim(tr("The template %1 could not be saved.").arg(file));
  return false;
}

void PropertiesDialog::OpenTemplate() {
  const QString file = ShowFileDialog(this, true, tr("Select Template to Open"), kTemplateTypes);
  if (!file.isEmpty()) ReadTemplate(file);
}

void PropertiesDialog::SaveTemplate(bool askForName) {
  QString file = currentTemplate_;
  if (askForName || file.isEmpty()) file = ShowFileDialog(this, false, tr("Enter or Select Template to Save"), kTemplateTypes);
  if (!file.isEmpty() && WriteTemplate(file)) currentTemplate_ = file;
}

void PropertiesDialog::AskResetProperties() {
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Quasarine"), tr("Do you really want to reset the Properties back to the factory settings?"),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer == QMessageBox::Yes) ResetProperties();
}

void PropertiesDialog::Exclaim(const QString& sentence) {
  QMessageBox::warning(this, QStringLiteral("Quasarine"), sentence);
}

}  // namespace qsrn
