// The few native window calls of the preview: whether the native window given with /P still
// exists, and its inner size. X11 only; elsewhere the window never exists.
#pragma once

#include <cstdint>
#include <optional>

namespace qsrn {

struct NativeSize {
  int32_t width = 0;
  int32_t height = 0;
};

bool NativeWindowExists(uint64_t id);
// The root window of the default screen; 0 without X11.
uint32_t NativeRootWindow();
// In physical pixels; nullopt when the window does not exist.
std::optional<NativeSize> NativeWindowSize(uint64_t id);

}  // namespace qsrn
