// The sound effect settings dialog's behaviour, for any toolkit: the firework sounds on or off
// and one wave file per sound slot. The file box reaches its slot only when another slot is
// selected or Ok is pressed, so an edit followed by closing without Ok is lost. Play plays the
// box's file at once, whatever the switch. Ok writes the SoundFX section in one commit.
// Usage:
//   SoundFormModel model(store);
//   model.SelectSlot(3); model.SetFileText("/s/jet.wav");
//   if (model.Ok()) close();
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "settings/effect_settings.h"

namespace qsrn {

class SettingsStore;
class SoundPlayer;

class SoundFormModel {
 public:
  using Files = std::array<std::string, kSoundSlotCount>;

  explicit SoundFormModel(SettingsStore& store);

  // The slot names in slot order, as the list shows them.
  static std::string_view SlotName(int slot);

  bool SoundOn() const { return soundOn_; }
  void SetSoundOn(bool on) { soundOn_ = on; }
  // The list, the file box and its buttons work only while the sounds are on.
  bool SlotsEnabled() const { return soundOn_; }

  // -1 while no slot is selected.
  int CurrentSlot() const { return current_; }
  // The box's text goes (trimmed) into the slot that was current; the box then shows the new
  // slot's file (nothing for -1).
  void SelectSlot(int slot);
  const std::string& FileText() const { return fileText_; }
  void SetFileText(std::string text) { fileText_ = std::move(text); }
  const Files& files() const { return files_; }
  // The key of the current slot's file (the first slot's while none is selected), for help.
  std::string_view SlotKey() const;

  // Play and Browse need a slot: false, with this sentence for the user, when none is selected.
  bool SlotSelected() const { return current_ >= 0; }
  static std::string_view NoSlotMessage() { return "Please select an Effect Type."; }
  // Plays the box's file when it is not blank (the player refuses what is not a small regular file).
  void Play(SoundPlayer* player) const;
  // A file chosen in the file dialog; a cancelled one ("") leaves the box as it was.
  void PickedFile(const std::string& path);
  // Puts the program's own nine sounds into the slots; false when they were not found.
  bool UseProgramSounds(const Files& ours);
  static std::string_view NoProgramSoundsMessage() { return "The program's own sound files were not found."; }
  // What Browse asks for: the file dialog's title and its types.
  static constexpr std::string_view kPickTitle = "Select Quasarine Audio File";
  static constexpr std::string_view kPickTypes = "Waveforms (*.wav)|*.wav|All Files (*.*)|*.*";
  // The notes shown under the list, lines joined by "\n"; the first names where (the folder of
  // the program's own sounds, as the user reads it).
  static std::string Notes(std::string_view where);
  // Turns the sounds off; the file names stay.
  void Defaults() { soundOn_ = false; }
  // Stores the box into the current slot and writes the section; false when the store refused.
  bool Ok();
  static std::string_view NotSavedMessage() { return "The sound settings could not be saved."; }

 private:
  void StoreCurrent();

  SettingsStore& store_;
  bool soundOn_ = false;
  Files files_;
  int current_ = -1;
  std::string fileText_;
};

}  // namespace qsrn
