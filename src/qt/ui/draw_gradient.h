// DrawGradient: fills a picture with bands of colour going from a start colour to an end colour,
// for the about box (radial) and the credits' star field (top to bottom). Colours are 0x00BBGGRR.
//
// Styles 0-6 draw each band as a filled box, band i covering the picture from i / (n + 1) of the
// way along its direction to the far edge:
//   0 left to right, 1 right to left, 2 top to bottom, 3 bottom to top,
//   4 top left to bottom right, 5 top right to bottom left, 6 bottom left to top right.
// Style 7 draws each band as a filled circle about the centre (default: the middle) whose radius
// falls from the farthest corner's distance in proportion (n - i) / n.
#pragma once

#include <QImage>
#include <QPointF>
#include <cstdint>
#include <optional>

namespace qsrn {

inline constexpr int kGradientStyles = 8;

// The colour of band i of n (0 <= i <= n): each channel start + (end - start) * i / n.
int32_t GradientBandColor(int32_t startColor, int32_t endColor, int band, int bands);

// The target's own painter state is not touched: DrawGradient opens and closes its own painter.
void DrawGradient(QImage& target, int32_t startColor, int32_t endColor, int bands, int style,
                  std::optional<QPointF> centre = std::nullopt);

}  // namespace qsrn
