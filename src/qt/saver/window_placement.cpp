// The windowed display's placement in the store; see window_placement.h.
#include "qt/saver/window_placement.h"

#include <QWidget>
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

void SaveWindowPlacement(const QWidget& form, SettingsStore& store, float twipsPerPixelX,
                         float twipsPerPixelY) {
  const QPoint pos = form.pos();
  const QSize size = form.size();
  const WindowRectTwips rect{CLng(pos.x() * static_cast<double>(twipsPerPixelX)),
                             CLng(pos.y() * static_cast<double>(twipsPerPixelY)),
                             CLng(size.width() * static_cast<double>(twipsPerPixelX)),
                             CLng(size.height() * static_cast<double>(twipsPerPixelY))};
  const PlacementValues v = PlacementFor(form.isMaximized(), form.isMinimized(), rect);
  SettingsStore::Batch batch(store);
  batch.Set(GeneralSection(), WindowStateKey().key, std::to_string(v.windowState));
  if (v.windowSize) batch.Set(GeneralSection(), WindowSizeKey().key, *v.windowSize);
  batch.Commit();
}

void RestoreWindowPlacement(QWidget& form, const SettingsStore& store, float twipsPerPixelX,
                            float twipsPerPixelY) {
  const int16_t state = store.GetSettingInt(kAppName, GeneralSection(), WindowStateKey().key, 0);
  switch (state) {
    case 2: form.setWindowState(Qt::WindowMaximized); break;
    case 1: form.setWindowState(Qt::WindowMinimized); break;
    default: form.setWindowState(Qt::WindowNoState); break;
  }
  const auto rect = DecodeWindowSize(store.GetSettingString(kAppName, GeneralSection(), WindowSizeKey().key, ""));
  if (!rect || state != 0) return;
  form.move(ToPixels(rect->left, twipsPerPixelX), ToPixels(rect->top, twipsPerPixelY));
  form.resize(std::max(ToPixels(rect->width, twipsPerPixelX), kMinRestoredPixels),
              std::max(ToPixels(rect->height, twipsPerPixelY), kMinRestoredPixels));
}

}  // namespace qsrn
