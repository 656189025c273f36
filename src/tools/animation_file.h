// --render into one animated image: FILE.webp (lossless WebP) or FILE.gif (a fixed palette of 252
// colours). Each frame is stored as the rectangle that changed since the one before, but every
// frame is kept, changed or not, so the file holds exactly the frames that were drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/surface.h"

namespace qsrn {

// The part of a frame that differs from the previous one; never empty (an unchanged frame still
// is a frame). WebP wants even offsets, so the left and top edges are rounded down to even.
struct FrameRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

class AnimationFile {
 public:
  virtual ~AnimationFile() = default;
  // The writer for a name ending in .webp or .gif (any case); nullptr for any other name.
  static std::unique_ptr<AnimationFile> ForName(const std::string& path);
  static bool IsAnimationName(const std::string& path);

  // Adds the surface as the next frame, shown for durationMs.
  bool Add(const Surface& surface, int32_t durationMs);
  // Writes the file; false when it cannot be written.
  virtual bool Finish() = 0;
  int32_t frames() const { return frames_; }

 protected:
  explicit AnimationFile(std::string path) : path_(std::move(path)) {}
  // One frame: the rectangle `rect` of `surface` (the whole canvas is surface-sized).
  virtual bool AddFrame(const Surface& surface, const FrameRect& rect, int32_t durationMs) = 0;

  std::string path_;
  int32_t width_ = 0, height_ = 0;  // of the first frame; later frames must match

 private:
  FrameRect ChangedRect(const Surface& surface) const;
  std::vector<uint32_t> previous_;
  int32_t frames_ = 0;
};

std::unique_ptr<AnimationFile> CreateWebpAnimation(const std::string& path);
std::unique_ptr<AnimationFile> CreateGifAnimation(const std::string& path);

}  // namespace qsrn
