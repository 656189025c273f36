// The windowed display remembers where it was: WindowState (2 maximised, else 0) and WindowSize,
// four zero-padded five-digit numbers in twips (left, top, width, height), in section General.
// The encoding and the store's side are here; each toolkit applies them to its window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// What is written for a window in the given state.
struct PlacementValues {
  int16_t windowState = 0;
  std::optional<std::string> windowSize;  // not written while minimised
};
PlacementValues PlacementFor(bool maximized, bool minimized, const WindowRectTwips& rect);

// A window's place in pixels: the frame's top-left and the inner size.
struct WindowPixels {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Stores the placement of the windowed display (application QSRN_SS, section General).
void StorePlacement(SettingsStore& store, bool maximized, bool minimized, const WindowPixels& place,
                    float twipsPerPixelX, float twipsPerPixelY);

// The stored state (0 normal, 1 minimised, 2 maximised) and, for a normal window with a stored
// size, its place in pixels (at least a small visible size).
struct StoredPlacement {
  int16_t state = 0;
  std::optional<WindowPixels> place;
};
StoredPlacement ReadPlacement(const SettingsStore& store, float twipsPerPixelX, float twipsPerPixelY);

}  // namespace qsrn
