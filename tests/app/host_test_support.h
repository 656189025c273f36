// Shared set-up of the program tests: one QApplication for the test process (offscreen), a
// private settings folder and runtime folder per test, the built program run to its end, and
// input for the dialogs sent the way the window system delivers it.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "effects/engine.h"
#include "settings/store.h"

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

// A test with the application and a store of its own in a private folder.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApplication(); }
  std::string Stored(std::string_view section, std::string_view key) const {
    return store.GetSettingString(kAppName, section, key, "<missing>");
  }
  TempHome home;
  SettingsStore store{home.path() / "settings"};
};

// The built program started with its settings and runtime folders in `home` (offscreen); false
// when it could not be started.
inline bool StartProgram(QProcess& p, const QString& home, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "HOME"}) env.insert(name, home);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(QString::fromUtf8(QSRN_PROGRAM), args);
  return p.waitForStarted(120000);
}

// Runs the program to its end: its exit status (-1 when it crashed or hung) and its output.
struct ProgramRun {
  int code = -1;
  QString out, err;
};

inline ProgramRun RunProgram(const QString& home, const QStringList& args) {
  QProcess p;
  ProgramRun r;
  if (!StartProgram(p, home, args) || !p.waitForFinished(120000)) return r;
  if (p.exitStatus() == QProcess::NormalExit) r.code = p.exitCode();
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

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

inline void TypeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

inline void PressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

inline void Focus(QWidget* w, bool in) {
  QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &event);
}

// Answers the next message box with a standard button (closes it when 0) and records its text; waits for
// the box to appear while the returned watcher lives.
[[nodiscard]] inline std::unique_ptr<QTimer> AnswerNextBox(QString* text, int button = 0) {
  auto timer = std::make_unique<QTimer>();
  QTimer* t = timer.get();
  QObject::connect(t, &QTimer::timeout, [t, text, button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    t->stop();
    if (text) *text = box->text();
    if (QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(button)); button != 0 && b)
      b->click();
    else
      box->close();
  });
  t->start(10);
  return timer;
}

// Hands each modal window that comes up to `act` while the returned watcher lives.
[[nodiscard]] inline std::unique_ptr<QTimer> OnModal(std::function<void(QWidget*)> act) {
  auto timer = std::make_unique<QTimer>();
  QObject::connect(timer.get(), &QTimer::timeout, [act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) act(modal);
  });
  timer->start(20);
  return timer;
}

// The Alt+letters that more than one visible label, button, group box or menu title of dialog
// claims, as "letter: caption | caption; ..."; empty when each is unique.
inline QString RepeatedMnemonics(QWidget* dialog) {
  std::map<QChar, QStringList> claims;
  auto claim = [&](const QString& text) {
    for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size(); i = text.indexOf(QLatin1Char('&'), i + 2))
      if (text[i + 1] != QLatin1Char('&')) return claims[text[i + 1].toLower()].append(text);
  };
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(dialog)) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) claim(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) claim(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) claim(group->title());
    for (const QAction* menu : qobject_cast<QMenuBar*>(w) ? w->actions() : QList<QAction*>()) claim(menu->text());
  }
  QString repeated;
  for (const auto& [letter, texts] : claims)
    if (texts.size() > 1) repeated += QString(letter) + QStringLiteral(": ") + texts.join(QStringLiteral(" | ")) + QStringLiteral("; ");
  return repeated;
}

// The object names of the controls Tab visits in dialog, in order, from its first one.
inline QStringList TabOrder(QWidget* dialog) {
  QStringList names;
  for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(dialog) && w->isEnabled() && !w->focusProxy())
      names << w->objectName();
  return names;
}

}  // namespace qsrn::host_test
