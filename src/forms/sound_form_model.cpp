// The sound effect settings dialog's behaviour; see sound_form_model.h.
#include "forms/sound_form_model.h"

#include <algorithm>

#include "effects/loaders.h"
#include "render/sound.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/store.h"

namespace qsrn {

namespace {
constexpr std::string_view kSlotNames[kSoundSlotCount] = {
    "Launch",          "Standard Burst (Spherical or Geometric)",
    "Multi Burst",     "Jet Burst",
    "Scintilator",     "Sparkler",
    "Rings and Disks", "Twisters",
    "Decay Stars"};
}  // namespace

SoundFormModel::SoundFormModel(SettingsStore& store) : store_(store) {
  LoadSoundSettings(store_, soundOn_, files_);
}

std::string_view SoundFormModel::SlotName(int slot) {
  return kSlotNames[Clamp(slot, 0, kSoundSlotCount - 1)];
}

std::string SoundFormModel::Notes(std::string_view where) {
  return "1.  The program's own sound files are located in\n      " + std::string(where) +
         ".\n"
         "2.  A slight delay may occur when playing each sound file.\n"
         "3.  Sounds are played on a single track with no mixing.\n"
         "4.  You can create and/or use your own sound files.";
}

void SoundFormModel::StoreCurrent() {
  if (current_ >= 0) files_[static_cast<size_t>(current_)] = Trim(fileText_);
}

void SoundFormModel::SelectSlot(int slot) {
  StoreCurrent();
  current_ = slot >= 0 && slot < kSoundSlotCount ? slot : -1;
  fileText_ = current_ >= 0 ? files_[static_cast<size_t>(current_)] : std::string();
}

std::string_view SoundFormModel::SlotKey() const { return SoundFileKey(std::max(current_, 0)).key; }

void SoundFormModel::Play(SoundPlayer* player) const {
  if (player != nullptr && !Trim(fileText_).empty()) player->Play(fileText_);
}

void SoundFormModel::PickedFile(const std::string& path) {
  if (!path.empty()) fileText_ = path;
}

bool SoundFormModel::UseProgramSounds(const Files& ours) {
  if (ours[0].empty()) return false;
  files_ = ours;
  if (current_ >= 0) fileText_ = files_[static_cast<size_t>(current_)];
  return true;
}

bool SoundFormModel::Ok() {
  StoreCurrent();
  SettingsStore::Batch batch(store_);
  const std::string_view section = Section(SectionId::SoundFX).name;
  batch.Set(section, SoundSwitchKey().key, soundOn_ ? "1" : "0");
  for (int i = 0; i < kSoundSlotCount; ++i)
    batch.Set(section, SoundFileKey(i).key, files_[static_cast<size_t>(i)]);
  return batch.Commit();
}

}  // namespace qsrn
