// The properties form's live preview without a toolkit: the chosen effect run with the values the
// fields show (not yet accepted, see preview_values.h) through the same loaders, engines and frame
// protocol as the saver's preview display, one frame per call on a surface of its own. The view
// paces the calls at the interval Start returns and shows the surface when told to present.
// Usage:
//   PreviewRun run([&] { Repaint(run.surface()); });
//   const int ms = run.Start(store, form.Texts(), form.Effect(), 160, 120, Now());
//   every ms: run.Frame();
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "effects/engine.h"
#include "render/frame.h"
#include "settings/template_fields.h"

namespace qsrn {

struct Context;
class Surface;

class PreviewRun {
 public:
  // A change restarts the preview this long after the last edit, so a burst of edits starts it once.
  static constexpr int kRestartPauseMs = 250;

  explicit PreviewRun(std::function<void()> present);
  ~PreviewRun();
  PreviewRun(const PreviewRun&) = delete;
  PreviewRun& operator=(const PreviewRun&) = delete;

  // Starts effect with texts and store's Advanced keys on a width x height surface (at least
  // 16 x 16). Returns the frame interval in milliseconds: the frame delay, never under 20.
  int Start(const SettingsStore& store, const FieldTexts& texts, EffectIndex effect, int width, int height,
            uint64_t seed);
  void Stop();
  // One frame; when the effect's quota is used up it starts afresh, as the preview display's run
  // loop does.
  void Frame();
  bool Running() const { return engine_ != nullptr; }
  const Surface& surface() const { return *surface_; }
  Surface& surface() { return *surface_; }

 private:
  class Platform : public HeadlessPlatform {
   public:
    explicit Platform(const std::function<void()>& present) : present_(present) {}
    void Present(Context&) override {
      if (present_) present_();
    }
   private:
    const std::function<void()>& present_;
  };

  int Restart();

  std::function<void()> present_;
  Platform platform_{present_};
  std::unique_ptr<Context> ctx_;  // large tables: kept off the stack
  std::unique_ptr<Surface> surface_;
  std::unique_ptr<Engine> engine_;
  const SettingsStore* store_ = nullptr;
  FieldTexts texts_;
  EffectIndex effect_ = EffectIndex::Fireworks;
  uint64_t seed_ = 0;
};

}  // namespace qsrn
