// DrawGradient: fills a picture with the bands of a gradient (forms/gradient.h), for the about box
// (radial) and the credits' star field (top to bottom). Colours are 0x00BBGGRR.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <cstdint>
#include <optional>

#include "forms/gradient.h"

namespace qsrn {

QColor QColorOf(int32_t color);

// The target's own painter state is not touched: DrawGradient opens and closes its own painter.
void DrawGradient(QImage& target, const Gradient& gradient, std::optional<QPointF> centre = std::nullopt);

}  // namespace qsrn
