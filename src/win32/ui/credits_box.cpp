// The credits; see credits_box.h. One frame per timer tick: the stars move in XOR on the field's
// bitmap, then the field and the text over it go to the picture through a bitmap of the
// picture's size, so nothing flickers. Restarted at the new size after a resize; a double-click
// on the picture toggles maximised; the timer stops while the window is hidden or minimised.
#include "win32/ui/credits_box.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/about_demo.h"
#include "forms/credits_roll.h"
#include "forms/gradient.h"
#include "win32/ui/about_ids.h"
#include "win32/ui/dialog_font.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/frame_timer.h"
#include "win32/ui/gdi_gradient.h"
#include "win32/ui/painted_picture.h"

namespace qsrn {

namespace {

// A bitmap selected into a memory device context of its own.
struct MemoryBitmap {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  void Reset() {
    if (dc != nullptr) {
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    *this = {};
  }
};

struct CreditsBox {
  explicit CreditsBox(HWND window) : dlg(window), timer(window, kAboutDemoFrameDelay) {}
  ~CreditsBox() {
    field.Reset();
    back.Reset();
    for (auto& [key, font] : fonts) DeleteObject(font);
  }
  CreditsBox(const CreditsBox&) = delete;
  CreditsBox& operator=(const CreditsBox&) = delete;

  HWND dlg;
  HWND frame = nullptr;
  std::unique_ptr<PaintedPicture> picture;
  FrameTimer timer;
  CreditsMotion motion = ClampCreditsMotion(kCreditsStars, kCreditsSpeed, kCreditsScroll);
  std::vector<CreditLine> lines;
  std::vector<int> lineTops;
  std::map<std::pair<int, bool>, HFONT> fonts;  // by point size and weight
  double textHeight = 0;
  double top = 0;
  Random rng;
  StarField stars;
  MemoryBitmap field;  // the gradient with the stars, a top-down DIB section
  MemoryBitmap back;   // the field and the text, composed before they go to the screen
  PixelRows pixels{};
  bool restart = true;
};

CreditsBox* BoxOf(HWND dlg) { return reinterpret_cast<CreditsBox*>(GetWindowLongPtrW(dlg, DWLP_USER)); }

HFONT LineFont(CreditsBox& box, int points) {
  const auto key = std::make_pair(points, points >= 10);
  auto found = box.fonts.find(key);
  if (found == box.fonts.end())
    found = box.fonts.emplace(key, DialogFontAt(box.dlg, points, key.second)).first;
  return found->second;
}

// Each line 1.2 of its font's height below the last.
void MeasureText(CreditsBox& box, HDC dc) {
  box.lineTops.clear();
  double height = 0;
  for (const CreditLine& line : box.lines) {
    const HGDIOBJ old = SelectObject(dc, LineFont(box, line.pointSize));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    box.lineTops.push_back(static_cast<int>(height));
    height += 1.2 * metrics.tmHeight;
  }
  box.textHeight = height;
}

void RestartField(CreditsBox& box) {
  box.restart = false;
  RECT r;
  GetClientRect(box.frame, &r);
  const int width = std::max<int>(r.right, 1), height = std::max<int>(r.bottom, 1);
  box.field.Reset();
  box.back.Reset();
  const HDC screen = GetDC(box.frame);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  box.field.bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  box.back.bitmap = CreateCompatibleBitmap(screen, width, height);
  for (MemoryBitmap* m : {&box.field, &box.back}) {
    m->dc = CreateCompatibleDC(screen);
    m->old = SelectObject(m->dc, m->bitmap);
  }
  ReleaseDC(box.frame, screen);
  if (bits == nullptr) return;
  box.pixels = {static_cast<uint32_t*>(bits), width, height, width};
  DrawGradient(box.field.dc, width, height, kCreditsGradient, width / 2.0, height / 2.0);
  GdiFlush();  // the gradient is in the bits before the stars go over it
  box.stars.Restart(box.pixels, box.motion.stars, box.rng);
  MeasureText(box, box.back.dc);
  box.top = CreditsStartTop(height);
}

// The field, then each line centred with its one-pixel shadow, to the picture.
void Show(CreditsBox& box, HDC dc) {
  if (box.back.dc == nullptr || box.pixels.pixels == nullptr) return;
  const int width = box.pixels.width, height = box.pixels.height;
  BitBlt(box.back.dc, 0, 0, width, height, box.field.dc, 0, 0, SRCCOPY);
  SetBkMode(box.back.dc, TRANSPARENT);
  for (size_t i = 0; i < box.lines.size(); ++i) {
    const int y = static_cast<int>(box.top) + box.lineTops[i];
    if (y > height || y + 100 < 0) continue;
    const std::wstring text = WideOf(box.lines[i].text);
    const HGDIOBJ old = SelectObject(box.back.dc, LineFont(box, box.lines[i].pointSize));
    RECT shadow{1, y + 1, width + 1, height + 100};
    SetTextColor(box.back.dc, static_cast<COLORREF>(kCreditsShadowColor));
    DrawTextW(box.back.dc, text.c_str(), -1, &shadow, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    RECT place{0, y, width, height + 100};
    SetTextColor(box.back.dc, static_cast<COLORREF>(kCreditsTextColor));
    DrawTextW(box.back.dc, text.c_str(), -1, &place, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(box.back.dc, old);
  }
  BitBlt(dc, 0, 0, width, height, box.back.dc, 0, 0, SRCCOPY);
}

void StepFrame(CreditsBox& box) {
  if (box.restart) RestartField(box);
  if (box.pixels.pixels == nullptr) return;
  GdiFlush();
  box.stars.Step(box.pixels, box.motion.speed, box.rng);
  box.top = ScrollCredits(box.top, box.motion.scroll, box.textHeight, box.pixels.height);
  box.picture->DrawNow([&box](HDC dc) { Show(box, dc); });
}

// The frame over the client area but for a row for the button below it.
void Layout(CreditsBox& box) {
  RECT client, button{0, 0, 54, 14}, margin{7, 7, 7, 6};
  GetClientRect(box.dlg, &client);
  MapDialogRect(box.dlg, &button);
  MapDialogRect(box.dlg, &margin);
  const HWND ok = GetDlgItem(box.dlg, IDOK);
  const int buttonTop = client.bottom - margin.bottom - button.bottom;
  SetWindowPos(ok, nullptr, (client.right - button.right) / 2, buttonTop, button.right, button.bottom,
               SWP_NOZORDER);
  SetWindowPos(box.frame, nullptr, margin.left, margin.top, std::max<int>(1, client.right - 2 * margin.left),
               std::max<int>(1, buttonTop - margin.bottom - margin.top), SWP_NOZORDER);
  box.restart = true;  // the field starts again at the new size
  InvalidateRect(box.frame, nullptr, FALSE);
}

// The size and place of the window the about box was opened over (the properties dialog).
void Place(CreditsBox& box) {
  const HWND about = GetWindow(box.dlg, GW_OWNER);
  const HWND over = about != nullptr ? GetWindow(about, GW_OWNER) : nullptr;
  RECT r;
  if (over != nullptr && GetWindowRect(over, &r) && r.right - r.left >= 320) {
    MoveWindow(box.dlg, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    return;
  }
  RECT centre{0, 0, 0, 0};
  if (about == nullptr || !GetWindowRect(about, &centre))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &centre, 0);
  const int x = (centre.left + centre.right) / 2 - 320, y = (centre.top + centre.bottom) / 2 - 240;
  MoveWindow(box.dlg, std::max(0, x), std::max(0, y), 640, 480, FALSE);
}

void InitBox(CreditsBox& box) {
  box.frame = GetDlgItem(box.dlg, IDC_CREDITS_FRAME);
  box.rng.Seed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  const HDC screen = GetDC(box.dlg);
  const bool largeFonts = GetDeviceCaps(screen, LOGPIXELSY) == 120;  // 12 twips a pixel
  ReleaseDC(box.dlg, screen);
  box.lines = BuildCreditText(CreditLines(), largeFonts);
  box.picture = std::make_unique<PaintedPicture>(box.frame, [&box](HDC dc) {
    if (box.restart) RestartField(box);
    Show(box, dc);
  });
  Place(box);
  Layout(box);
}

INT_PTR CALLBACK CreditsProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  CreditsBox* box = BoxOf(dlg);
  switch (message) {
    case WM_INITDIALOG:
      box = new CreditsBox(dlg);
      SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(box));
      InitBox(*box);
      return TRUE;
    case WM_SHOWWINDOW:
      if (box != nullptr) box->timer.Update(wParam != FALSE);
      return FALSE;
    case WM_SIZE:
      if (box != nullptr && box->frame != nullptr) {
        if (wParam != SIZE_MINIMIZED) Layout(*box);
        box->timer.Update();
      }
      return FALSE;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {240, 180};
      return TRUE;
    }
    case WM_TIMER:
      if (box != nullptr && wParam == FrameTimer::kId) StepFrame(*box);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CREDITS_FRAME && HIWORD(wParam) == STN_DBLCLK) {
        ShowWindow(dlg, IsZoomed(dlg) ? SW_RESTORE : SW_MAXIMIZE);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY:
      delete box;
      SetWindowLongPtrW(dlg, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowCredits(HWND aboutBox) {
  DialogBoxParamW(GetModuleHandleW(nullptr), L"CREDITS", aboutBox, CreditsProc, 0);
}

}  // namespace qsrn
