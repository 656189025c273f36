// Golden renders: every effect with its factory settings and other sets (themes, the heaviest
// counts, other types), for two seeds, hashed after chosen frames and compared with
// tests/golden_renders.txt. The run is --render's: general settings and seed, the effect's loader,
// PrepareSurface, the engine under the frame protocol. A mismatch names the first differing frame
// of a run and writes it as a PPM under the build tree; scripts/record-goldens.sh re-records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "effects/engine.h"
#include "engine_rig.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"

namespace qsrn {
namespace {

constexpr int32_t kWidth = 96, kHeight = 72;
constexpr int32_t kFrames[] = {10, 100, 1000};
constexpr uint64_t kSeeds[] = {1, 2024};

struct GoldenSet {
  const char* name;
  int effect, theme;
  int32_t lastFrame;   // the heaviest sets stop early, to keep the test binary quick
  const char* values;  // Key=Value ..., stored as a person would store them
};

const GoldenSet kSets[] = {
    {"fireworks", 0, 0, 1000, ""}, {"fireworks-theme5", 0, 5, 1000, ""},
    {"fireworks-heavy", 0, 0, 100, "FireWorks=99 FireSparks=9999 FireLength=99 PixelSize=2 FireSymmetry=0.5 "
                                   "FireGravity=0.2"},
    // Bursts close to the eye, where sparks cross z = 0, fast and large.
    {"fireworks-close", 0, 0, 1000, "FocalLength=0.05 FireSpeed=99.9 FireSizeDev=99 FireLaunchPct=50 FireDecayPct=40"},
    {"starfield", 1, 0, 1000, ""},
    {"starfield-heavy", 1, 0, 100, "Star_Stars=999 Star_Comet_Percent=100 Star_Dyson_Percent=100 "
                                   "Star_Dyson_Laterals=20 Star_Speed=0.05 PixelSize=3"},
    {"starfield-ballistic", 1, 0, 1000, "Star_Comet_NonBallistic=0 Star_Comet_Percent=90 Star_Comet_Lifespan=50 "
                                        "Star_Dyson_RotAngle=45 FocalLength=2"},
    {"warp", 2, 0, 1000, ""},
    // A list index off its list runs as the default type (here) or the nearest rule (gravity).
    {"warp-heavy", 2, 0, 100, "Warp_Works=999 Warp_Sparks=999 Warp_Length=99 Warp_SizeDev=9 PixelSize=2 Warp_Type=-1"},
    {"warp-plain", 2, 0, 1000, "Warp_Type=1 Warp_HueLock=1 Warp_CyclePct=50 Warp_Damping=.5 FixedHues=1 FocalLength=2"},
    {"sparklers", 3, 0, 1000, ""},
    {"sparklers-heavy", 3, 0, 100, "B_Spline_Splines=999 B_Spline_Pixels=9999 B_Spline_Gravity=0.5 "
                                   "B_Spline_Damping=0.3 PixelSize=4"},
    {"sparklers-free", 3, 0, 1000, "B_Spline_Symmetry=0 B_Spline_AntiGrav=0 B_Spline_MaxExtent=3 B_Spline_ESpeed=9 "
                                   "ColorPctInt=50"},
    {"gravity", 4, 0, 1000, ""},
    {"gravity-heavy", 4, 0, 100, "Grav_Emitters=9 Grav_Attractors=9 Grav_Pixels=9999 Grav_TrailLength=30 "
                                 "Grav_Refresh=300 PixelSize=2 Grav_ColorComp=-1"},
    {"gravity-comp", 4, 0, 1000, "Grav_ColorComp=9 Grav_ARadius=20 Grav_Gravity=3000 Grav_ESpeed=200 "
                                 "Grav_ColorMult=50 Adv_HueStart=90"},
    {"galaxies", 5, 0, 1000, ""}, {"galaxies-theme9", 5, 9, 1000, "PixelSize=2"},
    {"galaxies-heavy", 5, 0, 100, "Galaxy_Stars=30000 Galaxy_NewFreq=20 Galaxy_NovaFreq=20 Galaxy_BurstFreq=20 "
                                  "Galaxy_CometFreq=20 Galaxy_AmbStars=999 Galaxy_Profile=1 Galaxy_ColorComp=1"},
};

std::string Hash(const Surface& s) {  // FNV-1a over the size and the pixels
  uint64_t h = 14695981039346656037ull;
  auto add = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8) h = (h ^ (v & 0xFF)) * 1099511628211ull;
  };
  add(static_cast<uint32_t>(s.Width()));
  add(static_cast<uint32_t>(s.Height()));
  for (int64_t i = 0; i < int64_t{s.Width()} * s.Height(); ++i) add(s.Pixels()[i]);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

void WritePpm(const Surface& s, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << s.Width() << ' ' << s.Height() << "\n255\n";
  for (int64_t i = 0; i < int64_t{s.Width()} * s.Height(); ++i)  // 0x00BBGGRR
    for (int shift : {0, 8, 16}) out.put(static_cast<char>((s.Pixels()[i] >> shift) & 0xFF));
}

struct CapturingPlatform : HeadlessPlatform {
  std::function<void(const Surface&)> onPresent;
  void Present(Context& ctx) override { onPresent(*ctx.surface); }
};

// Renders one set with one seed, calling back with each chosen frame and its number.
void Render(const GoldenSet& set, uint64_t seed, const std::function<void(int32_t, const Surface&)>& frameDone) {
  SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-golden-no-store");
  std::istringstream values(set.values);
  for (std::string item; values >> item;) {
    const std::string key = item.substr(0, item.find('=')), value = item.substr(item.find('=') + 1);
    int stored = 0;
    for (const SectionSpec& sec : Catalogue()) stored += FindKey(sec.id, key) && store.Override(sec.name, key, value);
    ASSERT_EQ(stored, 1) << item;
  }
  Context ctx;
  Surface surface;
  CapturingPlatform platform;
  ctx.surface = &surface;
  ctx.platform = &platform;
  BuildTrigTables(ctx.trig);
  surface.Resize(kWidth, kHeight);
  ctx.runMode = RunMode::Saver;
  LoadGeneralSettings(ctx, store, kWidth, kHeight, false);
  ctx.rng.Seed(seed);
  std::unique_ptr<Engine> engine = CreateEngine(set.effect);
  LoadEffectSettings(ctx, store, set.effect, set.theme, false);
  PrepareSurface(surface);
  int32_t frame = 0;
  platform.onPresent = [&](const Surface& s) {
    ++frame;
    for (int32_t chosen : kFrames)
      if (frame == chosen) frameDone(frame, s);
  };
  ctx.settings.Adv_EffectFPC = set.lastFrame;
  EXPECT_EQ(RunEngine(ctx, *engine), set.lastFrame) << set.name;
}

TEST(GoldenRenders, EveryEffectMatchesItsRecordedFrames) {
  const bool record = std::getenv("QSRN_RECORD_GOLDENS") != nullptr;
  std::map<std::string, std::vector<std::string>> table;  // "set seed" -> its frames' hashes in order
  std::ifstream in(QSRN_GOLDEN_TABLE);
  ASSERT_TRUE(in || record) << "no table; record it with scripts/record-goldens.sh";
  for (std::string line, name, seed, hash; std::getline(in, line);) {
    std::istringstream fields(line);
    if (line[0] != '#' && fields >> name >> seed)
      while (fields >> hash) table[name + " " + seed].push_back(hash);
  }
  std::ostringstream recorded;
  recorded << "# set seed, then the hashes of frames 10, 100, 1000 at " << kWidth << "x" << kHeight
           << "; scripts/record-goldens.sh re-records\n";
  for (const GoldenSet& set : kSets) {
    for (uint64_t seed : kSeeds) {
      const std::string key = std::string(set.name) + " " + std::to_string(seed);
      const std::vector<std::string>& want = table[key];
      size_t index = 0;
      bool reported = false;  // the first differing frame of a run says enough
      recorded << key;
      Render(set, seed, [&](int32_t frame, const Surface& surface) {
        const std::string hash = Hash(surface);
        recorded << ' ' << hash;
        const std::string wanted = index < want.size() ? want[index] : "";
        ++index;
        if (record || reported || wanted == hash) return;
        reported = true;
        std::filesystem::create_directories(QSRN_GOLDEN_FRAMES);
        const std::string file = std::string(QSRN_GOLDEN_FRAMES) + "/" + set.name + "-seed" +
                                 std::to_string(seed) + "-frame" + std::to_string(frame) + ".ppm";
        WritePpm(surface, file);
        ADD_FAILURE() << set.name << ", seed " << seed << ": frame " << frame << " differs (" << hash
                      << ", recorded '" << wanted << "'); the frame is in " << file;
      });
      recorded << '\n';
    }
  }
  if (record) std::ofstream(QSRN_GOLDEN_TABLE) << recorded.str();
}

// Ended by its frame quota, an engine draws no random number past it.
class EveryEngine : public ::testing::TestWithParam<int> {};

TEST_P(EveryEngine, QuotaEndsWithoutFurtherDraws) {
  const auto effect = static_cast<EffectIndex>(GetParam());
  testing::EngineRig byQuota(effect, 160, 120, 9), stepped(effect, 160, 120, 9);
  byQuota.ctx.settings.Adv_EffectFPC = 10;
  auto a = CreateEngine(GetParam()), b = CreateEngine(GetParam());
  EXPECT_EQ(RunEngine(byQuota.ctx, *a), 10);
  b->Setup(stepped.ctx);
  for (int frame = 0; frame < 10; ++frame) b->Step(stepped.ctx);
  EXPECT_EQ(byQuota.ctx.rng.Next(), stepped.ctx.rng.Next());
  EXPECT_EQ(byQuota.LitPixels(), stepped.LitPixels());
}

// What a frame changes is what the presenters are told changed: every pixel that differs from the
// frame before lies in a tile marked Changed, or it would stay stale on the screen. Odd sizes cut
// the last tiles short; the galaxies run with novas and new stars every frame.
TEST_P(EveryEngine, EveryChangedPixelLiesInAMarkedTile) {
  const auto effect = static_cast<EffectIndex>(GetParam());
  testing::EngineRig rig(effect, 203, 117, 4);
  EffectSettings& s = rig.ctx.settings;
  if (effect == EffectIndex::Galaxies) s.Galaxy_NovaFreq = s.Galaxy_NewFreq = s.Galaxy_BurstFreq = s.Galaxy_CometFreq = 9999;
  auto engine = CreateEngine(GetParam());
  PrepareSurface(rig.surface);
  engine->Setup(rig.ctx);
  const Surface& surface = rig.surface;
  const int32_t w = surface.Width(), h = surface.Height();
  std::vector<int32_t> before(static_cast<size_t>(w) * h);
  int stale = 0, changed = 0;
  for (int frame = 0; frame < 120 && stale == 0; ++frame) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) before[static_cast<size_t>(y) * w + x] = surface.GetPixel(x, y);
    rig.surface.ClearChangedTiles();
    engine->Step(rig.ctx);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        if (surface.GetPixel(x, y) == before[static_cast<size_t>(y) * w + x]) continue;
        ++changed;
        const size_t tile = (static_cast<size_t>(y >> Surface::kTileHeightShift) * surface.TileStride()) +
                            static_cast<size_t>(x >> Surface::kTileWidthShift);
        if (surface.ChangedTiles()[tile] != TileMark::Changed) ++stale;
      }
  }
  EXPECT_GT(changed, 0);
  EXPECT_EQ(stale, 0) << "pixels changed in unmarked tiles";
}

INSTANTIATE_TEST_SUITE_P(Effects, EveryEngine, ::testing::Range(0, kEffectCount));

}  // namespace
}  // namespace qsrn
