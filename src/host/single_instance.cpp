// The per-user instance sockets; see single_instance.h.
#include "host/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

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

QString InstanceSocketPath(const QString& title) {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QDir(dir).exists()) {
    dir = QDir::tempPath() + QStringLiteral("/quasarine-%1").arg(getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  const QString display = DisplayName();
  return dir + QLatin1Char('/') + title + (display.isEmpty() ? QString() : QLatin1Char('@') + display);
}

bool WindowExists(const QString& title) {
  QLocalSocket socket;
  socket.connectToServer(InstanceSocketPath(title));
  return socket.waitForConnected(kConnectTimeoutMs);
}

bool BringForward(const QString& title) {
  QLocalSocket socket;
  socket.connectToServer(InstanceSocketPath(title));
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
  if (WindowExists(title)) return false;
  const QString path = InstanceSocketPath(title);
  if (server_->listen(path)) return true;
  // A socket file left by an instance that did not end cleanly: take it over.
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void InstanceServer::Close() {
  if (server_->isListening()) server_->close();
}

bool InstanceServer::IsListening() const { return server_->isListening(); }

void InstanceServer::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains(kForwardRequest.trimmed())) emit bringForwardRequested();
    });
  }
}

}  // namespace qsrn
