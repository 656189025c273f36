// The shared part of the animated images: the frame sequence and what changed; see
// animation_file.h.
#include "tools/animation_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qsrn {

namespace {
bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const size_t n = std::strlen(suffix);
  if (text.size() < n) return false;
  return std::equal(text.end() - static_cast<std::ptrdiff_t>(n), text.end(), suffix,
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}
}  // namespace

std::unique_ptr<AnimationFile> AnimationFile::ForName(const std::string& path) {
  if (EndsWithNoCase(path, ".webp")) return CreateWebpAnimation(path);
  if (EndsWithNoCase(path, ".gif")) return CreateGifAnimation(path);
  return nullptr;
}

bool AnimationFile::IsAnimationName(const std::string& path) {
  return EndsWithNoCase(path, ".webp") || EndsWithNoCase(path, ".gif");
}

FrameRect AnimationFile::ChangedRect(const Surface& surface) const {
  const int32_t w = surface.Width(), h = surface.Height();
  if (previous_.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) return {0, 0, w, h};
  const uint32_t* now = surface.Pixels();
  int32_t x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* a = now + static_cast<size_t>(y) * w;
    const uint32_t* b = previous_.data() + static_cast<size_t>(y) * w;
    if (std::memcmp(a, b, static_cast<size_t>(w) * sizeof(uint32_t)) == 0) continue;
    y0 = std::min(y0, y);
    y1 = y;
    int32_t left = 0, right = w - 1;
    while (a[left] == b[left]) ++left;
    while (a[right] == b[right]) --right;
    x0 = std::min(x0, left);
    x1 = std::max(x1, right);
  }
  if (x1 < 0) return {0, 0, std::min(w, 2), std::min(h, 2)};  // unchanged: a token frame
  x0 &= ~1;
  y0 &= ~1;
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

bool AnimationFile::Add(const Surface& surface, int32_t durationMs) {
  if (frames_ == 0) {
    width_ = surface.Width();
    height_ = surface.Height();
  } else if (surface.Width() != width_ || surface.Height() != height_) {
    return false;
  }
  const FrameRect rect = ChangedRect(surface);
  if (!AddFrame(surface, rect, durationMs)) return false;
  previous_.assign(surface.Pixels(), surface.Pixels() + static_cast<size_t>(width_) * height_);
  ++frames_;
  return true;
}

}  // namespace qsrn
