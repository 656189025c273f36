// Shared set-up of the host's program tests: one QApplication for the test process (offscreen),
// and a private settings folder and runtime folder per test.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "effects/engine.h"

namespace qsrn::host_test {

inline void EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "quasarine_app_tests";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(argc, argv);
  }
}

// A temporary folder that serves as the settings store and as XDG_RUNTIME_DIR.
class TempHome {
 public:
  TempHome() { setenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit().constData(), 1); }
  std::filesystem::path path() const { return std::filesystem::path(dir_.path().toStdString()); }

 private:
  QTemporaryDir dir_;
};

// An engine that draws nothing, counts set-ups and frames (over all its instances), and at
// given frames runs a step of the test's script (posting input, closing a window).
struct Script {
  std::map<int, std::function<void()>> at;
  int setups = 0;
  int frames = 0;
};

class ScriptedEngine : public Engine {
 public:
  explicit ScriptedEngine(Script& script) : script_(script) {}
  void Setup(Context&) override { ++script_.setups; }
  void Step(Context& ctx) override {
    ++script_.frames;
    if (script_.frames > 10000) ctx.StopRequested = true;  // a test gone wrong still ends
    if (auto it = script_.at.find(script_.frames); it != script_.at.end()) it->second();
  }

 private:
  Script& script_;
};

}  // namespace qsrn::host_test
