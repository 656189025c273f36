// Sound playback for the fireworks: nine sound slots (launch and one per burst type) and
// PlaySoundFile, which starts a wave file asynchronously when sound is on and the slot names a
// file. The core only knows the SoundPlayer interface; the host plugs a real player into the
// Context (SDL2_mixer on this platform), and a Context without one plays nothing.
#pragma once

#include <string>

#include "settings/effect_settings.h"

namespace qsrn {

struct Context;

// Indices into EffectSettings::SoundFiles, as stored in section SoundFX.
enum SoundSlot : int {
  kSoundLaunch = 0,     // Fire_Launch
  kSoundStandard = 1,   // Fire_Standard (and every second-stage burst)
  kSoundMultiBurst = 2, // Fire_MultiBurst
  kSoundJetBurst = 3,   // Fire_JetBurst
  kSoundScintil = 4,    // Fire_Scintil
  kSoundSparkle = 5,    // Fire_Sparkle
  kSoundRingDisk = 6,   // Fire_RingDisk
  kSoundTwister = 7,    // Fire_Twister
  kSoundDecayStar = 8,  // Fire_DecayStar
};

// Starts a wave file and returns at once. One sound at a time: a new one interrupts the one
// playing. A file that is missing or cannot be played is ignored without a word.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void Play(const std::string& fileName) = 0;
};

// Plays fileName when SoundFX_ON is set and the name is not empty or blank; the name is passed
// on untrimmed. Does nothing when the Context has no player.
void PlaySoundFile(Context& ctx, const std::string& fileName);

// The file of one slot (0..8); an index outside the slots plays nothing.
void PlaySoundSlot(Context& ctx, int slot);

}  // namespace qsrn
