// The display probe; see platform_display.h.
#include "qt/platform/platform_display.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#ifdef QSRN_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace qsrn {

namespace {

constexpr char kWhatToDo[] = "run it inside a desktop session, or draw into a file with --render FILE";

// The Wayland socket named by WAYLAND_DISPLAY (relative to XDG_RUNTIME_DIR unless absolute).
QString WaylandSocketPath() {
  QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (name.isEmpty() || name.startsWith(QLatin1Char('/'))) return name;
  return qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + name;
}

bool WaylandSocketAnswers() {
  const QByteArray path = QFile::encodeName(WaylandSocketPath());
  if (path.isEmpty()) return false;
  sockaddr_un address{};
  if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

bool WaylandPluginInstalled() {
  const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
  return !platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

// Says what was tried and failed: each display that is named, or that none is.
std::string Reason(bool waylandSocket) {
  if (waylandSocket)
    return std::string("this is a Wayland session and Qt's Wayland plugin is not installed (Debian: qt6-wayland); ") +
           kWhatToDo;
  const QByteArray display = qgetenv("DISPLAY");
  const QString wayland = WaylandSocketPath();
  std::string why;
  if (!display.isEmpty()) why = "cannot open the X display \"" + display.toStdString() + "\"";
  if (!wayland.isEmpty()) {
    if (!why.empty()) why += " and ";
    why += "no Wayland compositor answers at \"" + wayland.toStdString() + "\"";
  }
  if (why.empty()) why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  return why + "; " + kWhatToDo;
}

}  // namespace

void DisplayProbe::Release() {
#ifdef QSRN_HAVE_XCB
  if (x11_ != nullptr) xcb_disconnect(static_cast<xcb_connection_t*>(x11_));
#endif
  x11_ = nullptr;
}

bool DisplayProbe::XReachable() {
  if (x11_ != nullptr) return true;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
#ifdef QSRN_HAVE_XCB
  // A server may refuse a connection that closely follows another client's disconnect: try
  // again briefly before saying there is no display.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) usleep(50 * 1000);
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn) == 0) {
      x11_ = conn;
      return true;
    }
    xcb_disconnect(conn);
  }
  return false;
#else
  return true;
#endif
}

std::string DisplayProbe::Problem() {
  const bool waylandSocket = WaylandSocketAnswers();
  const bool wayland = waylandSocket && WaylandPluginInstalled();
  const QString forced = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (!forced.isEmpty()) {
    for (const QString& candidate : forced.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString name = candidate.section(QLatin1Char(':'), 0, 0);
      if (name == QLatin1String("xcb") ? XReachable() : name.startsWith(QLatin1String("wayland")) ? wayland : true)
        return {};
    }
    return Reason(waylandSocket && !wayland);
  }
  const bool x11 = XReachable();
  if (wayland && !x11) qputenv("QT_QPA_PLATFORM", "wayland");
  if (x11 && !wayland) qputenv("QT_QPA_PLATFORM", "xcb");
  if (wayland || x11) return {};
  return Reason(waylandSocket);
}

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace qsrn
