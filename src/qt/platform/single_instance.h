// One saver and one properties dialog per user and display: a running window listens on a
// per-user local socket named after its title and the display; a second start connects to find
// it, or to ask it to come forward.
#pragma once

#include <QObject>
#include <QString>

#include "settings/version.h"

class QLocalServer;

namespace qsrn {

inline constexpr char kSaverTitle[] = "QSRN:Quasarine " QSRN_VERSION;
inline constexpr char kPropertiesTitle[] = "Quasarine Properties";
inline constexpr char kPreviewTitle[] = "QSRN:Preview Quasarine " QSRN_VERSION;

// The display the program draws on, for the socket name: one instance per user and per display.
QString DisplayName();
// $XDG_RUNTIME_DIR/<title>@<display>, or the same in a private folder of the user's in the
// temporary folder; a shorter name of the two when the path would not fit a socket address.
// Empty, said once on stderr, when the temporary folder is not the user's alone (another user
// made it, or it is a link): then there is no single-instance check rather than one a stranger
// can answer.
QString InstanceSocketPath(const QString& title);

// True when a window of that title runs (a connection is accepted).
bool WindowExists(const QString& title);
// Asks the window of that title to come forward; false when there is none.
bool BringForward(const QString& title);

// The listening side, held by a window while it carries the title.
class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(QObject* parent = nullptr);
  ~InstanceServer() override;
  // Starts listening; false when another live instance already holds the title or there is no
  // safe place to listen.
  bool Listen(const QString& title);
  void Close();

 signals:
  void bringForwardRequested();

 private:
  void OnNewConnection();
  QLocalServer* server_;
};

}  // namespace qsrn
