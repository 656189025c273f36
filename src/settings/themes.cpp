// The theme presets' data and the field extraction that reads them.
#include "settings/themes.h"

#include <array>

#include "settings/numeric.h"

namespace qsrn {

namespace {

struct Preset {
  std::string_view name;
  std::string_view fields;
};

constexpr std::string_view kNoTheme = "< NONE >";

// Fields 0-42: shells, sparks, trail, symmetry, speed, persistence, gravity, size, damping;
// launch (5); spline, knots, pattern; multi-burst (4); burst (5); scintillator (2); sparkle (3);
// ring (3); twister (5); decay (4).
constexpr std::array<Preset, kFireworksThemeCount> kFireworksThemes{{
    {"Generic:  Random Mixed Bag",
     "15, 600, 8, 1, 16, 0.96, 0.03, 2, 0.2, 100, 50, 1, 45, 0.8, 5, 7, 25, 20, 25, 10, 1, 10, 40, 6, 3, 1, 5, 9, 10, 30, 9, 10, 2, 5, 10, 10, 15, 3, 20, 10, 12, 800, 40"},
    {"Sparkles:  Scintillators Only",
     "16, 700, 10, 1, 8, 0.96, 0.05, 3, 0.125, 100, 50, 1, 40, 0.75, 0, 10, 25, 0, 25, 10, 1, 0, 30, 6, 2, 0, 100, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Explosive:  Jet Bursts Only",
     "7, 500, 10, 1, 10, 0.96, 0.05, 3, 0.3, 100, 75, 1, 40, 0.85, 0, 10, 0, 0, 25, 10, 1, 100, 40, 6, 4, 0, 0, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Starburst:  Scintillators, Jets, Decay Sparks",
     "12, 500, 10, 1, 10, 0.96, 0.05, 3, 0.2, 100, 75, 1, 40, 0.85, 0, 10, 25, 0, 25, 10, 1, 34, 30, 6, 3, 0, 33, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 33, 25, 900, 60"},
    {"Mega Shells:  Multi-Bursts Only",
     "12, 600, 8, 1, 12, 0.96, 0.025, 3, 0.15, 100, 50, 1, 50, 0.85, 0, 10, 25, 100, 25, 10, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Ring World:  Ring-Bursts Only",
     "8, 650, 6, 1, 10, 0.98, 0.02, 3, 0.075, 100, 50, 1, 40, 0.85, 0, 10, 0, 0, 30, 12, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 100, 3, 0, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Disk World:  Disk-Bursts Only",
     "5, 1400, 12, 0.5, 10, 0.98, 0.01, 4, 0.01, 100, 100, 1, 60, 0.85, 0, 10, 0, 0, 30, 12, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 100, 1, 10, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Sky Loopers:  Twister-Bursts Only",
     "10, 400, 8, 1, 16, 0.97, 0.03, 1, 0.1, 100, 50, 1, 40, 0.85, 0, 10, 0, 0, 30, 12, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 0, 3, 5, 100, 10, 20, 4, 25, 0, 16, 600, 40"},
    {"Stratosphere:  View High in the Sky",
     "10, 800, 5, 1, 10, 0.96, 0.0, 3, 0.10, 0, 75, 1, 40, 0.85, 10, 13, 35, 15, 25, 12, 1, 10, 30, 6, 6, 1, 5, 9, 10, 30, 9, 10, 3, 5, 10, 10, 15, 4, 25, 5, 25, 750, 80"},
    {"Sphere Space:  Large Expanding Spheres",
     "4, 1600, 5, 1, 2, 0.985, 0, 25, 0.02, 0, 75, 2, 50, 0.85, 0, 10, 0, 0, 25, 10, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"String Space:  Spline Warping Madness",
     "8, 700, 5, 1, 3, 0.985, 0, 4, 0.01, 0, 50, 2, 40, 0.75, 100, 12, 0, 0, 25, 10, 1, 0, 30, 6, 2, 0, 0, 9, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Ground Burst:  Explosions from the Ground",
     "16, 450, 8, 1, 16, 0.96, 0.02, 2, 0.2, 100, 400, 32, 1, 0.92, 0, 10, 20, 0, 40, 10, 1, 0, 30, 5, 2, 0, 0, 5, 0, 30, 9, 0, 3, 5, 0, 20, 20, 1, 10, 0, 16, 600, 40"},
    {"Grand Finale:  Looks great on a P200-MMX",
     "18, 625, 7, 1, 20, 0.96, 0.03, 1, 0.2, 100, 50, 1, 40, 0.8, 10, 10, 25, 20, 30, 14, 1, 15, 20, 8, 4, 1, 5, 5, 10, 30, 9, 10, 3, 5, 10, 10, 15, 3, 30, 10, 16, 500, 50"},
}};

// Fields 0-37: stars, radius, rotation, distance, velocity, trail, axial plane, colour multiplier;
// shape (8); new stars (3); novas (3); bursts (4); comets (7); ambient stars (5).
constexpr std::array<Preset, kGalaxyThemeCount> kGalaxyThemes{{
    {"Classical",
     "2400, 200, 300, 300, 375, 2, 0, 2000, 1.3, 2, 0.30, 20, 0.043, 240, 3, 0, 200, 10, 200, 200, 40, 500, 100, 100, 500, 0.95, 300, 60, 60, 100, 300, 0.94, 0.998, 100, 2000, 0, 0.996, 0.35"},
    {"Vast Red-Orange Disk",
     "2000, 1000, 1000, 750, 500, 3, 0, 700, 1.5, 2, 0.2, 160, 359.96, 0, 3, 1, 300, 10, 250, 100, 200, 4000, 200, 250, 1000, 0.95, 200, 50, 200, 100, 200, 0.94, 0.9975, 100, 2000, 0, 0.990, 1"},
    {"Cool Green Sphere",
     "2250, 225, 400, 300, 100, 4, 0, 2750, 1, 1, 1, 20, 0.1, 120, 3, 2, 200, 20, 1000, 100, 30, 500, 100, 100, 300, 0.95, 200, 50, 100, 100, 200, 0.94, 0.9975, 100, 2000, 0, 0.995, 0.5"},
    {"Holiday Ornament",
     "2000, 150, 350, 250, 100, 3, 0, 400, 2, 1.4, 4, 20, 0.2, 60, 3, 1, 400, 10, 200, 200, 30, 1000, 100, 100, 300, 0.95, 200, 50, 400, 100, 200, 0.94, 0.9975, 100, 2000, 0, 0.995, 0.5"},
    {"Dual-Dome Interior",
     "2250, 360, 600, 450, 200, 3, 0, 6000, 1, .02, 0.5, 20, 0.20, 240, 3, 0, 250, 10, 250, 200, 50, 1500, 300, 150, 600, 0.94, 600, 50, 25, 100, 800, 0.94, 0.995, 100, 3000, 0, 0.99, 0.6"},
    {"Solar Wind Comets",
     "1500, 200, 600, 250, 100, 3, 0, 1200, 1.6, 1.6, 0.68, 20, 0.1, 240, 3, 0, 250, 10, 200, 100, 40, 1000, 75, 100, 2000, 0.95, 1000, 50, 125, 150, 2500, 0.94, 0.9975, 100, 2000, 0, 0.995, 0.5"},
    {"Twisting Ring World",
     "2000, 200, 1000, 225, 100, 4, 0, 7500, .1, 1, .5, 160, 359, 240, 3, 2, 400, 10, 200, 200, 40, 500, 100, 100, 600, 0.95, 300, 50, 400, 125, 200, 0.94, 0.9975, 100, 2000, 0, 0.995, 0.5"},
    {"Huge Hollow Shell",
     "2250, 200, 500, 275, 100, 3, 0, 8000, .2, .2, 1, 60, 0.10, 180, 3, 2, 400, 10, 200, 200, 40, 800, 100, 100, 800, 0.95, 200, 50, 150, 100, 300, 0.94, 0.9975, 100, 2000, 0, 0.995, 0.5"},
    {"Cylindrical Hourglass",
     "2250, 150, 400, 300, 100, 3, 0, 720, 1.3, 0.7, 3, 45, 0.25, 60, 3, 6, 300, 10, 275, 120, 30, 600, 100, 100, 750, 0.92, 200, 50, 100, 100, 500, 0.94, 0.9975, 100, 2000, 0, 0.960, 2"},
    {"Cylinder-Disk Hybrid",
     "2250, 500, 500, 600, 150, 4, 0, 1000, 1, 1, 1.5, 20, 0.05, 330, 3, 5, 300, 10, 200, 125, 100, 1500, 100, 100, 300, 0.95, 200, 50, 200, 125, 300, 0.94, 0.9975, 100, 4000, 0, 0.990, 0.8"},
    {"Rotating Comet Disk",
     "1500, 250, 6000, 300, 100, 3, 0, 1200, 2, 2, 1, 20, 0.3, 210, 3, 4, 250, 10, 250, 125, 40, 500, 100, 100, 1000, 0.95, 1200, 50, 600, 300, 2000, 0.94, 0.995, 100, 2000, 0, 0.99, 1"},
    {"Spine-Disk Hybrid",
     "2250, 200, 300, 225, 100, 3, 0, 1000, 5, 5, 3, 20, 0.125, 330, 3, 4, 250, 10, 250, 200, 50, 2000, 100, 100, 500, 0.92, 200, 100, 100, 100, 300, 0.96, 0.9975, 100, 2000, 0, 0.99, 0.75"},
    {"Polar Hemispheres",
     "1250, 500, 600, 650, 50, 3, 0, 6500, 1.35, .05, 0.65, 90, 0.1, 250, 3, 2, 250, 10, 250, 200, 40, 500, 100, 100, 1000, 0.95, 1500, 200, 25, 1200, 200, 0.94, 0.995, 100, 2000, 0, 0.99, 1"},
    {"Diamond in the Sky",
     "2250, 200, 200, 350, 225, 3, 0, 3200, 2.5, 2.5, 2, 170, 359.85, 180, 3, 3, 250, 10, 500, 150, 40, 4000, 150, 100, 2000, 0.9, 800, 40, 20, 100, 2000, 0.94, 0.996, 100, 2000, 0, 0.99, 1"},
    {"Unstable Activity",
     "1250, 200, 500, 250, 100, 3, 0, 800, 2, 2, 0.75, 20, 0.1, 240, 3, 0, 500, 5, 750, 250, 20, 8000, 500, 100, 1000, 0.95, 1000, 100, 0, 2000, 0, 0.94, 0.9, 100, 2000, 0, 0.97, 2"},
    {"Dark Matter Sparklers",
     "1200, 200, 600, 200, 125, 3, 0, 2000, 2, 2, 0.75, 20, 0.1, 0, 4, 0, 1000, 10, 320, 100, 50, 1000, 0, 100, 1000, 0.95, 0, 100, 150, 200, 400, 0.95, 0.925, 100, 2000, 0, 0.99, 1"},
}};

constexpr std::array<std::string_view, kGalaxyProfileCount> kProfiles{
    "Standard", "Top-Like", "Spherical", "Conical", "Hyperbolic", "Outer-Hyperbolic", "Inner-Hyperbolic"};

template <size_t N>
std::string_view ThemeText(const std::array<Preset, N>& themes, int index) {
  return index >= 1 && index <= static_cast<int>(N) ? themes[index - 1].fields : std::string_view();
}

template <size_t N>
std::string_view ThemeName(const std::array<Preset, N>& themes, int index) {
  if (index == 0) return kNoTheme;
  return index >= 1 && index <= static_cast<int>(N) ? themes[index - 1].name : std::string_view();
}

}  // namespace

std::string GetPresetField(std::string_view preset, int index) {
  if (index < 0) return {};
  size_t begin = 0;
  for (int i = 0; i < index; ++i) {
    const size_t comma = preset.find(',', begin);
    if (comma == std::string_view::npos) return {};
    begin = comma + 1;
  }
  const size_t end = preset.find(',', begin);
  return Trim(preset.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

std::string_view FireworksTheme(int index) { return ThemeText(kFireworksThemes, index); }
std::string_view GalaxyTheme(int index) { return ThemeText(kGalaxyThemes, index); }
std::string_view FireworksThemeName(int index) { return ThemeName(kFireworksThemes, index); }

std::string GalaxyThemeName(int index) {
  if (index < 0 || index > kGalaxyThemeCount) return {};
  std::string entry(ThemeName(kGalaxyThemes, index));
  entry.resize(kGalaxyThemeNameWidth, ' ');
  return entry;
}

std::string_view GalaxyProfileName(int index) {
  return index >= 0 && index < kGalaxyProfileCount ? kProfiles[static_cast<size_t>(index)] : std::string_view();
}

}  // namespace qsrn
