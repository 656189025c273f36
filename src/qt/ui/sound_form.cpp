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

#include "qt/ui/dialog_buttons.h"
#include "qt/ui/file_dialog.h"
#include "qt/ui/help_window.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/program_sounds.h"

namespace qsrn {

namespace {
void Exclaim(QWidget* parent, std::string_view text) {
  QMessageBox::warning(parent, QStringLiteral("Quasarine"), frmSoundEffects::tr(text.data()));
}
}  // namespace

QString frmSoundEffects::Notes(const QString& soundDirectory) {
  const QString where = soundDirectory.isEmpty() ? tr("share/quasarine/sounds beside the program")
                                                 : QDir::toNativeSeparators(soundDirectory);
  return QString::fromStdString(SoundFormModel::Notes(where.toStdString()));
}

frmSoundEffects::frmSoundEffects(SettingsStore& store, SoundPlayer* player, QWidget* parent)
    : QDialog(parent), model_(store), player_(player) {
  setObjectName(QStringLiteral("frmSoundEffects"));
  setWindowTitle(tr("Sound Effect Settings"));
  setModal(true);
  auto* top = new QVBoxLayout(this);
  chkSoundOn_ = new QCheckBox(tr("Sound Effects &Enabled"), this);
  chkSoundOn_->setObjectName(QStringLiteral("chkSoundOn"));
  top->addWidget(chkSoundOn_);

  BuildSlots();
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

  connect(chkSoundOn_, &QCheckBox::toggled, this, [this](bool on) {
    model_.SetSoundOn(on);
    ShowSoundOn();
  });
  connect(cmdDefaults_, &QPushButton::clicked, this, [this] {
    model_.Defaults();
    ShowSoundOn();
  });
  connect(cmdOK_, &QPushButton::clicked, this, &frmSoundEffects::cmdOK_Click);
  lstEffectType_->installEventFilter(this);
  txtFile_->installEventFilter(this);
  fraSounds_->setProperty("helpKey", QStringLiteral("Fire_Launch"));
  chkSoundOn_->setProperty("helpKey", QStringLiteral("SoundFX_ON"));
  InstallHelpKey(this);

  ShowSoundOn();
  adjustSize();
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

// The controls are bound to the model: they go first, while it is still there to hear a last
// change of the list's row.
frmSoundEffects::~frmSoundEffects() { qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly)); }

// The slot list, the file box and the buttons that work on the chosen slot.
void frmSoundEffects::BuildSlots() {
  fraSounds_ = new QGroupBox(this);
  fraSounds_->setObjectName(QStringLiteral("fraSounds"));
  auto* grid = new QGridLayout(fraSounds_);
  lstEffectType_ = new QListWidget(fraSounds_);
  lstEffectType_->setObjectName(QStringLiteral("lstEffectType"));
  for (int slot = 0; slot < kSoundSlotCount; ++slot)
    lstEffectType_->addItem(QString::fromLatin1(SoundFormModel::SlotName(slot).data()));
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
  connect(txtFile_, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.SetFileText(text.toStdString()); });
  connect(lstEffectType_, &QListWidget::currentRowChanged, this, &frmSoundEffects::lstEffectType_Click);
  connect(lstEffectType_, &QListWidget::itemDoubleClicked, this, [this] { model_.Play(player_); });
  connect(cmdPlay_, &QPushButton::clicked, this, [this] {
    if (SlotSelected()) model_.Play(player_);
  });
  connect(cmdPickFile_, &QPushButton::clicked, this, &frmSoundEffects::cmdPickFile_Click);
  connect(cmdOurSounds_, &QPushButton::clicked, this, &frmSoundEffects::cmdOurSounds_Click);
}

void frmSoundEffects::ShowSoundOn() {
  chkSoundOn_->setChecked(model_.SoundOn());
  fraSounds_->setEnabled(model_.SlotsEnabled());
}

void frmSoundEffects::ShowFile() {
  const QString text = QString::fromStdString(model_.FileText());
  if (text != txtFile_->text()) txtFile_->setText(text);
}

void frmSoundEffects::lstEffectType_Click(int row) {
  model_.SelectSlot(row);
  // F1 on the file box or the list opens the chosen slot's row of the manual.
  const std::string_view key = model_.SlotKey();
  fraSounds_->setProperty("helpKey", QString::fromLatin1(key.data(), static_cast<int>(key.size())));
  ShowFile();
}

bool frmSoundEffects::SlotSelected() {
  if (model_.SlotSelected()) return true;
  Exclaim(this, SoundFormModel::NoSlotMessage());
  lstEffectType_->setFocus();
  return false;
}

void frmSoundEffects::cmdPickFile_Click() {
  if (!SlotSelected()) return;
  const QString path = ShowFileDialog(this, true, tr(SoundFormModel::kPickTitle.data()),
                                      QString::fromLatin1(SoundFormModel::kPickTypes.data()));
  model_.PickedFile(path.toStdString());
  ShowFile();
}

// Our nine sounds into the nine slots (the list and the box follow).
void frmSoundEffects::cmdOurSounds_Click() {
  if (!model_.UseProgramSounds(ProgramSoundFiles())) {
    Exclaim(this, SoundFormModel::NoProgramSoundsMessage());
    return;
  }
  ShowFile();
}

void frmSoundEffects::cmdOK_Click() {
  if (!model_.Ok()) {
    Exclaim(this, SoundFormModel::NotSavedMessage());
    return;
  }
  accept();
}

// The Delete key clears the file box, from the list or from the box itself.
bool frmSoundEffects::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == lstEffectType_ || watched == txtFile_) && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    txtFile_->clear();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qsrn
