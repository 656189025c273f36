// The built-in theme presets of Fireworks and Galaxies (complete parameter sets kept as
// comma-separated text, chosen by list index; 0 means the stored settings) and the galaxy
// profile names.
#pragma once

#include <string>
#include <string_view>

namespace qsrn {

inline constexpr int kFireworksThemeCount = 13;
inline constexpr int kGalaxyThemeCount = 16;
inline constexpr int kGalaxyProfileCount = 7;
// The galaxy theme list's entries are this wide, trailing blanks kept.
inline constexpr size_t kGalaxyThemeNameWidth = 23;
// The preset field of a galaxy theme that sets the axial plane (it has no key of its own).
inline constexpr int kGalaxyPlanePresetField = 6;

// Field index of a comma-separated preset, blanks around it removed; "" beyond the last field.
std::string GetPresetField(std::string_view preset, int index);

// The preset text of theme 1..13 (1..16); "" for any other index.
std::string_view FireworksTheme(int index);
std::string_view GalaxyTheme(int index);

// The theme lists' entries: 0 is "< NONE >". FireworksThemeName gives "" outside 0..13;
// GalaxyThemeName gives the 23-character entry for 0..16 and "" outside.
std::string_view FireworksThemeName(int index);
std::string GalaxyThemeName(int index);

// "Standard", "Top-Like", ... for 0..6; "" outside.
std::string_view GalaxyProfileName(int index);

}  // namespace qsrn
