// The sound effect settings dialog; see sound_form.h.
#include "qt/ui/sound_form.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "render/sound.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/store.h"
#include "qt/ui/dialog_buttons.h"
#include "qt/ui/file_dialog.h"
#include "qt/ui/help_window.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/program_sounds.h"

namespace qsrn {

namespace {
// The slot names in slot order.
constexpr const char* kSlotNames[kSoundSlotCount] = {
    "Launch", "Standard Burst (Spherical or Geometric)", "Multi Burst", "Jet Burst", "Scintilator",
    "Sparkler", "Rings and Disks", "Twisters", "Decay Stars"};

void Exclaim(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Quasarine"), text);
}
}  // namespace

QString frmSoundEffects::Notes(const QString& soundDirectory) {
  const QString where = soundDirectory.isEmpty() ? tr("share/quasarine/sounds beside the program")
                                                 : QDir::toNativeSeparators(soundDirectory);
  return QStringList{tr("1.  The program's own sound files are located in"), QStringLiteral("      ") + where + ".",
                     tr("2.  A slight delay may occur when playing each sound file."),
                     tr("3.  Sounds are played on a single track with no mixing."),
                     tr("4.  You can create and/or use your own sound files.")}
      .join(QLatin1Char('\n'));
}

frmSoundEffects::frmSoundEffects(SettingsStore& store, SoundPlayer* player, QWidget* parent)
    : QDialog(parent), store_(store), player_(player) {
  setObjectName(QStringLiteral("frmSoundEffects"));
  setWindowTitle(tr("Sound Effect Settings"));
  setModal(true);
  auto* top = new QVBoxLayout(this);
  chkSoundOn_ = new QCheckBox(tr("Sound Effects &Enabled"), this);
  chkSoundOn_->setObjectName(QStringLiteral("chkSoundOn"));
  top->addWidget(chkSoundOn_);

  fraSounds_ = new QGroupBox(this);
  fraSounds_->setObjectName(QStringLiteral("fraSounds"));
  auto* grid = new QGridLayout(fraSounds_);
  lstEffectType_ = new QListWidget(fraSounds_);
  lstEffectType_->setObjectName(QStringLiteral("lstEffectType"));
  for (const char* name : kSlotNames) lstEffectType_->addItem(QString::fromLatin1(name));
  lstEffectType_->setCurrentRow(-1);
  auto* lblBurstTypes = new QLabel(tr("Fireworks &Burst Types:"), fraSounds_);
  lblBurstTypes->setBuddy(lstEffectType_);
  txtFile_ = new QLineEdit(fraSounds_);
  txtFile_->setObjectName(QStringLiteral("txtFile"));
  DropPastedLineBreaks(txtFile_);
  auto* lblFile = new QLabel(tr("&Filename:"), fraSounds_);
  lblFile->setBuddy(txtFile_);
  cmdPlay_ = new QPushButton(tr("&Play"), fraSounds_);
  cmdPlay_->setObjectName(QStringLiteral("cmdPlay"));
  cmdPickFile_ = new QPushButton(tr("Bro&wse..."), fraSounds_);
  cmdPickFile_->setObjectName(QStringLiteral("cmdPickFile"));
  cmdOurSounds_ = new QPushButton(tr("Defaults for the &sound files"), fraSounds_);
  cmdOurSounds_->setObjectName(QStringLiteral("cmdOurSounds"));
  grid->addWidget(lblBurstTypes, 0, 0, 1, 3);
  grid->addWidget(lstEffectType_, 1, 0, 1, 3);
  grid->addWidget(lblFile, 2, 0, 1, 3);
  grid->addWidget(txtFile_, 3, 0, 1, 3);
  grid->addWidget(cmdPlay_, 4, 0);
  grid->addWidget(cmdPickFile_, 4, 1);
  grid->addWidget(cmdOurSounds_, 4, 2);
  top->addWidget(fraSounds_);

  auto* fraNote = new QGroupBox(tr("Notes:"), this);
  lblNotes_ = new QLabel(Notes(ProgramSoundDirectory()), fraNote);
  lblNotes_->setObjectName(QStringLiteral("lblNotes"));
  lblNotes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  (new QVBoxLayout(fraNote))->addWidget(lblNotes_);
  top->addWidget(fraNote);

  const DialogButtons buttons = AddDialogButtons(this, top);
  cmdDefaults_ = buttons.cmdDefaults;
  cmdOK_ = buttons.cmdOK;

  connect(chkSoundOn_, &QCheckBox::toggled, fraSounds_, &QWidget::setEnabled);
  connect(lstEffectType_, &QListWidget::currentRowChanged, this, &frmSoundEffects::lstEffectType_Click);
  connect(lstEffectType_, &QListWidget::itemDoubleClicked, this, &frmSoundEffects::PlayFile);
  connect(cmdPlay_, &QPushButton::clicked, this, [this] { if (SlotSelected()) PlayFile(); });
  connect(cmdPickFile_, &QPushButton::clicked, this, &frmSoundEffects::cmdPickFile_Click);
  connect(cmdOurSounds_, &QPushButton::clicked, this, &frmSoundEffects::cmdOurSounds_Click);
  connect(cmdDefaults_, &QPushButton::clicked, this, [this] { chkSoundOn_->setChecked(false); });
  connect(cmdOK_, &QPushButton::clicked, this, &frmSoundEffects::cmdOK_Click);
  lstEffectType_->installEventFilter(this);
  txtFile_->installEventFilter(this);
  fraSounds_->setProperty("helpKey", QStringLiteral("Fire_Launch"));
  chkSoundOn_->setProperty("helpKey", QStringLiteral("SoundFX_ON"));
  InstallHelpKey(this);

  bool on = false;
  LoadSoundSettings(store_, on, files_);
  chkSoundOn_->setChecked(on);
  fraSounds_->setEnabled(on);
  current_ = -1;
  adjustSize();
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void frmSoundEffects::StoreCurrent() {
  if (current_ >= 0) files_[static_cast<size_t>(current_)] = Trim(txtFile_->text().toStdString());
}

void frmSoundEffects::lstEffectType_Click(int row) {
  StoreCurrent();
  current_ = row;
  // F1 on the file box or the list opens the chosen slot's row of the manual.
  const std::string_view key = SoundFileKey(std::max(row, 0)).key;
  fraSounds_->setProperty("helpKey", QString::fromLatin1(key.data(), static_cast<int>(key.size())));
  txtFile_->setText(row >= 0 ? QString::fromStdString(files_[static_cast<size_t>(row)]) : QString());
}

// At once, whatever the switch: the player itself refuses what is not a small regular file.
void frmSoundEffects::PlayFile() {
  const std::string name = txtFile_->text().toStdString();
  if (player_ != nullptr && !Trim(name).empty()) player_->Play(name);
}

bool frmSoundEffects::SlotSelected() {
  if (lstEffectType_->currentRow() >= 0) return true;
  Exclaim(this, tr("Please select an Effect Type."));
  lstEffectType_->setFocus();
  return false;
}

// A cancelled file dialog leaves the name as it was (it does not clear the slot).
void frmSoundEffects::cmdPickFile_Click() {
  if (!SlotSelected()) return;
  const QString path = ShowFileDialog(this, true, tr("Select Quasarine Audio File"),
                                      QStringLiteral("Waveforms (*.wav)|*.wav|All Files (*.*)|*.*"));
  if (!path.isEmpty()) txtFile_->setText(path);
}

// Our nine sounds into the nine slots (the list and the box follow).
void frmSoundEffects::cmdOurSounds_Click() {
  const auto ours = ProgramSoundFiles();
  if (ours[0].empty()) {
    Exclaim(this, tr("The program's own sound files were not found."));
    return;
  }
  files_ = ours;
  if (current_ >= 0) txtFile_->setText(QString::fromStdString(files_[static_cast<size_t>(current_)]));
}

void frmSoundEffects::cmdOK_Click() {
  StoreCurrent();
  SettingsStore::Batch batch(store_);
  const std::string_view section = Section(SectionId::SoundFX).name;
  batch.Set(section, SoundSwitchKey().key, chkSoundOn_->isChecked() ? "1" : "0");
  for (int i = 0; i < kSoundSlotCount; ++i) batch.Set(section, SoundFileKey(i).key, files_[static_cast<size_t>(i)]);
  if (!batch.Commit()) {
    Exclaim(this, tr("The sound settings could not be saved."));
    return;
  }
  accept();
}

// The Delete key clears the file box, from the list or from the box itself.
bool frmSoundEffects::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == lstEffectType_ || watched == txtFile_) && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    txtFile_->clear();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qsrn
