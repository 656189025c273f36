// quasarine --bench: runs each available effect (or one) offscreen and reports what a frame's
// engine step costs (moving, erasing and drawing; no presentation, no delay): the median and
// the 95th percentile over the run, and how many particles were alive at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/headless.h"
#include "tools/tool_options.h"
#include "tools/tools.h"

namespace qsrn {

namespace {

int Usage(const std::string& why) {
  std::fprintf(stderr, "quasarine: %s\n%s", why.c_str(), ToolUsage(ToolKind::Bench));
  return 2;
}

// Times the wrapped engine's steps; the samples are reserved up front, not grown per frame.
class TimedEngine : public Engine {
 public:
  TimedEngine(Engine& inner, int32_t frames) : inner_(inner) { millis_.reserve(static_cast<size_t>(frames)); }
  void Setup(Context& ctx) override { inner_.Setup(ctx); }
  void Step(Context& ctx) override {
    const auto start = std::chrono::steady_clock::now();
    inner_.Step(ctx);
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    millis_.push_back(spent.count());
  }
  int ParticleCount() const override { return inner_.ParticleCount(); }
  std::vector<double>& millis() { return millis_; }

 private:
  Engine& inner_;
  std::vector<double> millis_;
};

// The value below which the given fraction of the sorted samples lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  size_t rank = static_cast<size_t>(fraction * static_cast<double>(sorted.size()) + 0.999999);
  rank = std::clamp<size_t>(rank, 1, sorted.size());
  return sorted[rank - 1];
}

}  // namespace

int BenchMain(int argc, char** argv) {
  std::string error;
  const std::optional<ToolOptions> options = ParseToolOptions(ToolKind::Bench, argc, argv, &error);
  if (!options) return Usage(error);
  ToolStore store;
  if (!store.Open(SettingsStore::DefaultDirectory(), options->overrides, &error)) return Usage(error);

  std::vector<int> effects;
  if (options->effect) {
    effects.push_back(*options->effect);
  } else {
    for (int e = 0; e < kEffectCount; ++e)
      if (CreateEngine(e) != nullptr) effects.push_back(e);
  }
  std::printf("%-24s %7s %10s %10s %10s   (%dx%d)\n", "effect", "frames", "median ms", "p95 ms",
              "particles", options->width, options->height);
  int status = 0;
  for (int effect : effects) {
    HeadlessDisplay display;
    display.Start(store.store(), options->width, options->height, options->seed.value_or(1));
    std::unique_ptr<Engine> engine = PrepareEffect(display.ctx, store.store(), effect, options->theme, false);
    if (engine == nullptr) {
      std::fprintf(stderr, "quasarine: the %s effect is not available\n", EffectName(effect));
      status = 1;
      continue;
    }
    TimedEngine timed(*engine, options->frames);
    const int32_t frames = RunFrames(display.ctx, timed, options->frames);
    std::vector<double>& millis = timed.millis();
    std::sort(millis.begin(), millis.end());
    std::printf("%-24s %7d %10.4f %10.4f %10d\n", EffectName(effect), frames, Percentile(millis, 0.5),
                Percentile(millis, 0.95), timed.ParticleCount());
    std::fflush(stdout);
  }
  return status;
}

}  // namespace qsrn
