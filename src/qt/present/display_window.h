// What the three displays share: a window that owns the drawing surface, measured in device
// pixels so that one spark is one physical pixel, and presents it once per frame, copying only
// what the window needs; and, on the saver and windowed forms, the one-line message label.
#pragma once

#include <QWidget>
#include <memory>

#include "run/run_loop.h"
#include "qt/present/tile_presenter.h"
#include "qt/present/x11_shm_presenter.h"
#include "render/surface.h"

class QLabel;

namespace qsrn {

struct EffectSettings;

class DisplayWindow : public QWidget {
  Q_OBJECT
 public:
  // A form carries lblMessage; the preview's picture box does not.
  explicit DisplayWindow(bool isForm, QWidget* parent = nullptr);
  ~DisplayWindow() override;

  Surface& surface() { return surface_; }
  DemoCounters& demo() { return demo_; }
  bool isForm() const { return isForm_; }

  // Sizes the surface to the window's inner size in device pixels.
  void SizeSurfaceToWindow();
  // Shows what changed on the surface since the last frame: straight to the X server where it
  // shares memory with us, else by one synchronous paint.
  void PresentFrame();
  // True while frames go to the X server without Qt's repaint.
  bool PresentsDirectly() const { return direct_ != nullptr; }
  const TilePresenter& presenter() const { return presenter_; }
  // lblMessage: font, size, hue colour, place across the top, text.
  void ApplyMessage(const EffectSettings& settings, float twipsPerPixelY);
  void ClearMessage();
  QLabel* messageLabel() const { return lblMessage_; }

  // Lets events through until the window is on screen and its size has stopped changing for
  // quietMs (a window manager may still place or resize a new window), so that the surface is
  // sized to the window the user sees.
  static constexpr int kSettleQuietMs = 120;
  void WaitUntilSettled(int maxMs = 1000, int quietMs = kSettleQuietMs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The area of the visible child widgets (the labels drawn over the picture).
  QRegion CoveredByChildren() const;
  // Makes the shared-memory presenter once for this native window; false where there is none.
  bool TryPresentingDirectly();
  bool PresentDirectly();
  void StopPresentingDirectly();

  bool isForm_;
  Surface surface_;
  TilePresenter presenter_;
  std::unique_ptr<X11ShmPresenter> direct_;
  WId directWindow_ = 0;
  bool directTried_ = false;
  QLabel* lblMessage_ = nullptr;
  DemoCounters demo_;
  int resizes_ = 0;
};

}  // namespace qsrn
