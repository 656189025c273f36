// SIGTERM, SIGINT and SIGHUP (the terminal or session going away) end the program cleanly in
// every mode: the handler only writes a byte to a pipe, and the event loop, which wakes on it,
// runs the stop on the GUI thread.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace qsrn {

class SignalStop : public QObject {
  Q_OBJECT
 public:
  // Installs the handlers; onSignal runs once per signal, from the event loop.
  explicit SignalStop(std::function<void()> onSignal, QObject* parent = nullptr);
  ~SignalStop() override;

 private:
  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qsrn
