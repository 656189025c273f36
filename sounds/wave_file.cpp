#include "wave_file.h"

#include <fstream>

namespace qsrn {

bool WriteWave(const std::filesystem::path& path, const std::vector<int16_t>& mono, uint32_t rate) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  // Wave headers are little-endian whatever the machine is.
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF)); };
  auto u16 = [&](uint16_t v) { out.put(static_cast<char>(v & 0xFF)); out.put(static_cast<char>(v >> 8)); };
  const auto dataBytes = static_cast<uint32_t>(mono.size() * 4);
  out.write("RIFF", 4);
  u32(36 + dataBytes);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);  // PCM
  u16(2);  // stereo
  u32(rate);
  u32(rate * 4);
  u16(4);
  u16(16);
  out.write("data", 4);
  u32(dataBytes);
  for (int16_t s : mono) {
    u16(static_cast<uint16_t>(s));
    u16(static_cast<uint16_t>(s));
  }
  return static_cast<bool>(out);
}

}  // namespace qsrn
