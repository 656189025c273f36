// The windowed display's placement on a Qt window; see window_placement.h.
#include "qt/saver/window_placement.h"

#include <QWidget>

namespace qsrn {

void SaveWindowPlacement(const QWidget& form, SettingsStore& store, float twipsPerPixelX,
                         float twipsPerPixelY) {
  const WindowPixels place{form.pos().x(), form.pos().y(), form.size().width(), form.size().height()};
  StorePlacement(store, form.isMaximized(), form.isMinimized(), place, twipsPerPixelX, twipsPerPixelY);
}

void RestoreWindowPlacement(QWidget& form, const SettingsStore& store, float twipsPerPixelX,
                            float twipsPerPixelY) {
  const StoredPlacement stored = ReadPlacement(store, twipsPerPixelX, twipsPerPixelY);
  switch (stored.state) {
    case 2: form.setWindowState(Qt::WindowMaximized); break;
    case 1: form.setWindowState(Qt::WindowMinimized); break;
    default: form.setWindowState(Qt::WindowNoState); break;
  }
  if (!stored.place) return;
  form.move(stored.place->left, stored.place->top);
  form.resize(stored.place->width, stored.place->height);
}

}  // namespace qsrn
