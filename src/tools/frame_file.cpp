// Frame files: the pattern check and expansion, and the PNG writer. The framebuffer's 0x00BBGGRR
// pixels are the bytes R, G, B, 0 in memory on a little-endian machine, which is exactly Qt's
// RGBX8888 layout, so the image is written without conversion there.
#include "tools/frame_file.h"

#include <QFile>
#include <QImage>
#include <bit>
#include <vector>

namespace qsrn {

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
  if (surface.Width() <= 0 || surface.Height() <= 0) return false;
  const QString name = QFile::decodeName(QByteArray::fromStdString(path));
  const int w = surface.Width(), h = surface.Height();
  if constexpr (std::endian::native == std::endian::little) {
    const QImage image(reinterpret_cast<const uchar*>(surface.Pixels()), w, h,
                       static_cast<qsizetype>(w) * 4, QImage::Format_RGBX8888);
    return image.save(name, "PNG");
  } else {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < w; ++x) {
        const int32_t c = surface.GetPixel(x, y);
        row[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      }
    }
    return image.save(name, "PNG");
  }
}

}  // namespace qsrn
