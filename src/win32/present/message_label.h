// The on-screen message of the saver and windowed displays: one line across the top of the
// window in the stored font, size and hue, drawn with GDI over the frame after every present
// (the frame's changed tiles may have covered it).
#pragma once

#include <windows.h>

#include <string>

#include "settings/effect_settings.h"

namespace qsrn {

class MessageLabel {
 public:
  MessageLabel() = default;
  ~MessageLabel();
  MessageLabel(const MessageLabel&) = delete;
  MessageLabel& operator=(const MessageLabel&) = delete;

  // Takes font, size, hue and text from the settings, for a window of the given width.
  void Apply(HDC dc, const EffectSettings& s, float twipsPerPixelY, int width);
  void Clear() { text_.clear(); }
  void Draw(HDC dc) const;

 private:
  HFONT font_ = nullptr;
  COLORREF color_ = 0;
  std::wstring text_;
  RECT place_{};
};

}  // namespace qsrn
