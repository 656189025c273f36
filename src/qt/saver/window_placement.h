// The windowed display remembers where it was: WindowState (2 maximised, else 0) and WindowSize,
// four zero-padded five-digit numbers in twips (left, top, width, height), in section General.
// The encoding is plain functions; SaveWindowPlacement and RestoreWindowPlacement apply it to a
// window and the store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace qsrn {

class SettingsStore;

struct WindowRectTwips {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Each number formatted "00000"; left and top below 0 as 00000. Numbers are bounded to
// 0..99999 so that a very large window cannot shift the fixed columns of the next number.
std::string EncodeWindowSize(const WindowRectTwips& rect);

// Trimmed text, empty: nothing. Otherwise characters 1-5, 6-10, 11-15, 16-20, each by the
// numeric-prefix rule (a missing or non-numeric part gives 0).
std::optional<WindowRectTwips> DecodeWindowSize(std::string_view text);

// What SaveWindowPlacement writes for a window in the given state.
struct PlacementValues {
  int16_t windowState = 0;
  std::optional<std::string> windowSize;  // not written while minimised
};
PlacementValues PlacementFor(bool maximized, bool minimized, const WindowRectTwips& rect);

// The placement routines of the windowed display (application QSRN_SS, section General).
// Positions are the window frame's top-left, sizes its inner size, both in logical pixels.
void SaveWindowPlacement(const QWidget& form, SettingsStore& store, float twipsPerPixelX,
                         float twipsPerPixelY);
void RestoreWindowPlacement(QWidget& form, const SettingsStore& store, float twipsPerPixelX,
                            float twipsPerPixelY);

}  // namespace qsrn
