// The about box: product name, product line, version and a freeware note over a radial gradient
// with a border of three lines, and a picture running the four demonstrations in turn, one frame
// per timer tick (no loop of its own inside an event). The timer stops while the box is hidden or
// minimised or the credits cover it. Changes no settings.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "forms/about_demo.h"
#include "forms/gradient.h"
#include "settings/store.h"
#include "settings/version.h"
#include "win32/present/dib_presenter.h"
#include "win32/ui/about_ids.h"
#include "win32/ui/credits_box.h"
#include "win32/ui/dialog_font.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/dialogs.h"
#include "win32/ui/frame_timer.h"
#include "win32/ui/gdi_gradient.h"
#include "win32/ui/painted_picture.h"

namespace qsrn {

namespace {

struct AboutBox {
  AboutBox(HWND window, const SettingsStore& store)
      : dlg(window), demo(store), timer(window, kAboutDemoFrameDelay) {}
  ~AboutBox() {
    if (background != nullptr) DeleteObject(background);
    for (HFONT f : fonts)
      if (f != nullptr) DeleteObject(f);
  }
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  HWND dlg;
  std::unique_ptr<PaintedPicture> picture;
  AboutDemonstrations demo;
  DibPresenter presenter;
  FrameTimer timer;
  HBITMAP background = nullptr;  // the gradient and the border at the box's size
  std::array<HFONT, 4> fonts{};
};

AboutBox* BoxOf(HWND dlg) { return reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dlg, DWLP_USER)); }

void PaintBackground(AboutBox& box) {
  RECT client;
  GetClientRect(box.dlg, &client);
  const HDC screen = GetDC(box.dlg);
  if (box.background != nullptr) DeleteObject(box.background);
  box.background = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HDC dc = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(dc, box.background);
  // The centre is given at the standard 96 pixels an inch.
  const double scale = GetDeviceCaps(screen, LOGPIXELSX) / 96.0;
  DrawGradient(dc, client.right, client.bottom, kAboutGradient, kAboutGradientCentreX * scale,
               kAboutGradientCentreY * scale);
  for (int i = 0; i < 3; ++i) {
    const HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(kAboutBorderColors[i]));
    for (int t = 0; t < kAboutBorderLine; ++t) {
      const int inset = kAboutBorderLine * i + t;
      const RECT line{inset, inset, client.right - inset, client.bottom - inset};
      FrameRect(dc, &line, brush);
    }
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(box.dlg, screen);
}

void InitBox(AboutBox& box) {
  // The picture shows the demonstration's surface as it is.
  box.picture = std::make_unique<PaintedPicture>(GetDlgItem(box.dlg, IDC_ABOUT_PICTURE), [&box](HDC dc) {
    box.presenter.Invalidate();
    box.presenter.Present(dc, box.demo.surface());
  });
  RECT r;
  GetClientRect(box.picture->hwnd(), &r);
  box.demo.Resize(r.right, r.bottom);
  const std::wstring version = L"Version " + WideOf(kVersion);
  SetDlgItemTextW(box.dlg, IDC_ABOUT_VERSION, version.c_str());
  const struct {
    int id, points;
    bool bold;
  } texts[] = {{IDC_ABOUT_TITLE, 22, true},
               {IDC_ABOUT_LINE, 14, false},
               {IDC_ABOUT_VERSION, 11, false},
               {IDC_ABOUT_NOTE, 9, false}};
  for (size_t i = 0; i < box.fonts.size(); ++i) {
    box.fonts[i] = DialogFontAt(box.dlg, texts[i].points, texts[i].bold);
    SendDlgItemMessageW(box.dlg, texts[i].id, WM_SETFONT, reinterpret_cast<WPARAM>(box.fonts[i]), FALSE);
  }
  PaintBackground(box);
}

void OpenCredits(AboutBox& box) {
  box.timer.SetPaused(true);  // the credits cover the box
  ShowCredits(box.dlg);
  // The demonstration that was interrupted starts again from its beginning.
  box.demo.Interrupt();
  PaintBackground(box);
  InvalidateRect(box.dlg, nullptr, TRUE);
  box.timer.SetPaused(false);
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  AboutBox* box = BoxOf(dlg);
  switch (message) {
    case WM_INITDIALOG: {
      box = new AboutBox(dlg, *reinterpret_cast<const SettingsStore*>(lParam));
      SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(box));
      InitBox(*box);
      return TRUE;
    }
    case WM_ERASEBKGND: {
      if (box == nullptr || box->background == nullptr) return FALSE;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      const HDC source = CreateCompatibleDC(dc);
      const HGDIOBJ old = SelectObject(source, box->background);
      RECT client;
      GetClientRect(dlg, &client);
      BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      // The texts stand on the gradient, in white.
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_SHOWWINDOW:
      if (box != nullptr) box->timer.Update(wParam != FALSE);
      return FALSE;
    case WM_SIZE:
      if (box != nullptr) box->timer.Update();
      return FALSE;
    case WM_TIMER:
      if (box != nullptr && wParam == FrameTimer::kId) {
        box->demo.StepFrame();
        box->picture->DrawNow([box](HDC dc) { box->presenter.Present(dc, box->demo.surface()); });
      }
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_CREDITS:
          OpenCredits(*box);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dlg, LOWORD(wParam));
          return TRUE;
        default:
          return FALSE;
      }
    case WM_NCDESTROY:
      delete box;
      SetWindowLongPtrW(dlg, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  const SettingsStore store(SettingsStore::DefaultDirectory());  // the pixel colour settings
  DialogBoxParamW(GetModuleHandleW(nullptr), L"ABOUT", owner, AboutProc, reinterpret_cast<LPARAM>(&store));
}

}  // namespace qsrn
