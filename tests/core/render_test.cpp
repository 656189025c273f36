// Drawing and pacing frames: the framebuffer's dots and blocks (what is drawn, that drawing again
// in black leaves nothing, clipping), and the frame protocol against a scripted platform (the
// wait, the stop and preview-parent tests, the message repaint, the quota, RunEngine).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "effects/engine.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "render/tile_converter.h"
#include "wave_file.h"
#include "settings/surface_geometry.h"
#include "temp_dir.h"

namespace qsrn {
using namespace std::string_literals;
namespace {
using Pixels = std::set<std::pair<int, int>>;

Pixels Lit(const Surface& s) {
  Pixels out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.GetPixel(x, y) != 0) out.insert({x, y});
  return out;
}
}  // namespace

TEST(Surface, ClearClippingAndPrepare) {
  Surface s(4, 3);
  s.BackColor = 0x123456;
  s.Clear();
  EXPECT_EQ(s.GetPixel(3, 2), 0x123456);
  s.SetPixel(4, 0, 7);  // one past the last column: dropped
  s.SetPixel(-1, 0, 7);
  EXPECT_EQ(s.GetPixel(4, 0), 0);
  s.ForeColor = 0;
  s.DrawWidth = 7;
  PrepareSurface(s);
  EXPECT_EQ(s.BackColor, 0);
  EXPECT_EQ(s.ForeColor, 0xFFFFFF);
  EXPECT_EQ(s.DrawWidth, 1);
  EXPECT_TRUE(Lit(s).empty());
  s.Resize(-5, 2);
  EXPECT_EQ(s.Width(), 0);
  s.SetPixel(0, 0, 1);  // nothing to write into, and no crash
}

// A screen-sized surface (its memory mapped by pages rather than taken from the heap): a copy
// is its own, putting its pages in place keeps the picture, and clearing to black or resizing
// gives zeros again.
TEST(Surface, LargeBuffersCopyPrefaultClearAndResize) {
  Surface s(1024, 768);
  s.SetPixel(1023, 767, 0x0A0B0C);
  s.SetPixel(5, 600, 0x010203);
  Surface copy = s;
  s.SetPixel(5, 600, 0x040506);
  EXPECT_EQ(copy.GetPixel(5, 600), 0x010203);
  EXPECT_EQ(copy.GetPixel(1023, 767), 0x0A0B0C);
  s.SetPixel(0, 4, 0x070809);  // the first pixel of a page
  s.Prefault();
  EXPECT_EQ(s.GetPixel(5, 600), 0x040506);
  EXPECT_EQ(s.GetPixel(0, 4), 0x070809);
  EXPECT_EQ(s.GetPixel(0, 0), 0);
  s.Clear();
  EXPECT_EQ(s.GetPixel(5, 600), 0);
  EXPECT_EQ(s.GetPixel(1023, 767), 0);
  s.SetPixel(1023, 767, 0x0A0B0C);
  s.Resize(3840, 2160);  // a 4K screen
  EXPECT_EQ(s.GetPixel(1023, 767), 0);
  s.SetPixel(3839, 2159, 0x0A0B0C);
  EXPECT_EQ(s.GetPixel(3839, 2159), 0x0A0B0C);
  copy = std::move(s);
  EXPECT_EQ(copy.GetPixel(3839, 2159), 0x0A0B0C);
  // Just below, at and above the size where the memory comes mapped: the first and last pixels
  // are the surface's own, in a copy too, and start black.
  for (auto [w, h] : {std::pair{1023, 512}, {1024, 512}, {1024, 513}}) {
    Surface edge(w, h);
    EXPECT_EQ(edge.GetPixel(w - 1, h - 1), 0);
    edge.SetPixel(0, 0, 1);
    edge.SetPixel(w - 1, h - 1, 2);
    edge.Prefault();
    const Surface twin = edge;
    EXPECT_EQ(twin.GetPixel(0, 0) + twin.GetPixel(w - 1, h - 1), 3) << w << "x" << h;
    EXPECT_EQ(edge.Pixels()[int64_t{w} * h - 1], 2u);
  }
  // A window larger than any desktop gets a desktop's worth, in its centre; real ones stay whole.
  const Surface wide(32000, 16), tall(16, 40000);
  EXPECT_EQ(wide.Width() + wide.Height() + tall.Width() + tall.Height(), 2 * (16384 + 16));
  const auto place = [](int32_t w, int32_t h) {
    const SurfacePlace p = PlaceSurface(w, h);
    return std::tuple(p.x, p.y, p.width, p.height);
  };
  EXPECT_EQ(place(32000, 32000), std::tuple(11904, 11904, 8192, 8192));
  EXPECT_EQ(place(32000, 1080), std::tuple(7808, 0, 16384, 1080));
  EXPECT_EQ(place(15360, 4320), std::tuple(0, 0, 15360, 4320));  // two 8K screens
  EXPECT_EQ(place(1920, 1080), std::tuple(0, 0, 1920, 1080));
}

// Widths 0 to 2 are squares below and left of the point; from 3 on a filled dot of the width,
// symmetric, centred on the point and round from 4 on. A huge pen covers the surface, far
// positions draw nothing, and drawing again in black leaves nothing, also across the edges.
// A window fed band by band from a strip of two bands shows, after every frame, each pixel of
// the surface in the server's byte order, and nothing is written beyond a band: at odd sizes,
// with the changes few, scattered or everywhere, and with the surface replaced by a cleared one.
TEST(TileConverter, BandsOfAStripShowTheWholeSurfaceAndStayInTheirRows) {
  for (const auto& [width, height] : {std::pair(203, 117), std::pair(64, 9), std::pair(1000, 300)}) {
    Surface surface(width, height);
    TileConverter converter;
    const int32_t rows = StripBandRows(width, height);
    constexpr uint32_t kGuard = 0xDEADBEEF;
    // Each half with a guard row above and below it.
    std::vector<uint32_t> strip(static_cast<size_t>(width) * (2 * rows + 4), kGuard);
    PixelTarget halves[2];
    for (int half = 0; half < 2; ++half)
      halves[half] = {reinterpret_cast<uint8_t*>(strip.data() + static_cast<size_t>(width) * (1 + half * (rows + 2))),
                      width * ptrdiff_t{4}, width, rows};
    std::vector<uint32_t> window(static_cast<size_t>(width) * height, 0);
    std::srand(7);
    surface.MarkAllChanged();
    for (int frame = 0; frame < 12; ++frame) {
      const int writes = frame % 3 == 0 ? 3 : frame % 3 == 1 ? 200 : width * height;
      for (int i = 0; i < writes; ++i) surface.SetPixel(std::rand() % width, std::rand() % height, std::rand() & 0xFFFFFF);
      if (frame == 7) surface.Clear();
      int bands = 0;
      for (int32_t row = 0, top = 0, half = 0; row < surface.TileRows(); half = 1 - half) {
        std::vector<PixelRect> runs;
        converter.ConvertBand(surface, halves[half], row, top, runs);
        for (const PixelRect& r : runs) {
          ASSERT_GE(r.y, top);
          ASSERT_LE(r.Bottom() - top, rows - 1);
          for (int y = r.y; y <= r.Bottom(); ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
              window[static_cast<size_t>(y) * width + x] =
                  reinterpret_cast<const uint32_t*>(halves[half].bits + (y - top) * halves[half].bytesPerLine)[x];
        }
        bands += !runs.empty();
      }
      surface.ClearChangedTiles();
      if (writes == width * height) {
        EXPECT_GE(bands, (height + rows - 1) / rows) << width << "x" << height;
      }
      int wrong = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          const auto c = static_cast<uint32_t>(surface.GetPixel(x, y));
          const uint32_t shown = 0xFF000000u | (c & 0xFF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
          wrong += window[static_cast<size_t>(y) * width + x] != shown;
        }
      EXPECT_EQ(wrong, 0) << width << "x" << height << " frame " << frame;
    }
    for (int half = 0; half < 2; ++half)
      for (int x = 0; x < width; ++x) {
        const size_t above = static_cast<size_t>(width) * (half * (rows + 2)) + x;
        EXPECT_EQ(strip[above], kGuard);
        EXPECT_EQ(strip[above + static_cast<size_t>(width) * (rows + 1)], kGuard);
      }
  }
}

TEST(SurfaceDot, ShapesClippingAndErase) {
  Surface s(10, 10);
  for (auto [width, want] : {std::pair<int16_t, Pixels>{0, {{5, 5}}}, {1, {{5, 5}}},
                             {2, {{4, 4}, {5, 4}, {4, 5}, {5, 5}}}}) {
    s.Clear();
    s.DrawWidth = width;
    s.DrawDot(5, 5, 0xFF);
    EXPECT_EQ(Lit(s), want) << width;
  }
  s.DrawWidth = 32767;
  s.DrawDot(5, 5, 0xFFFFFF);
  EXPECT_EQ(Lit(s).size(), 100u);
  s.Clear();
  s.DrawDot(INT32_MAX, INT32_MIN, 0xFFFFFF);
  s.DrawDot(INT32_MIN, INT32_MAX, 0xFFFFFF);
  EXPECT_TRUE(Lit(s).empty());
  for (int16_t d = 3; d <= 21; ++d) {
    Surface big(60, 60);
    big.DrawWidth = d;
    big.DrawDot(30, 30, 0x00FF00);
    const Pixels lit = Lit(big);
    std::map<int, std::vector<int>> rows;  // the columns lit in each row, left to right
    for (auto [x, y] : lit) rows[y].push_back(x);
    const int top = rows.begin()->first, bottom = rows.rbegin()->first;
    EXPECT_EQ(lit.rbegin()->first - lit.begin()->first + 1, d);
    EXPECT_EQ(bottom - top + 1, d);
    EXPECT_TRUE(lit.count({30, 30})) << d;
    EXPECT_TRUE(d < 4 || !lit.count({lit.begin()->first, top})) << d;  // a round corner
    for (const auto& [y, xs] : rows) {
      EXPECT_EQ(xs.back() - xs.front() + 1, static_cast<int>(xs.size())) << d;  // one unbroken span
      EXPECT_EQ(xs.size(), rows[top + bottom - y].size()) << d;
    }
    big.DrawDot(30, 30, 0);
    EXPECT_TRUE(Lit(big).empty()) << d;
  }
  Surface edges(40, 30);
  edges.DrawWidth = 9;
  const std::pair<int, int> spots[] = {{0, 0}, {39, 29}, {-3, 15}, {20, 32}};
  for (auto [x, y] : spots) edges.DrawDot(x, y, 0x0000FF);
  EXPECT_FALSE(Lit(edges).empty());
  for (auto [x, y] : spots) edges.DrawDot(x, y, 0);
  EXPECT_TRUE(Lit(edges).empty());
}

// The block below and right of the point, row by row (two wide up to 4, three from 5; 1 is the
// engine's single pixel; nothing outside 1..9), inside, at the last column and row, past them
// and at negative positions: the part on the surface is drawn (its tiles marked changed for the
// display), the rest is dropped, and drawing again in black leaves nothing.
TEST(SurfaceEdges, EveryPixelSizeAtAndBeyondTheEdges) {
  const int w = 37, h = 22;  // neither a whole number of tiles
  const SurfaceGeometry g = DeriveGeometry(w, h, 1, 1, 1.0f);  // a projection to (w, 0) is on screen
  for (int size = 0; size <= 10; ++size) {
    for (auto [x, y] : {std::pair{5, 5}, {w - 1, h - 1}, {w, h}, {w, 0}, {0, h}, {-1, -1}, {-2, h - 2}, {w - 2, -2},
                        {ProjectX(g, 19.0f, 18.0f), ProjectY(g, -1.0f, 1.0f)}, {INT32_MAX, INT32_MAX}}) {
      Surface s(w, h);
      s.ClearChangedTiles();
      PlotPoint(s, size, x, y, 0xFFFFFF);
      Pixels want, tiles, marked;
      for (int i = 0, wide = size <= 4 ? 2 : 3; size <= 9 && i < size; ++i) {
        const int64_t px = int64_t{x} + (size == 1 ? 0 : i % wide), py = int64_t{y} + (size == 1 ? 0 : i / wide);
        if (px < 0 || px >= w || py < 0 || py >= h) continue;
        want.insert({static_cast<int>(px), static_cast<int>(py)});
        tiles.insert({px / Surface::kTileWidth, py / Surface::kTileHeight});
      }
      for (int row = 0; row < s.TileRows(); ++row)
        for (int col = 0; col < s.TileColumns(); ++col)
          if (s.ChangedTiles()[static_cast<size_t>(row) * s.TileStride() + static_cast<size_t>(col)] == TileMark::Changed)
            marked.insert({col, row});
      EXPECT_EQ(Lit(s), want) << "size " << size << " at " << x << "," << y;
      EXPECT_EQ(marked, tiles) << "size " << size << " at " << x << "," << y;
      PlotPoint(s, size, x, y, 0);
      EXPECT_TRUE(Lit(s).empty());
    }
  }
}

namespace {

// A clock that moves `step` milliseconds on each dispatch, and records what it was asked.
class ScriptedPlatform : public FramePlatform {
 public:
  uint32_t tick = 1000;
  uint32_t step = 1;
  int dispatches = 0;
  int messages = 0;
  int stopAtDispatch = -1;  // sets StopRequested on this dispatch (1-based)
  bool parentAlive = true;
  uint32_t firstDeadline = 0;
  int presentedAfter = -1;  // dispatches

  uint32_t TickCount() override { return tick; }
  void Present(Context&) override { presentedAfter = dispatches; }
  void DispatchEvents(Context& ctx, uint32_t deadline) override {
    if (dispatches++ == 0) firstDeadline = deadline;
    tick += step;
    if (dispatches == stopAtDispatch) ctx.StopRequested = true;
  }
  bool PreviewParentAlive() override { return parentAlive; }
  void ShowMessage(Context&) override { ++messages; }
};

struct Rig {
  Context ctx;
  Surface surface{16, 16};
  ScriptedPlatform platform;
  Rig() {
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.settings.Adv_TimeDelay = 25;
    ctx.settings.LockMessage = "hello";
  }
  void StartFrame() { ctx.frame.FrameStartTick = static_cast<int32_t>(platform.tick); }
};

}  // namespace

// The wait runs from the frame's start, also across the 32-bit clock's wrap, and the platform is
// told when the frame ends (so it can wait for events instead of spinning). A delay of zero or one
// already spent still dispatches once; a stop ends the wait.
TEST(FrameDelay, WaitsTheDelayFromTheFrameStartAndStopsOnRequest) {
  for (uint32_t start : {1000u, 0xFFFFFFF0u}) {
    Rig r;
    r.platform.tick = start;
    r.StartFrame();
    EXPECT_FALSE(FrameDelay(r.ctx));
    EXPECT_EQ(r.platform.dispatches, 25);
    EXPECT_EQ(r.platform.firstDeadline, start + 25u);
  }
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  r.ctx.settings.Adv_TimeDelay = 25;
  r.platform.tick += 100;
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 2);
  r.platform.stopAtDispatch = 5;
  r.StartFrame();
  EXPECT_TRUE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 5);
}

// A frame is presented before the wait; it ends the run on a stop request, or in the preview
// when the parent window is gone.
TEST(EndFrame, PresentsBeforeWaitingAndStopsOnRequestOrALostPreviewParent) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  EXPECT_EQ(r.platform.presentedAfter, 0);
  r.platform.parentAlive = false;
  r.ctx.runMode = RunMode::Saver;
  EXPECT_FALSE(EndFrame(r.ctx));
  r.ctx.runMode = RunMode::Preview;
  EXPECT_TRUE(EndFrame(r.ctx));
  EXPECT_TRUE(r.ctx.StopRequested);
  r.platform.parentAlive = true;  // a stop already requested ends the frame too
  EXPECT_TRUE(EndFrame(r.ctx));
}

// Every three seconds by a signed tick difference (a negative one skips the repaint); a message
// needs a text and a surface, and the full repaint clears to the background first.
TEST(EndFrame, MessageRepaintedEveryThreeSeconds) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.platform.step = 0;
  for (auto [tick, messages] : {std::pair{2999u, 0}, {3000u, 1}, {5999u, 1}, {6000u, 2}}) {
    r.platform.tick = tick;
    EndFrame(r.ctx);
    EXPECT_EQ(r.platform.messages, messages) << tick;
  }
  r.ctx.frame.LastMessageTick = 0;
  r.platform.tick = 0x80000010u;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 2);
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 0);
  r.surface.SetPixel(3, 3, 0xFFFFFF);
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.surface.GetPixel(3, 3), 0);
  EXPECT_EQ(r.platform.messages, 3);
  r.ctx.settings.LockMessage.clear();
  ShowMessage(r.ctx);
  r.ctx.settings.LockMessage.assign(1, 'x');  // (a literal here trips a false GCC 12 warning)
  r.ctx.surface = nullptr;
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.platform.messages, 3);
}

// A positive quota ends the effect on its last frame, or at once when the count is already past
// it; zero and negative quotas never end it.
TEST(FrameLimitReached, QuotaCountsOnlyWhenPositive) {
  Rig r;
  for (int32_t quota : {100, 0, -5}) {
    r.ctx.settings.Adv_EffectFPC = quota;
    r.ctx.frame.FrameCount = 0;
    int frames = 1;
    while (!FrameLimitReached(r.ctx) && frames < 200) ++frames;
    EXPECT_EQ(frames, quota > 0 ? quota : 200) << quota;
  }
  r.ctx.settings.Adv_EffectFPC = 100;
  r.ctx.frame.FrameCount = 250;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
}

// Headless frames last exactly the delay, also across the clock's wrap; a stop ends the run after
// the frame that saw it; a preview settles once, after its first frame; nothing runs without a
// surface and a platform.
TEST(RunEngine, HeadlessFramesStopsAndThePreviewSettle) {
  struct Probe : Engine {
    std::vector<int32_t> ticks;
    std::vector<bool> settled;
    void Setup(Context&) override {}
    void Step(Context& ctx) override {
      ticks.push_back(ctx.frame.FrameStartTick);
      settled.push_back(ctx.frame.PreviewSettled);
      ctx.StopRequested = ticks.size() == 7;
    }
  };
  Rig r;
  HeadlessPlatform platform;
  platform.SetTick(0xFFFFFF00u);
  r.ctx.platform = &platform;
  r.ctx.settings.Adv_EffectFPC = 10;
  r.ctx.runMode = RunMode::Preview;
  Probe engine;
  EXPECT_EQ(RunEngine(r.ctx, engine), 7);
  for (size_t i = 2; i < engine.ticks.size(); ++i) EXPECT_EQ(engine.ticks[i] - engine.ticks[i - 1], 25);
  EXPECT_EQ(engine.settled, (std::vector<bool>{false, true, true, true, true, true, true}));
  Context none;
  Probe idle;
  EXPECT_EQ(RunEngine(none, idle), 0);
  EXPECT_TRUE(idle.ticks.empty());
  EXPECT_EQ(CreateEngine(kEffectCount), nullptr);
}

// The shipped sounds' format: 16-bit little-endian stereo PCM, each sample on both channels.
TEST(WaveFile, HeaderAndSamples) {
  test::TempDir dir;
  ASSERT_TRUE(WriteWave(dir / "two.wav", {0x1234, -2}, 22050));
  const std::string want = "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x22\x56\0\0\x88\x58\x01\0\x04\0\x10\0"
                           "data\x08\0\0\0\x34\x12\x34\x12\xfe\xff\xfe\xff"s;
  EXPECT_EQ(test::ReadFile(dir / "two.wav"), want);
  EXPECT_FALSE(WriteWave(dir / "no" / "such.wav", {1}, 22050));
}

}  // namespace qsrn
