// Helpers for driving the real windows from a test: wait for a condition while
// Qt processes events, find a procedure's window, run a procedure with a
// script that acts on its window once it is open.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

#include "framework/window_manager.h"

namespace kamo::testing {

inline bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

inline fw::Window* findWindow(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = dynamic_cast<fw::Window*>(w); window && window->objectName() == name && window->isVisible())
      return window;
  return nullptr;
}

// Runs `procedure`; once its window `name` is open and `ready` holds, runs
// `script` on it. If the window is still open after the script, `closer`
// closes it (the procedure's exit button, say).
inline bool runWithScript(const std::function<void()>& procedure, const QString& name,
                          const std::function<bool(fw::Window&)>& ready, const std::function<void(fw::Window&)>& script,
                          const std::function<void(fw::Window&)>& closer) {
  bool ran = false;
  QTimer::singleShot(0, [&] {
    fw::Window* w = nullptr;
    if (!waitUntil([&] { return (w = findWindow(name)) && w->manager && ready(*w); })) {
      if (w && w->manager) closer(*w);  // never leave a test waiting on a window
      return;
    }
    script(*w);
    ran = true;
    if (w->manager && !w->manager->Dead) closer(*w);
  });
  procedure();
  return ran;
}

// Closes window `name` (as the system's close command does) as soon as it
// opens: for a window a procedure opens inside the step a test drives.
inline void closeWhenOpen(const QString& name, bool* seen = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, name, seen] {
    fw::Window* w = findWindow(name);
    if (!w || !w->manager || QApplication::activeWindow() != w) return;
    if (seen) *seen = true;
    timer->stop();
    timer->deleteLater();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  });
  timer->start();
}

// Accepts (closes) the dialog `name` as soon as it shows: for a modal dialog a
// procedure opens, such as the print preview.
inline void acceptDialogWhenOpen(const QString& name, bool* seen = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, name, seen] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* d = qobject_cast<QDialog*>(w);
      if (!d || d->objectName() != name || !d->isVisible()) continue;
      if (seen) *seen = true;
      timer->stop();
      timer->deleteLater();
      d->accept();
      return;
    }
  });
  timer->start();
}

}  // namespace kamo::testing
