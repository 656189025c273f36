// The per-user instance sockets; see single_instance.h.
#include "qt/platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <sys/un.h>

#include <cstdio>
#include <string>

#include "settings/file_system.h"

namespace qsrn {

namespace {
constexpr int kConnectTimeoutMs = 500;
const QByteArray kForwardRequest = "forward\n";
}  // namespace

QString DisplayName() {
  // ":0" and ":0.1" are the same display; a Wayland session has its socket's name.
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) {
    display = qEnvironmentVariable("DISPLAY");
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    const qsizetype dot = display.indexOf(QLatin1Char('.'), colon < 0 ? 0 : colon);
    if (dot >= 0) display.truncate(dot);
  }
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  return display;
}

namespace {

// Says once per run why the program runs without the single-instance check (a static may hold
// that: it only keeps a message from repeating, and no behaviour depends on it).
void SayNoInstanceCheck(const QString& why) {
  static bool said = false;
  if (said) return;
  said = true;
  std::fprintf(stderr, "quasarine: %s; running without the single-instance check\n", qUtf8Printable(why));
}

// The folder of the user's own in the temporary folder, when XDG_RUNTIME_DIR gives none.
QString PrivateTempFolder() {
  std::string why;
  const std::filesystem::path dir =
      files::PrivateFolderIn(QFile::encodeName(QDir::tempPath()).toStdString(), "quasarine", why);
  if (dir.empty()) SayNoInstanceCheck(QFile::decodeName(why.c_str()));
  return dir.empty() ? QString() : QFile::decodeName(dir.c_str());
}

bool FitsASocketAddress(const QString& path) {
  return static_cast<size_t>(QFile::encodeName(path).size()) < sizeof(sockaddr_un{}.sun_path);
}

// A name of the same title and display short enough for any folder that leaves room for it.
QString ShortName(const QString& name) {
  return QStringLiteral("qsrn-") +
         QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
}

}  // namespace

QString InstanceSocketPath(const QString& title) {
  const QString display = DisplayName();
  const QString name = title + (display.isEmpty() ? QString() : QLatin1Char('@') + display);
  QString dir = QFile::decodeName(files::UserRuntimeFolder().c_str());
  if (dir.isEmpty()) dir = PrivateTempFolder();
  if (dir.isEmpty()) return {};
  // A socket's address holds 107 bytes: a longer path takes the short name, then the
  // temporary folder, rather than leaving the check off.
  if (FitsASocketAddress(dir + QLatin1Char('/') + name)) return dir + QLatin1Char('/') + name;
  if (!FitsASocketAddress(dir + QLatin1Char('/') + ShortName(name))) dir = PrivateTempFolder();
  if (dir.isEmpty()) return {};
  QString path = dir + QLatin1Char('/') + ShortName(name);
  if (FitsASocketAddress(path)) return path;
  SayNoInstanceCheck(QStringLiteral("no socket path short enough in ") + dir);
  return {};
}

bool WindowExists(const QString& title) {
  const QString path = InstanceSocketPath(title);
  if (path.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(path);
  return socket.waitForConnected(kConnectTimeoutMs);
}

bool BringForward(const QString& title) {
  const QString path = InstanceSocketPath(title);
  if (path.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kForwardRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

// The socket's folder is the user's own, so the socket needs no access options of its own (with
// them, Qt would bind elsewhere and rename over a live socket of the same name).
InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

InstanceServer::~InstanceServer() { Close(); }

bool InstanceServer::Listen(const QString& title) {
  if (server_->isListening()) return true;
  const QString path = InstanceSocketPath(title);
  if (path.isEmpty() || WindowExists(title)) return false;
  if (server_->listen(path)) return true;
  // A socket file left by an instance that did not end cleanly: take it over.
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void InstanceServer::Close() {
  if (server_->isListening()) server_->close();
}

void InstanceServer::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains(kForwardRequest.trimmed())) emit bringForwardRequested();
    });
  }
}

}  // namespace qsrn
