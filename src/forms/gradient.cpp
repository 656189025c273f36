// The gradients' bands; see gradient.h.
#include "forms/gradient.h"

#include <algorithm>
#include <cmath>

#include "render/color.h"

namespace qsrn {

int32_t GradientBandColor(int32_t startColor, int32_t endColor, int band, int bands) {
  if (bands < 1) return startColor;
  auto mix = [&](int32_t a, int32_t b) { return a + (b - a) * band / bands; };
  return RGB(mix(RedOf(startColor), RedOf(endColor)), mix(GreenOf(startColor), GreenOf(endColor)),
             mix(BlueOf(startColor), BlueOf(endColor)));
}

GradientBox GradientBandBox(int style, double w, double h, int band, int bands) {
  const double f = static_cast<double>(band) / (std::max(bands, 1) + 1);
  switch (style) {
    case 0:
      return {w * f, 0, w * (1 - f), h};
    case 1:
      return {0, 0, w * (1 - f), h};
    case 2:
      return {0, h * f, w, h * (1 - f)};
    case 3:
      return {0, 0, w, h * (1 - f)};
    case 4:
      return {w * f, h * f, w * (1 - f), h * (1 - f)};
    case 5:
      return {0, h * f, w * (1 - f), h * (1 - f)};
    default:
      return {w * f, 0, w * (1 - f), h * (1 - f)};
  }
}

double GradientBandRadius(double w, double h, double cx, double cy, int band, int bands) {
  double reach = 0;
  for (const double x : {0.0, w})
    for (const double y : {0.0, h}) reach = std::max(reach, std::hypot(x - cx, y - cy));
  bands = std::max(bands, 1);
  return reach * (bands - band) / bands;
}

}  // namespace qsrn
