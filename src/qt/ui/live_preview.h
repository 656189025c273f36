// The properties dialog's live preview: the chosen effect run with the values the fields show
// (not yet accepted) on a small surface, through the same loaders, engines and frame protocol
// as the saver's preview display, paced by a timer at the frame delay (never faster than
// 50 frames a second). A change restarts it shortly after the last edit; it stops while hidden.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "effects/engine.h"
#include "forms/preview_run.h"
#include "settings/template_fields.h"

namespace qsrn {

class LivePreview : public QWidget {
  Q_OBJECT

 public:
  // store supplies the Advanced keys (frame delay, performance multiplier, hues).
  LivePreview(const SettingsStore& store, QWidget* parent = nullptr);
  ~LivePreview() override;

  // Runs effect with these values, after a short pause that gathers a burst of edits.
  void Restart(const FieldTexts& texts, EffectIndex effect);
  // Frames drawn since the last restart (for tests).
  int FramesShown() const { return frames_; }
  bool Running() const { return frameTimer_.isActive(); }

  QSize sizeHint() const override { return {200, 150}; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void showEvent(QShowEvent*) override;
  void hideEvent(QHideEvent*) override;

 private:
  void StartEngine();
  void Frame();

  const SettingsStore& store_;
  FieldTexts texts_;
  EffectIndex effect_ = EffectIndex::Fireworks;
  PreviewRun run_{[this] { update(); }};
  QTimer restartTimer_;
  QTimer frameTimer_;
  int frames_ = 0;
  bool pending_ = false;
};

}  // namespace qsrn
