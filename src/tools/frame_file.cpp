// Frame files: the pattern check and expansion, and the PNG writer: 8-bit RGB rows, unfiltered,
// compressed by zlib into one image-data chunk.
#include "tools/frame_file.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "settings/file_system.h"

namespace qsrn {

namespace {

uint8_t Byte(uint32_t value, int shift) { return static_cast<uint8_t>(value >> shift); }

// One chunk: its length and type, the data, and the CRC of type and data, big-endian.
bool WriteChunk(FILE* file, const char type[4], const uint8_t* data, size_t size) {
  const auto n = static_cast<uint32_t>(size);
  const uint8_t length[] = {Byte(n, 24), Byte(n, 16), Byte(n, 8), Byte(n, 0)};
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
  if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
  const auto c = static_cast<uint32_t>(crc);
  const uint8_t check[] = {Byte(c, 24), Byte(c, 16), Byte(c, 8), Byte(c, 0)};
  return std::fwrite(length, 1, 4, file) == 4 && std::fwrite(type, 1, 4, file) == 4 &&
         (size == 0 || std::fwrite(data, 1, size, file) == size) && std::fwrite(check, 1, 4, file) == 4;
}

}  // namespace

std::optional<FramePattern> ParseFramePattern(std::string_view file) {
  FramePattern p;
  std::string* out = &p.prefix;
  for (size_t i = 0; i < file.size(); ++i) {
    if (file[i] != '%') {
      out->push_back(file[i]);
      continue;
    }
    if (++i >= file.size()) return std::nullopt;
    if (file[i] == '%') {
      out->push_back('%');
      continue;
    }
    if (p.numbered) return std::nullopt;  // a second conversion
    if (file[i] == '0') {
      p.zeroPad = true;
      if (++i >= file.size()) return std::nullopt;
    }
    if (file[i] >= '1' && file[i] <= '9') {
      p.width = file[i] - '0';
      if (++i >= file.size()) return std::nullopt;
    }
    if (file[i] != 'd' && file[i] != 'i' && file[i] != 'u') return std::nullopt;
    p.numbered = true;
    out = &p.suffix;
  }
  return p;
}

std::string FrameFileName(const FramePattern& pattern, int32_t n) {
  if (!pattern.numbered) return pattern.prefix;
  std::string digits = std::to_string(n);
  if (static_cast<int>(digits.size()) < pattern.width)
    digits.insert(0, static_cast<size_t>(pattern.width) - digits.size(), pattern.zeroPad ? '0' : ' ');
  return pattern.prefix + digits + pattern.suffix;
}

bool WritePng(const Surface& surface, const std::string& path) {
  const int32_t w = surface.Width(), h = surface.Height();
  if (w <= 0 || h <= 0) return false;
  // Each row: the filter type 0 (none), then R, G, B of every pixel (0x00BBGGRR on the surface).
  const size_t stride = 1 + static_cast<size_t>(w) * 3;
  std::vector<uint8_t> raw(stride * static_cast<size_t>(h));
  const uint32_t* pixel = surface.Pixels();
  for (uint8_t* out = raw.data(); out != raw.data() + raw.size();) {
    *out++ = 0;
    for (int32_t x = 0; x < w; ++x, ++pixel) {
      *out++ = Byte(*pixel, 0);
      *out++ = Byte(*pixel, 8);
      *out++ = Byte(*pixel, 16);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
    return false;
  packed.resize(packedSize);

  std::unique_ptr<FILE, int (*)(FILE*)> file(files::OpenToWrite(files::PathFromUtf8(path)), std::fclose);
  if (!file) return false;
  bool ok = std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, file.get()) == 8;
  const uint8_t header[] = {Byte(w, 24), Byte(w, 16), Byte(w, 8), Byte(w, 0), Byte(h, 24), Byte(h, 16), Byte(h, 8),
                            Byte(h, 0), 8, 2, 0, 0, 0};  // 8 bits per channel, RGB, no interlace
  ok = ok && WriteChunk(file.get(), "IHDR", header, sizeof header);
  ok = ok && WriteChunk(file.get(), "IDAT", packed.data(), packed.size());
  ok = ok && WriteChunk(file.get(), "IEND", nullptr, 0);
  ok = std::fflush(file.get()) == 0 && ok;
  return std::fclose(file.release()) == 0 && ok;  // a full disk may show only now
}

}  // namespace qsrn
