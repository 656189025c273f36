// DrawGradient; see draw_gradient.h.
#include "qt/ui/draw_gradient.h"

#include <QPainter>
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

namespace {

QColor ToQColor(int32_t c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// The box of band i of n + 1 for the linear styles: from its start line to the far edge.
QRectF BandBox(int style, double w, double h, double f) {
  switch (style) {
    case 0: return {w * f, 0, w * (1 - f), h};
    case 1: return {0, 0, w * (1 - f), h};
    case 2: return {0, h * f, w, h * (1 - f)};
    case 3: return {0, 0, w, h * (1 - f)};
    case 4: return {w * f, h * f, w * (1 - f), h * (1 - f)};
    case 5: return {0, h * f, w * (1 - f), h * (1 - f)};
    default: return {w * f, 0, w * (1 - f), h * (1 - f)};
  }
}

}  // namespace

void DrawGradient(QImage& target, int32_t startColor, int32_t endColor, int bands, int style,
                  std::optional<QPointF> centre) {
  if (target.isNull()) return;
  bands = std::max(bands, 1);
  style = std::clamp(style, 0, kGradientStyles - 1);
  const double w = target.width() / target.devicePixelRatio();
  const double h = target.height() / target.devicePixelRatio();
  QPainter p(&target);
  p.setPen(Qt::NoPen);
  if (style < 7) {
    for (int i = 0; i <= bands; ++i) {
      p.setBrush(ToQColor(GradientBandColor(startColor, endColor, i, bands)));
      p.drawRect(BandBox(style, w, h, static_cast<double>(i) / (bands + 1)));
    }
    return;
  }
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = centre.value_or(QPointF(w / 2, h / 2));
  double reach = 0;
  for (QPointF corner : {QPointF(0, 0), QPointF(w, 0), QPointF(0, h), QPointF(w, h)})
    reach = std::max(reach, std::hypot(corner.x() - c.x(), corner.y() - c.y()));
  p.fillRect(QRectF(0, 0, w, h), ToQColor(startColor));
  for (int i = 0; i <= bands; ++i) {
    const double r = reach * (bands - i) / bands;
    p.setBrush(ToQColor(GradientBandColor(startColor, endColor, i, bands)));
    p.drawEllipse(c, r, r);
  }
}

}  // namespace qsrn
