// The screen saver's start-up: reads the command line and opens the display of the mode it
// asks for (full screen, windowed, preview), or does a one-shot job (the properties dialog,
// the password change, a template import before running full screen).
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>
#include <string>

#include "host/command_line.h"
#include "host/host_session.h"
#include "host/platform_password.h"
#include "host/preview_window.h"
#include "host/properties_entry.h"
#include "host/saver_window.h"
#include "host/screen_window.h"
#include "host/single_instance.h"
#include "tools/tools.h"
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

int RunCommandLine(HostSession& session, const std::string& text) {
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
  const CommandLine cl = ParseCommandLine(text);
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
  }
  return 0;
}

}  // namespace

int SaverMain(int argc, char** argv) {
  // The command line as the platform gave it, before Qt takes out the arguments it knows.
  const std::string text = CommandLineText(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quasarine"));
  QApplication::setQuitOnLastWindowClosed(true);
  // Errors never leave start-up: whatever fails, the program ends quietly.
  try {
    HostSession session;
    return RunCommandLine(session, text);
  } catch (...) {
    return 0;
  }
}

}  // namespace qsrn
