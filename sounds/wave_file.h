// Writing a wave file: 16-bit stereo PCM with the same sample on both channels. Our shipped
// sounds are made this way, and the sound tests make their signals the same way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qsrn {

// False when the file could not be written whole.
bool WriteWave(const std::filesystem::path& path, const std::vector<int16_t>& mono, uint32_t rate);

}  // namespace qsrn
