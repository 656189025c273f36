// The screen saver's start-up: reads the command line and opens the display of the mode it
// asks for (full screen, windowed, preview), or does a one-shot job (the properties dialog,
// the password change, a template import before running full screen).
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

#include <cstdio>
#include <string>

#include "run/command_line.h"
#include "qt/saver/hack_window.h"
#include "qt/saver/host_session.h"
#include "qt/platform/platform_display.h"
#include "qt/platform/platform_signals.h"
#include "qt/platform/platform_password.h"
#include "qt/saver/preview_window.h"
#include "qt/saver/properties_entry.h"
#include "qt/saver/saver_window.h"
#include "qt/saver/screen_window.h"
#include "qt/platform/single_instance.h"
#include "qt/saver/program_main.h"
#include "render/geometry.h"
#include "settings/numeric.h"
#include "settings/templates.h"

namespace qsrn {

namespace {

// Twips (1440 per inch) per pixel from the screen's logical resolution: 15 at 96 dots per inch.
float TwipsPerPixel(qreal logicalDpi) {
  return logicalDpi > 0 ? static_cast<float>(CInt(1440.0 / logicalDpi)) : 15.0f;
}

// Shows the windowed display or the saver window; their run loops run inside.
int StartSaver(HostSession& session) {
  session.ctx().StopRequested = false;
  if (session.ctx().runMode != RunMode::Saver) {
    ScreenWindow frmScreen(session);
    frmScreen.Run();
  } else {
    SetSaverRunning(session.store(), true);
    SaverWindow frmSaver(session);
    frmSaver.Run();
  }
  return 0;
}

// The configuration job: one properties dialog per user.
int Configure(HostSession& session) {
  if (BringForward(QString::fromLatin1(kPropertiesTitle))) return 0;
  CreatePropertiesDialog(session, nullptr)->show();
  return QApplication::exec();
}

// xscreensaver or xsecurelock runs us in a window of theirs.
int RunHack(HostSession& session, const HackOptions& options) {
  session.ctx().runMode = RunMode::Saver;
  HackWindow hack(session, options);
  const uint32_t target = HackWindow::TargetWindow(options);
  if (!hack.Run(target)) {
    std::fprintf(stderr, "quasarine: there is no window 0x%x to draw into\n", target);
    return 1;
  }
  return 0;
}

int RunCommandLine(HostSession& session, const CommandLine& cl) {
  Context& ctx = session.ctx();
  HostState& state = session.state();
  state.ExitRequested = false;
  ctx.StopRequested = false;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    ctx.TwipsPerPixelX = TwipsPerPixel(screen->logicalDotsPerInchX());
    ctx.TwipsPerPixelY = TwipsPerPixel(screen->logicalDotsPerInchY());
  }
  BuildTrigTables(ctx.trig);
  state.HelpFile = "qsrn23.hlp";

  // A copy of the program named with .exe beside it makes every start the windowed display.
  const std::string windowed = WindowedProgramPath(QCoreApplication::applicationFilePath().toStdString());
  if (QFileInfo(QString::fromStdString(windowed)).isFile()) {
    ctx.runMode = RunMode::Windowed;
    return StartSaver(session);
  }

  ctx.runMode = RunMode::Saver;
  switch (cl.job) {
    case StartJob::Configure:
      return Configure(session);
    case StartJob::Saver:
      if (WindowExists(QString::fromLatin1(kSaverTitle))) return 0;
      return StartSaver(session);
    case StartJob::Preview: {
      ctx.runMode = RunMode::Preview;
      state.PreviewParent = cl.windowHandle;
      PreviewWindow frmPreview(session);
      frmPreview.Run(static_cast<uint32_t>(state.PreviewParent));
      return 0;
    }
    case StartJob::ChangePassword:
      ChangePassword(cl.windowHandle);
      return 0;
    case StartJob::ImportAndRun: {
      // A file that is not a template must not wipe the person's settings: say so and stop.
      std::string error;
      if (!ImportTemplate(session.store(), cl.templatePath, &error)) {
        std::fprintf(stderr, "quasarine: %s\n", error.c_str());
        return 1;
      }
      return StartSaver(session);
    }
    case StartJob::RunFullScreen:
      return StartSaver(session);
    case StartJob::Hack:
      return RunHack(session, cl.hack);
  }
  return 0;
}

// Drawing into another program's window needs X11 window ids, which Wayland does not give out.
bool NeedsWindowIds(const CommandLine& cl) { return cl.job == StartJob::Preview || cl.job == StartJob::Hack; }

}  // namespace

int SaverMain(int argc, char** argv, const CommandLine& cl) {
  // Every job but the password change shows a window; Qt would abort without a display.
  DisplayProbe probe;  // held until Qt has connected
  if (cl.job != StartJob::ChangePassword) {
    const std::string problem = probe.Problem();
    if (!problem.empty()) {
      std::fprintf(stderr, "quasarine: no display to draw on: %s\n", problem.c_str());
      return 1;
    }
  } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !probe.Problem().empty()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  probe.Release();
  QApplication::setApplicationName(QStringLiteral("Quasarine"));
  QApplication::setQuitOnLastWindowClosed(true);
  if (NeedsWindowIds(cl) && OnWayland()) {
    std::fprintf(stderr, "quasarine: %s needs an X11 window id, and this is a Wayland session; "
                 "use /S or the windowed display here\n", cl.job == StartJob::Preview ? "/P" : "drawing into another window");
    return 1;
  }
  // Errors never leave start-up: whatever fails, the program ends quietly.
  try {
    HostSession session;
    SignalStop stop([&session] {
      session.state().ExitRequested = true;
      session.ctx().StopRequested = true;
      QApplication::closeAllWindows();
      QCoreApplication::quit();
    });
    return RunCommandLine(session, cl);
  } catch (...) {
    return 0;
  }
}

}  // namespace qsrn
