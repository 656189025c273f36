// The windowed display's placement in the store; see window_placement.h.
#include "run/window_placement.h"

#include <algorithm>
#include <cstdio>

#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/store.h"

namespace qsrn {

namespace {

std::string_view GeneralSection() { return Section(SectionId::General).name; }
// A restored window smaller than this (a damaged WindowSize) would be all but invisible.
constexpr int kMinRestoredPixels = 64;

std::string Format5(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%05d", static_cast<int>(std::clamp<int32_t>(v, 0, 99999)));
  return buf;
}

int32_t FieldAt(std::string_view text, size_t start) {
  if (start >= text.size()) return 0;
  return CLng(Val(text.substr(start, 5)));
}

int ToPixels(int32_t twips, float twipsPerPixel) {
  return CLng(twips / static_cast<double>(twipsPerPixel > 0 ? twipsPerPixel : 15));
}

int32_t ToTwips(int pixels, float twipsPerPixel) { return CLng(pixels * static_cast<double>(twipsPerPixel)); }

}  // namespace

std::string EncodeWindowSize(const WindowRectTwips& r) {
  return Format5(r.left) + Format5(r.top) + Format5(r.width) + Format5(r.height);
}

std::optional<WindowRectTwips> DecodeWindowSize(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  return WindowRectTwips{FieldAt(trimmed, 0), FieldAt(trimmed, 5), FieldAt(trimmed, 10),
                         FieldAt(trimmed, 15)};
}

PlacementValues PlacementFor(bool maximized, bool minimized, const WindowRectTwips& rect) {
  PlacementValues v;
  v.windowState = maximized ? 2 : 0;
  if (!minimized) v.windowSize = EncodeWindowSize(rect);
  return v;
}

void StorePlacement(SettingsStore& store, bool maximized, bool minimized, const WindowPixels& place,
                    float twipsPerPixelX, float twipsPerPixelY) {
  const WindowRectTwips rect{ToTwips(place.left, twipsPerPixelX), ToTwips(place.top, twipsPerPixelY),
                             ToTwips(place.width, twipsPerPixelX), ToTwips(place.height, twipsPerPixelY)};
  const PlacementValues v = PlacementFor(maximized, minimized, rect);
  SettingsStore::Batch batch(store);
  batch.Set(GeneralSection(), WindowStateKey().key, std::to_string(v.windowState));
  if (v.windowSize) batch.Set(GeneralSection(), WindowSizeKey().key, *v.windowSize);
  batch.Commit();
}

StoredPlacement ReadPlacement(const SettingsStore& store, float twipsPerPixelX, float twipsPerPixelY) {
  StoredPlacement stored;
  stored.state = store.GetSettingInt(kAppName, GeneralSection(), WindowStateKey().key, 0);
  const auto rect =
      DecodeWindowSize(store.GetSettingString(kAppName, GeneralSection(), WindowSizeKey().key, ""));
  if (!rect || stored.state != 0) return stored;
  stored.place = WindowPixels{ToPixels(rect->left, twipsPerPixelX), ToPixels(rect->top, twipsPerPixelY),
                              std::max(ToPixels(rect->width, twipsPerPixelX), kMinRestoredPixels),
                              std::max(ToPixels(rect->height, twipsPerPixelY), kMinRestoredPixels)};
  return stored;
}

}  // namespace qsrn
