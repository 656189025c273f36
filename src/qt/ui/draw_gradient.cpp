// DrawGradient; see draw_gradient.h.
#include "qt/ui/draw_gradient.h"

#include <QPainter>
#include <algorithm>

#include "render/color.h"

namespace qsrn {

QColor QColorOf(int32_t c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

void DrawGradient(QImage& target, const Gradient& g, std::optional<QPointF> centre) {
  if (target.isNull()) return;
  const int bands = std::max(g.bands, 1);
  const int style = std::clamp(g.style, 0, kGradientStyles - 1);
  const double w = target.width() / target.devicePixelRatio();
  const double h = target.height() / target.devicePixelRatio();
  QPainter p(&target);
  p.setPen(Qt::NoPen);
  if (style != kRadialGradient) {
    for (int i = 0; i <= bands; ++i) {
      const GradientBox box = GradientBandBox(style, w, h, i, bands);
      p.setBrush(QColorOf(GradientBandColor(g.startColor, g.endColor, i, bands)));
      p.drawRect(QRectF(box.x, box.y, box.width, box.height));
    }
    return;
  }
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = centre.value_or(QPointF(w / 2, h / 2));
  p.fillRect(QRectF(0, 0, w, h), QColorOf(g.startColor));
  for (int i = 0; i <= bands; ++i) {
    const double r = GradientBandRadius(w, h, c.x(), c.y(), i, bands);
    p.setBrush(QColorOf(GradientBandColor(g.startColor, g.endColor, i, bands)));
    p.drawEllipse(c, r, r);
  }
}

}  // namespace qsrn
