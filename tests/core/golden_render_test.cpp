// Golden renders: every effect, with its factory settings and two other settings sets (themes,
// the heaviest counts, other drawing types), for two seeds, hashed after chosen frames and
// compared with tests/golden_renders.txt. The run is the one --render makes: the general settings
// and the seed, the effect's loader, PrepareSurface, then the engine under the frame protocol.
// A mismatch names the frame and writes it as a PPM under the build tree, for a person to look at.
// QSRN_RECORD_GOLDENS=1 rewrites the table instead (scripts/record-goldens.sh).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "effects/engine.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/catalogue.h"
#include "settings/loaders.h"
#include "settings/store.h"

namespace qsrn {
namespace {

constexpr int32_t kWidth = 96, kHeight = 72;
constexpr int32_t kFrames[] = {1, 10, 100, 1000};
constexpr uint64_t kSeeds[] = {1, 2024};

struct GoldenSet {
  const char* name;
  int effect;
  int theme;
  int32_t lastFrame;  // the heaviest sets stop early: the run of the test binary stays short
  std::vector<std::pair<const char*, const char*>> values;  // stored as a person would store them
};

const std::vector<GoldenSet>& Sets() {
  static const std::vector<GoldenSet> sets = {
      {"fireworks", 0, 0, 1000, {}},
      {"fireworks-theme5", 0, 5, 1000, {}},
      {"fireworks-heavy", 0, 0, 100, {{"FireWorks", "99"}, {"FireSparks", "9999"}, {"FireLength", "99"},
                                 {"PixelSize", "2"}, {"FireSymmetry", "0.5"}, {"FireGravity", "0.2"}}},
      {"starfield", 1, 0, 1000, {}},
      {"starfield-heavy", 1, 0, 100, {{"Star_Stars", "999"}, {"Star_Comet_Percent", "100"},
                                 {"Star_Dyson_Percent", "100"}, {"Star_Dyson_Laterals", "20"},
                                 {"Star_Speed", "0.05"}, {"PixelSize", "3"}}},
      {"starfield-ballistic", 1, 0, 1000, {{"Star_Comet_NonBallistic", "0"}, {"Star_Comet_Percent", "90"},
                                     {"Star_Comet_Lifespan", "50"}, {"Star_Dyson_RotAngle", "45"},
                                     {"FocalLength", "2"}}},
      {"warp", 2, 0, 1000, {}},
      {"warp-heavy", 2, 0, 100, {{"Warp_Works", "999"}, {"Warp_Sparks", "999"}, {"Warp_Length", "99"},
                            {"Warp_SizeDev", "9"}, {"PixelSize", "2"}}},
      {"warp-plain", 2, 0, 1000, {{"Warp_Type", "1"}, {"Warp_HueLock", "1"}, {"Warp_CyclePct", "50"},
                            {"Warp_Damping", "0.5"}, {"FixedHues", "1"}}},
      {"sparklers", 3, 0, 1000, {}},
      {"sparklers-heavy", 3, 0, 100, {{"B_Spline_Splines", "999"}, {"B_Spline_Pixels", "9999"},
                                 {"B_Spline_Gravity", "0.5"}, {"B_Spline_Damping", "0.3"}, {"PixelSize", "4"}}},
      {"sparklers-free", 3, 0, 1000, {{"B_Spline_Symmetry", "0"}, {"B_Spline_AntiGrav", "0"},
                                {"B_Spline_MaxExtent", "3"}, {"B_Spline_ESpeed", "9"}, {"ColorPctInt", "50"}}},
      {"gravity", 4, 0, 1000, {}},
      {"gravity-heavy", 4, 0, 100, {{"Grav_Emitters", "9"}, {"Grav_Attractors", "9"}, {"Grav_Pixels", "9999"},
                               {"Grav_TrailLength", "30"}, {"Grav_Refresh", "300"}, {"PixelSize", "2"}}},
      {"gravity-comp", 4, 0, 1000, {{"Grav_ColorComp", "2"}, {"Grav_ARadius", "20"}, {"Grav_Gravity", "3000"},
                              {"Grav_ESpeed", "200"}, {"Grav_ColorMult", "50"}}},
      {"galaxies", 5, 0, 1000, {}},
      {"galaxies-theme9", 5, 9, 1000, {}},
      {"galaxies-heavy", 5, 0, 100, {{"Galaxy_Stars", "30000"}, {"Galaxy_NewFreq", "20"}, {"Galaxy_NovaFreq", "20"},
                                {"Galaxy_BurstFreq", "20"}, {"Galaxy_CometFreq", "20"}, {"Galaxy_AmbStars", "999"},
                                {"Galaxy_Profile", "4"}, {"PixelSize", "2"}}},
  };
  return sets;
}

// FNV-1a over the size and the pixels.
uint64_t HashSurface(const Surface& s) {
  uint64_t h = 14695981039346656037ull;
  auto add = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8) h = (h ^ (v & 0xFF)) * 1099511628211ull;
  };
  add(static_cast<uint32_t>(s.Width()));
  add(static_cast<uint32_t>(s.Height()));
  for (int64_t i = 0, n = int64_t{s.Width()} * s.Height(); i < n; ++i) add(s.Pixels()[i]);
  return h;
}

void WritePpm(const Surface& s, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << s.Width() << ' ' << s.Height() << "\n255\n";
  for (int64_t i = 0, n = int64_t{s.Width()} * s.Height(); i < n; ++i) {
    const uint32_t p = s.Pixels()[i];  // 0x00BBGGRR
    out.put(static_cast<char>(p & 0xFF)).put(static_cast<char>((p >> 8) & 0xFF)).put(static_cast<char>((p >> 16) & 0xFF));
  }
}

class CapturingPlatform : public HeadlessPlatform {
 public:
  std::function<void(Context&)> onPresent;
  void Present(Context& ctx) override { onPresent(ctx); }
};

std::string RowKey(const GoldenSet& set, uint64_t seed, int32_t frame) {
  return std::string(set.name) + " " + std::to_string(seed) + " " + std::to_string(frame);
}

// Renders one set with one seed; calls back with each chosen frame.
void Render(const GoldenSet& set, uint64_t seed, const std::function<void(int32_t, const Surface&)>& frameDone) {
  SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-golden-no-store");
  for (const auto& [key, value] : set.values) {
    const SectionSpec* section = nullptr;
    for (const SectionSpec& sec : Catalogue())
      if (FindKey(sec.id, key) != nullptr) section = &sec;
    ASSERT_NE(section, nullptr) << key;
    ASSERT_TRUE(store.Override(section->name, key, value)) << key;
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
  ASSERT_NE(engine, nullptr);
  LoadEffectSettings(ctx, store, set.effect, set.theme, false);
  PrepareSurface(surface);
  int32_t frame = 0;
  size_t next = 0;
  platform.onPresent = [&](Context& c) {
    if (next < std::size(kFrames) && ++frame == kFrames[next]) frameDone(kFrames[next++], *c.surface);
  };
  ctx.settings.Adv_EffectFPC = set.lastFrame;
  ctx.frame.FrameCount = 0;
  EXPECT_EQ(RunEngine(ctx, *engine), ctx.settings.Adv_EffectFPC) << set.name;
}

std::string TablePath() { return QSRN_GOLDEN_TABLE; }

TEST(GoldenRenders, EveryEffectMatchesItsRecordedFrames) {
  const bool record = std::getenv("QSRN_RECORD_GOLDENS") != nullptr;
  std::map<std::string, std::string> table;
  if (!record) {
    std::ifstream in(TablePath());
    ASSERT_TRUE(in) << "no table at " << TablePath() << "; record it with scripts/record-goldens.sh";
    std::string name, seed, frame, hash;
    while (in >> name >> seed >> frame >> hash) table[name + " " + seed + " " + frame] = hash;
  }
  std::ostringstream recorded;
  recorded << "# set seed frame hash (" << kWidth << "x" << kHeight
           << "); re-record with scripts/record-goldens.sh when a picture is meant to change\n";
  for (const GoldenSet& set : Sets()) {
    for (uint64_t seed : kSeeds) {
      bool reported = false;
      Render(set, seed, [&](int32_t frame, const Surface& surface) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashSurface(surface)));
        const std::string key = RowKey(set, seed, frame);
        recorded << key << ' ' << hash << '\n';
        if (record || reported) return;  // the first differing frame of a run says enough
        const auto want = table.find(key);
        if (want != table.end() && want->second == hash) return;
        reported = true;
        std::filesystem::create_directories(QSRN_GOLDEN_FRAMES);
        const std::string file = std::string(QSRN_GOLDEN_FRAMES) + "/" + set.name + "-seed" +
                                 std::to_string(seed) + "-frame" + std::to_string(frame) + ".ppm";
        WritePpm(surface, file);
        ADD_FAILURE() << set.name << ", seed " << seed << ": frame " << frame << " differs ("
                      << hash << ", recorded " << (want == table.end() ? "nothing" : want->second)
                      << "); the frame is in " << file;
      });
    }
  }
  if (record) {
    std::ofstream(TablePath()) << recorded.str();
    std::printf("recorded %s\n", TablePath().c_str());
  }
}

}  // namespace
}  // namespace qsrn
