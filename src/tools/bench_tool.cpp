// quasarine --bench: runs each available effect (or one) offscreen and reports what a frame's
// engine step costs (moving, erasing and drawing; no delay): the median and the 95th percentile
// over the run, and how many particles were alive at the end. A second line per effect gives
// what presenting the frame costs (the changed tiles converted, band by band, into a strip like
// the one a window shares with the X server) and the mean share of tiles changed per frame.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "render/tile_converter.h"
#include "tools/headless.h"
#include "tools/tools.h"

namespace qsrn {

namespace {

int Usage(const std::string& why) { return RefuseArguments(Program::Bench, why); }

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Times the wrapped engine's steps or, in a second run with the same seed, presents each frame
// into an image as a window would and times that (apart, so that neither evicts the other's
// data from the caches); the samples are reserved up front, not grown per frame.
class TimedEngine : public Engine {
 public:
  TimedEngine(Engine& inner, int32_t frames, bool present) : inner_(inner), present_(present) {
    millis_.reserve(static_cast<size_t>(frames));
    presentMillis_.reserve(static_cast<size_t>(frames));
  }
  void Setup(Context& ctx) override {
    inner_.Setup(ctx);
    ctx.surface->Prefault();  // a step's cost, not the one-time cost of the fresh surface's pages
    converter_.Resize(*ctx.surface);
    ctx.surface->MarkAllChanged();  // the first frame is presented whole
    const int32_t width = ctx.surface->Width(), rows = StripBandRows(width, ctx.surface->Height());
    strip_.assign(static_cast<size_t>(width) * static_cast<size_t>(rows) * 2, 0);
    for (size_t half = 0; half < 2; ++half)
      halves_[half] = PixelTarget{reinterpret_cast<uint8_t*>(strip_.data() + half * strip_.size() / 2),
                                  width * ptrdiff_t{4}, width, rows};
  }
  void Step(Context& ctx) override {
    const auto start = Clock::now();
    inner_.Step(ctx);
    millis_.push_back(MillisSince(start));
    if (!present_) return;
    const auto presentStart = Clock::now();
    int32_t converted = 0;
    for (int32_t row = 0, top = 0, half = 0; row < ctx.surface->TileRows(); half = 1 - half) {
      runs_.clear();
      converted += converter_.ConvertBand(*ctx.surface, halves_[half], row, top, runs_);
    }
    FlushStreamedPixels();
    ctx.surface->ClearChangedTiles();
    presentMillis_.push_back(MillisSince(presentStart));
    const double tiles = static_cast<double>(ctx.surface->TileColumns()) * ctx.surface->TileRows();
    tileShare_ += tiles > 0 ? converted / tiles : 0;
  }
  int ParticleCount() const override { return inner_.ParticleCount(); }
  std::vector<double>& millis() { return millis_; }
  std::vector<double>& presentMillis() { return presentMillis_; }
  // The mean share of the surface's tiles changed per frame, in percent.
  double TilePercent() const { return millis_.empty() ? 0 : 100 * tileShare_ / static_cast<double>(millis_.size()); }

 private:
  Engine& inner_;
  bool present_;
  std::vector<double> millis_, presentMillis_;
  TileConverter converter_;
  std::vector<uint32_t> strip_;  // stands in for the strip shared with the X server
  PixelTarget halves_[2];
  std::vector<PixelRect> runs_;
  double tileShare_ = 0;
};

// The value below which the given fraction of the sorted samples lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  size_t rank = static_cast<size_t>(fraction * static_cast<double>(sorted.size()) + 0.999999);
  rank = std::clamp<size_t>(rank, 1, sorted.size());
  return sorted[rank - 1];
}

}  // namespace

int BenchMain(const ToolOptions& options) {
  std::string error;
  ToolStore store;
  if (!store.Open(SettingsStore::DefaultDirectory(), options.overrides, &error)) return Usage(error);

  std::vector<int> effects;
  if (options.effect) {
    effects.push_back(*options.effect);
  } else {
    for (int e = 0; e < kEffectCount; ++e)
      if (CreateEngine(e) != nullptr) effects.push_back(e);
  }
  std::printf("%-24s %7s %10s %10s %10s   (%dx%d)\n", "effect", "frames", "median ms", "p95 ms",
              "particles", options.width, options.height);
  int status = 0;
  for (int effect : effects) {
    for (const bool present : {false, true}) {
      HeadlessDisplay display;
      display.Start(store.store(), options.width, options.height, options.seed.value_or(1));
      std::unique_ptr<Engine> engine = PrepareEffect(display.ctx, store.store(), effect, options.theme, false);
      if (engine == nullptr) {
        std::fprintf(stderr, "quasarine: the %s effect is not available\n", EffectName(effect));
        status = 1;
        break;
      }
      TimedEngine timed(*engine, options.frames, present);
      const int32_t frames = RunFrames(display.ctx, timed, options.frames);
      std::vector<double>& millis = present ? timed.presentMillis() : timed.millis();
      std::sort(millis.begin(), millis.end());
      if (present)
        std::printf("  %-22s %7d %10.4f %10.4f %9.2f%% of the tiles\n", "presenting", frames,
                    Percentile(millis, 0.5), Percentile(millis, 0.95), timed.TilePercent());
      else
        std::printf("%-24s %7d %10.4f %10.4f %10d\n", EffectName(effect), frames, Percentile(millis, 0.5),
                    Percentile(millis, 0.95), timed.ParticleCount());
      std::fflush(stdout);
    }
  }
  return status;
}

}  // namespace qsrn
