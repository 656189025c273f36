// The windowed display's run loop without a window, for --render without --effect: the same
// effect choice, cycling and demonstration as on screen, into ctx.surface, with no delay, until
// a number of frames has been shown.
#pragma once

#include <cstdint>
#include <optional>

#include "run/run_loop.h"

namespace qsrn {

class SettingsStore;

struct HeadlessRunOptions {
  int32_t frames = 1;                 // frames to show before the loop is stopped
  std::optional<uint64_t> seed;       // fixed seed; the clock when absent
  RunLoop::EngineFactory factory;     // CreateEngine when empty
};

// ctx.surface must be sized. The frames go through ctx.platform when it has one (so that its
// Present sees every frame), else through a platform that never waits; the trigonometric tables
// are built here. Returns the frames shown (idle passes count as black frames).
int32_t RunScreenHeadless(Context& ctx, const SettingsStore& store, const HeadlessRunOptions& options,
                          DemoCounters& demo);

}  // namespace qsrn
