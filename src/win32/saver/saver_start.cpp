// Start-up of the Windows saver; see saver_start.h.
#include "win32/saver/saver_start.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "effects/loaders.h"
#include "render/geometry.h"
#include "settings/numeric.h"
#include "settings/sound_files.h"
#include "settings/templates.h"
#include "settings/file_system.h"
#include "win32/platform/program_files.h"
#include "win32/saver/saver_monitors.h"
#include "win32/saver/saver_session.h"
#include "win32/saver/screen_placement.h"
#include "win32/saver/win32_display.h"
#include "win32/ui/dialogs.h"

namespace qsrn {

namespace {

// What the dialogs share for one start: the session's store and sounds, the folder of the last
// file dialog.
DialogContext DialogsOf(SaverSession& s) { return {s.store, &s.sound, s.soundFolder, {}, false}; }

// /c while the properties dialog is open brings that one forward instead of opening another.
int ConfigureMode(SaverSession& s, HWND owner) {
  if (HWND open = FindWindowW(nullptr, L"Quasarine Properties")) {
    if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
    SetForegroundWindow(open);
    return 0;
  }
  DialogContext dc = DialogsOf(s);
  ShowPropertiesDialog(owner, dc);
  return 0;
}

// Every monitor covered, one window, context, engine and run loop each; the lead's loop runs here.
int RunSaverMode(SaverSession& s) {
  // One saver per desktop: the window a running one shows, or the name it holds while it starts.
  if (FindWindowW(nullptr, kSaverTitleW) != nullptr) return 0;
  const HANDLE instance = CreateMutexW(nullptr, FALSE, L"Local\\QuasarineSaverRunning");
  if (instance == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (instance != nullptr) CloseHandle(instance);
    return 0;
  }
  Context& ctx = *s.ctx;
  std::vector<RECT> areas = MonitorAreas();
  Win32Display lead(ctx, DisplayKind::Saver);
  if (lead.Create(areas.front())) {
    SaverMonitors others(s, lead);
    others.Cover(std::vector<RECT>(areas.begin() + 1, areas.end()));
    s.platform.SetOnDispatch([&] {
      if (std::exchange(lead.displayChanged, false) && others.Follow()) {
        lead.restart = true;  // the lead's monitor changed: its run starts again at the new size
        ctx.StopRequested = true;
      }
      others.TurnAll(static_cast<uint32_t>(ctx.frame.FrameStartTick));
    });
    s.platform.SetTarget(&lead);
    do {
      lead.restart = false;
      lead.SizeSurface();
      ctx.surface = &lead.surface();
      s.platform.Pump(ctx);
      // Input while the windows were being set up already ended the saver.
      if (!lead.closed) s.loop.RunSaver(lead.demo());
    } while (lead.restart && !lead.closed);
    s.platform.SetOnDispatch({});
  }
  s.platform.SetTarget(nullptr);
  ctx.surface = nullptr;
  CloseHandle(instance);
  return 0;
}

// The windowed display: full screen without a title, or a sizable window with Adv_WinResize.
int RunScreenMode(SaverSession& s) {
  Context& ctx = *s.ctx;
  const bool sizable = ReadWinResize(s.store);
  RECT area = MonitorAreas().front();
  // A sizable window opens where it was left (the middle of the screen the first time).
  const StoredPlacement stored = ReadPlacement(s.store, ctx.TwipsPerPixelX, ctx.TwipsPerPixelY);
  if (sizable && stored.place) {
    area = FrameForPlace(*stored.place);
  } else if (sizable) {
    const LONG w = area.right - area.left, h = area.bottom - area.top;
    area = RECT{area.left + w / 6, area.top + h / 6, area.right - w / 6, area.bottom - h / 6};
  }
  Win32Display screen(ctx, DisplayKind::Screen);
  if (!screen.Create(area, sizable)) return 0;
  if (sizable && stored.state != 0) ShowWindow(screen.hwnd(), stored.state == 2 ? SW_MAXIMIZE : SW_MINIMIZE);
  DialogContext dialogs = DialogsOf(s);
  screen.onProperties = [&] {
    ShowPropertiesDialog(screen.hwnd(), dialogs);
    if (dialogs.exitRequested) screen.closed = true;  // File "Exit" ends the windowed display too
    screen.restart = true;  // the next run reads the settings again
    ctx.StopRequested = true;
  };
  s.platform.SetTarget(&screen);
  do {
    screen.restart = false;
    screen.SizeSurface();
    ctx.surface = &screen.surface();
    s.loop.RunScreen(screen.demo());
  } while (screen.restart && !screen.closed);
  if (sizable) StoreScreenPlacement(screen.hwnd(), s.store, ctx.TwipsPerPixelX, ctx.TwipsPerPixelY);
  s.platform.SetTarget(nullptr);
  ctx.surface = nullptr;
  return 0;
}

// The preview: a child of the system's preview area, following its size, ended when it goes.
int RunPreviewMode(SaverSession& s, HWND parent) {
  if (!IsWindow(parent)) return 0;  // stops before its first frame
  Context& ctx = *s.ctx;
  Win32Display pic(ctx, DisplayKind::Preview);
  if (!pic.CreatePreview(parent)) return 0;
  s.platform.SetPreviewParent(parent);
  s.platform.SetTarget(&pic);
  s.platform.SetOnDispatch([&] {
    if (!pic.FollowParent(parent)) return;
    pic.restart = true;  // the run starts again at the new size
    ctx.StopRequested = true;
  });
  do {
    pic.restart = false;
    pic.SizeSurface();
    ctx.surface = &pic.surface();
    s.loop.RunPreview();
  } while (pic.restart && !pic.closed && IsWindow(parent));
  s.platform.SetOnDispatch({});
  s.platform.SetTarget(nullptr);
  ctx.surface = nullptr;
  return 0;
}

int StartSaver(SaverSession& s) {
  s.ctx->StopRequested = false;
  return s.ctx->runMode == RunMode::Saver ? RunSaverMode(s) : RunScreenMode(s);
}

// "/c:1234": the owner after the colon.
HWND OwnerAfterColon(const std::string& text) {
  if (text.size() < 4 || text[2] != ':') return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(ParseWindowId(text.substr(3))));
}

int RunJob(SaverSession& s, const CommandLine& cl, const std::string& text) {
  switch (cl.job) {
    case StartJob::Configure: return ConfigureMode(s, OwnerAfterColon(text));
    case StartJob::Saver: return StartSaver(s);
    case StartJob::Preview:
      s.ctx->runMode = RunMode::Preview;
      return RunPreviewMode(s, reinterpret_cast<HWND>(static_cast<intptr_t>(cl.windowHandle)));
    case StartJob::ChangePassword: return 0;  // this system has no saver password
    case StartJob::ImportAndRun: {
      // A file that is not a template must not wipe the person's settings: say so and stop.
      std::string error;
      if (!ImportTemplate(s.store, files::PathFromUtf8(cl.templatePath), &error)) {
        std::fprintf(stderr, "quasarine: %s\n", error.c_str());
        // A program of the window subsystem has no console to print on when the shell starts it.
        MessageBoxW(nullptr, files::PathFromUtf8(error).wstring().c_str(), L"Quasarine", MB_OK | MB_ICONERROR);
        return 1;
      }
      return StartSaver(s);
    }
    case StartJob::RunFullScreen: return StartSaver(s);
    case StartJob::Hack:
      std::fputs("quasarine: -root and -window-id are for X11 screen savers, not for this system\n", stderr);
      return 2;
  }
  return 0;
}

}  // namespace

int SaverMain(const CommandLine& cl, const std::string& programPath, const std::string& text) {
  SaverSession s;
  Context& ctx = *s.ctx;
  const HDC screen = GetDC(nullptr);
  ctx.TwipsPerPixelX = static_cast<float>(CInt(1440.0 / std::max(1, GetDeviceCaps(screen, LOGPIXELSX))));
  ctx.TwipsPerPixelY = static_cast<float>(CInt(1440.0 / std::max(1, GetDeviceCaps(screen, LOGPIXELSY))));
  ReleaseDC(nullptr, screen);
  BuildTrigTables(ctx.trig);
  // A copy of the program named with .exe beside it (or this program itself, named so) makes
  // every start the windowed display.
  std::string forward = programPath;
  for (char& c : forward)
    if (c == '\\') c = '/';
  // Our sounds sit beside the program, as the Windows build leaves them, or in the setup
  // program's folder while the saver is in System32.
  s.soundFolder = FolderHolding(programPath, kProgramSoundNames[0]);
  if (IsFile(WindowedProgramPath(forward))) {
    ctx.runMode = RunMode::Windowed;
    return StartSaver(s);
  }
  ctx.runMode = RunMode::Saver;
  return RunJob(s, cl, text);
}

}  // namespace qsrn
