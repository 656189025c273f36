// frmSoundEffects, "Sound Effect Settings": the firework sounds on or off and one wave file per
// sound slot. The file box reaches its slot only when another slot is selected or OK is pressed,
// so an edit followed by Cancel is lost. Play and a double-click play the file at once, whatever
// the switch, through the program's sound player. OK writes the SoundFX section in one commit.
// Usage: frmSoundEffects form(store, &player, parent); form.exec();
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <string>

#include "settings/effect_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qsrn {

class SettingsStore;
class SoundPlayer;

class frmSoundEffects : public QDialog {
  Q_OBJECT

 public:
  // player may be null: nothing plays.
  frmSoundEffects(SettingsStore& store, SoundPlayer* player, QWidget* parent = nullptr);

  // The notes shown under the list; the first names where the program's own sounds are.
  static QString Notes(const QString& soundDirectory);

  QCheckBox* chkSoundOn() const { return chkSoundOn_; }
  QGroupBox* fraSounds() const { return fraSounds_; }
  QListWidget* lstEffectType() const { return lstEffectType_; }
  QLineEdit* txtFile() const { return txtFile_; }
  QPushButton* cmdPlay() const { return cmdPlay_; }
  QPushButton* cmdPickFile() const { return cmdPickFile_; }
  QPushButton* cmdOurSounds() const { return cmdOurSounds_; }
  QPushButton* cmdDefaults() const { return cmdDefaults_; }
  QPushButton* cmdOK() const { return cmdOK_; }
  int CurrentSlot() const { return current_; }
  const std::array<std::string, kSoundSlotCount>& Files() const { return files_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void lstEffectType_Click(int row);
  void PlayFile();
  bool SlotSelected();
  void cmdPickFile_Click();
  void cmdOurSounds_Click();
  void cmdOK_Click();
  void StoreCurrent();

  SettingsStore& store_;
  SoundPlayer* player_;
  std::array<std::string, kSoundSlotCount> files_;
  int current_ = -1;
  QCheckBox* chkSoundOn_ = nullptr;
  QGroupBox* fraSounds_ = nullptr;
  QListWidget* lstEffectType_ = nullptr;
  QLineEdit* txtFile_ = nullptr;
  QPushButton* cmdPlay_ = nullptr;
  QPushButton* cmdPickFile_ = nullptr;
  QPushButton* cmdOurSounds_ = nullptr;
  QLabel* lblNotes_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdDefaults_ = nullptr;
};

}  // namespace qsrn
