// Shared set-up of the host's program tests: one QApplication for the test process (offscreen),
// and a private settings folder and runtime folder per test.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

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

}  // namespace qsrn::host_test
