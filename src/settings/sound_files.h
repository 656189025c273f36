// The file names of the program's own firework sounds, as the generator writes them
// (sounds/generate_sounds.cpp); each system says which folder holds them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/effect_settings.h"

namespace qsrn {

// In slot order, the launch sound first.
inline constexpr std::array<std::string_view, kSoundSlotCount> kProgramSoundNames = {
    "launch.wav",   "standard.wav", "multiburst.wav", "jetburst.wav", "scintillator.wav",
    "sparkler.wav", "rings.wav",    "twister.wav",    "decaystar.wav"};

// The full paths of the nine sounds in folder (UTF-8), joined with the system's separator.
std::array<std::string, kSoundSlotCount> SoundFilesIn(const std::string& folder, char separator);

}  // namespace qsrn
