// frmSoundEffects, "Sound Effect Settings": the Qt view of SoundFormModel
// (forms/sound_form_model.h, which holds the slot rules and what OK writes). Play and a
// double-click on the list play the file through the program's one sound player.
// Usage: frmSoundEffects form(store, &player, parent); form.exec();
#pragma once

#include <QDialog>
#include <QString>

#include "forms/sound_form_model.h"

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
  ~frmSoundEffects() override;

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
  int CurrentSlot() const { return model_.CurrentSlot(); }
  const SoundFormModel::Files& Files() const { return model_.files(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildSlots();
  void lstEffectType_Click(int row);
  bool SlotSelected();
  void cmdPickFile_Click();
  void cmdOurSounds_Click();
  void cmdOK_Click();
  void ShowFile();
  void ShowSoundOn();

  SoundFormModel model_;
  SoundPlayer* player_;
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
