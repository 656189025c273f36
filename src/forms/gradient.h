// The colour gradients behind the about box and the credits, for every toolkit's view: the band
// colours and where each band lies; the view fills the boxes or circles with its own calls.
// Colours are 0x00BBGGRR.
//
// Styles 0-6 draw each band as a filled box, band i covering the picture from i / (n + 1) of the
// way along its direction to the far edge:
//   0 left to right, 1 right to left, 2 top to bottom, 3 bottom to top,
//   4 top left to bottom right, 5 top right to bottom left, 6 bottom left to top right.
// Style 7 draws each band as a filled circle about the centre (default: the middle) whose radius
// falls from the farthest corner's distance in proportion (n - i) / n; the start colour fills the
// picture first.
#pragma once

#include <cstdint>

namespace qsrn {

inline constexpr int kGradientStyles = 8;
inline constexpr int kRadialGradient = 7;

struct Gradient {
  int32_t startColor;
  int32_t endColor;
  int bands;
  int style;
};

// The about box: dark red at the rim to dark blue about a point near its top left (840, 660 in
// twips); the radial style draws its start colour at the rim, so the red comes first.
inline constexpr Gradient kAboutGradient{0x000080, 0x802000, 24, kRadialGradient};
inline constexpr double kAboutGradientCentreX = 840 / 15.0, kAboutGradientCentreY = 660 / 15.0;  // pixels
// The about box's border: three lines, two pixels each, six pixels deep, outermost first.
inline constexpr int32_t kAboutBorderColors[3] = {0xFF4060, 0x8020FF, 0xC08040};
inline constexpr int kAboutBorderLine = 2;
// The credits' star field: dark blue at the top to dark red at the bottom.
inline constexpr Gradient kCreditsGradient{0x300000, 0x0000A0, 24, 2};

// The colour of band i of n (0 <= i <= n): each channel start + (end - start) * i / n.
int32_t GradientBandColor(int32_t startColor, int32_t endColor, int band, int bands);

struct GradientBox {
  double x, y, width, height;
};
// The box of band i of n for the linear styles (0-6) on a picture width x height.
GradientBox GradientBandBox(int style, double width, double height, int band, int bands);
// The radius of band i of n for the radial style about (cx, cy).
double GradientBandRadius(double width, double height, double cx, double cy, int band, int bands);

}  // namespace qsrn
