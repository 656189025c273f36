// The live preview; see properties_preview.h.
#include "win32/ui/properties_preview.h"

#include <algorithm>

#include "effects/loaders.h"
#include "forms/preview_values.h"
#include "render/context.h"
#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn {

namespace {
constexpr wchar_t kClass[] = L"QuasarinePreview";
constexpr UINT_PTR kRestartTimer = 1;
constexpr UINT_PTR kFrameTimer = 2;
constexpr UINT kRestartPauseMs = 250;
constexpr UINT kShortestFrameMs = 20;
}  // namespace

void LivePreview::Register() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // already there from an earlier dialog: fine
}

LivePreview* LivePreview::Of(HWND window) {
  return window != nullptr ? reinterpret_cast<LivePreview*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LivePreview::LivePreview(HWND window)
    : window_(window), ctx_(std::make_unique<Context>()), surface_(std::make_unique<Surface>()) {
  BuildTrigTables(ctx_->trig);
}

LivePreview::~LivePreview() = default;

void LivePreview::Restart(const FieldTexts& texts, EffectIndex effect) {
  texts_ = texts;
  effect_ = effect;
  pending_ = true;
  if (!paused_) SetTimer(window_, kRestartTimer, kRestartPauseMs, nullptr);
}

void LivePreview::Pause(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  if (paused) {
    KillTimer(window_, kRestartTimer);
    KillTimer(window_, kFrameTimer);
  } else if (pending_) {
    SetTimer(window_, kRestartTimer, kRestartPauseMs, nullptr);
  } else if (engine_) {
    SetTimer(window_, kFrameTimer, frameDelay_, nullptr);
  }
}

void LivePreview::StartEngine() {
  KillTimer(window_, kFrameTimer);
  engine_.reset();
  pending_ = false;
  if (store_ == nullptr) return;
  // The loaders read a store: this one has no files, only the shown values and the real store's
  // Advanced keys, held in memory (nothing of the user's is ever written for a preview).
  SettingsStore shown{std::filesystem::path()};
  OverlayPreviewValues(shown, *store_, texts_, effect_);

  RECT r{};
  GetClientRect(window_, &r);
  const int width = std::max<int>(16, r.right - r.left), height = std::max<int>(16, r.bottom - r.top);
  Context& ctx = *ctx_;
  surface_->Resize(width, height);
  ctx.surface = surface_.get();
  ctx.platform = &platform_;
  ctx.runMode = RunMode::Preview;
  ctx.StopRequested = false;
  ctx.frame = {};
  LoadGeneralSettings(ctx, shown, width * ctx.TwipsPerPixelX, height * ctx.TwipsPerPixelY, true);
  ctx.rng.Seed(GetTickCount64());
  LoadEffectSettings(ctx, shown, static_cast<int>(effect_), 0, true);
  PrepareSurface(*surface_);
  presenter_.Invalidate();
  engine_ = CreateEngine(static_cast<int>(effect_));
  if (!engine_) return;
  engine_->Setup(ctx);
  frameDelay_ = static_cast<UINT>(std::max<int>(ctx.settings.Adv_TimeDelay, kShortestFrameMs));
  if (!paused_) SetTimer(window_, kFrameTimer, frameDelay_, nullptr);
}

void LivePreview::Frame() {
  if (!engine_) return;
  Context& ctx = *ctx_;
  ctx.frame.FrameStartTick = static_cast<int32_t>(platform_.TickCount());
  engine_->Step(ctx);
  const bool stopped = EndFrame(ctx);
  // The effect's quota used up: start it afresh, as the preview display's run loop does.
  if (stopped || FrameLimitReached(ctx)) {
    StartEngine();
    return;
  }
  if (!ctx.frame.PreviewSettled) PreviewSettle(ctx);
}

void LivePreview::Present() {
  if (HDC dc = GetDC(window_)) {
    presenter_.Present(dc, *surface_);
    ReleaseDC(window_, dc);
  }
}

void LivePreview::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (engine_ && surface_->Width() > 0) {
    presenter_.Invalidate();
    presenter_.Present(dc, *surface_);
  }
  EndPaint(window_, &ps);
}

LRESULT CALLBACK LivePreview::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LivePreview* self = Of(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new LivePreview(hwnd)));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete self;
      return 0;
    case WM_TIMER:
      if (self == nullptr) break;
      if (wp == kRestartTimer) {
        KillTimer(hwnd, kRestartTimer);
        self->StartEngine();
      } else if (wp == kFrameTimer) {
        self->Frame();
      }
      return 0;
    case WM_PAINT:
      if (self == nullptr) break;
      self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace qsrn
