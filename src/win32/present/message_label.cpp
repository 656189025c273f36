// The message line through GDI; see message_label.h.
#include "win32/present/message_label.h"

#include <cmath>

#undef RGB  // windows.h's macro; the colour helpers have their own RGB
#include "render/color.h"
#include "settings/file_system.h"

namespace qsrn {

namespace {
// The label's place below the top edge, in twips.
constexpr double kMessageTopTwips = 180;
}  // namespace

MessageLabel::~MessageLabel() {
  if (font_ != nullptr) DeleteObject(font_);
}

void MessageLabel::Apply(HDC dc, const EffectSettings& s, float twipsPerPixelY, int width) {
  if (font_ != nullptr) DeleteObject(font_);
  const int points = s.Adv_FontSize > 0 ? s.Adv_FontSize : 20;
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                      files::PathFromUtf8(s.Adv_FontName).wstring().c_str());
  // A colour is 0x00BBGGRR, which is what a COLORREF is.
  color_ = static_cast<COLORREF>(HueToRGB(s.Adv_FontHueV));
  text_ = files::PathFromUtf8(s.LockMessage).wstring();  // the seam's UTF-8 to UTF-16
  const int top = static_cast<int>(std::lround(kMessageTopTwips / (twipsPerPixelY > 0 ? twipsPerPixelY : 15)));
  place_ = RECT{0, top, width, top - 2 * height + 4};
}

void MessageLabel::Draw(HDC dc) const {
  if (text_.empty()) return;
  const HGDIOBJ old = SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color_);
  RECT place = place_;
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &place, DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
  SelectObject(dc, old);
}

}  // namespace qsrn
