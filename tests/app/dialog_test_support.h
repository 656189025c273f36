// Input for the dialog tests, sent the way the window system delivers it.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <functional>
#include <memory>
#include <QTimer>
#include <QWidget>

namespace qsrn::dialog_test {

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

}  // namespace qsrn::dialog_test
