// FILE.gif: GIF89a with one global palette (a 6 x 7 x 6 colour cube, black first), each frame's
// changed rectangle as an LZW-compressed image, looping forever.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "render/color.h"
#include "settings/file_system.h"
#include "tools/animation_file.h"

namespace qsrn {

namespace {

constexpr int kRedLevels = 6, kGreenLevels = 7, kBlueLevels = 6;

uint8_t PaletteIndex(uint32_t color) {
  const auto level = [](int value, int levels) { return (value * (levels - 1) + 127) / 255; };
  return static_cast<uint8_t>(level(RedOf(static_cast<int32_t>(color)), kRedLevels) * kGreenLevels * kBlueLevels +
                              level(GreenOf(static_cast<int32_t>(color)), kGreenLevels) * kBlueLevels +
                              level(BlueOf(static_cast<int32_t>(color)), kBlueLevels));
}

// Variable-width LZW codes, least significant bit first, cut into sub-blocks of at most 255 bytes.
class CodeWriter {
 public:
  explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(int code, int width) {
    bits_ |= static_cast<uint32_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      Byte(static_cast<uint8_t>(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  void End() {
    if (count_ > 0) Byte(static_cast<uint8_t>(bits_ & 0xFF));
    if (!block_.empty()) Flush();
    out_.push_back(0);  // block terminator
  }

 private:
  void Byte(uint8_t b) {
    block_.push_back(b);
    if (block_.size() == 255) Flush();
  }
  void Flush() {
    out_.push_back(static_cast<uint8_t>(block_.size()));
    out_.insert(out_.end(), block_.begin(), block_.end());
    block_.clear();
  }
  std::vector<uint8_t>& out_;
  std::vector<uint8_t> block_;
  uint32_t bits_ = 0;
  int count_ = 0;
};

class GifAnimation : public AnimationFile {
 public:
  explicit GifAnimation(const std::string& path) : AnimationFile(path), next_(4096 * 256) {}

  bool AddFrame(const Surface& surface, const FrameRect& rect, int32_t durationMs) override {
    if (frames() == 0) Header();
    // Hundredths of a second, as many as the format's 16 bits hold (655.35 s).
    const auto delay = static_cast<int>(std::clamp<int64_t>((int64_t{durationMs} + 5) / 10, 0, 0xFFFF));
    const uint8_t control[] = {0x21, 0xF9, 4, 0x04 /* keep the frame */, static_cast<uint8_t>(delay & 0xFF),
                               static_cast<uint8_t>(delay >> 8), 0, 0};
    out_.insert(out_.end(), std::begin(control), std::end(control));
    out_.push_back(0x2C);
    for (int32_t v : {rect.x, rect.y, rect.width, rect.height}) Word(v);
    out_.push_back(0);  // no local palette, not interlaced
    indexes_.resize(static_cast<size_t>(rect.width) * rect.height);
    size_t i = 0;
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
      const uint32_t* row = surface.Pixels() + static_cast<size_t>(y) * surface.Width();
      for (int32_t x = rect.x; x < rect.x + rect.width; ++x) indexes_[i++] = PaletteIndex(row[x]);
    }
    Compress();
    return true;
  }

  bool Finish() override {
    if (frames() == 0) return false;
    out_.push_back(0x3B);
    std::FILE* f = files::OpenToWrite(files::PathFromUtf8(path_));
    bool ok = f != nullptr && std::fwrite(out_.data(), 1, out_.size(), f) == out_.size();
    if (f != nullptr && std::fclose(f) != 0) ok = false;
    return ok;
  }

 private:
  void Word(int32_t v) {
    out_.push_back(static_cast<uint8_t>(v & 0xFF));
    out_.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }

  void Header() {
    const char signature[] = "GIF89a";
    out_.insert(out_.end(), signature, signature + 6);
    Word(width_);
    Word(height_);
    out_.push_back(0xF7);  // a global palette of 256 entries
    out_.push_back(0);
    out_.push_back(0);
    for (int i = 0; i < 256; ++i) {
      const int r = i / (kGreenLevels * kBlueLevels), g = i / kBlueLevels % kGreenLevels, b = i % kBlueLevels;
      const bool inCube = i < kRedLevels * kGreenLevels * kBlueLevels;
      out_.push_back(static_cast<uint8_t>(inCube ? r * 255 / (kRedLevels - 1) : 0));
      out_.push_back(static_cast<uint8_t>(inCube ? g * 255 / (kGreenLevels - 1) : 0));
      out_.push_back(static_cast<uint8_t>(inCube ? b * 255 / (kBlueLevels - 1) : 0));
    }
    const uint8_t loop[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    out_.insert(out_.end(), std::begin(loop), std::end(loop));
  }

  // LZW with 8-bit symbols: codes 256 (clear) and 257 (end), at most 12 bits wide.
  void Compress() {
    constexpr int kClear = 256, kEnd = 257, kMaxCode = 4095;
    out_.push_back(8);
    CodeWriter writer(out_);
    auto reset = [&] {
      std::fill(next_.begin(), next_.end(), uint16_t{0});
      nextCode_ = kEnd + 1;
      width_bits_ = 9;
    };
    reset();
    writer.Put(kClear, width_bits_);
    int prefix = indexes_.empty() ? -1 : indexes_[0];
    for (size_t i = 1; i < indexes_.size(); ++i) {
      const uint8_t symbol = indexes_[i];
      const size_t slot = static_cast<size_t>(prefix) * 256 + symbol;
      if (next_[slot] != 0) {
        prefix = next_[slot];
        continue;
      }
      writer.Put(prefix, width_bits_);
      if (nextCode_ <= kMaxCode) {
        next_[slot] = static_cast<uint16_t>(nextCode_);
        if (nextCode_ == (1 << width_bits_) && width_bits_ < 12) ++width_bits_;
        ++nextCode_;
      } else {
        writer.Put(kClear, width_bits_);
        reset();
      }
      prefix = symbol;
    }
    if (prefix >= 0) writer.Put(prefix, width_bits_);
    writer.Put(kEnd, width_bits_);
    writer.End();
  }

  std::vector<uint8_t> out_;
  std::vector<uint8_t> indexes_;
  std::vector<uint16_t> next_;  // (prefix code, symbol) -> code; 0 for none
  int nextCode_ = 0;
  int width_bits_ = 9;
};

}  // namespace

std::unique_ptr<AnimationFile> CreateGifAnimation(const std::string& path) {
  return std::make_unique<GifAnimation>(path);
}

}  // namespace qsrn
