// The galaxy profile picture; see galaxy_profile_view.h.
#include "qt/ui/galaxy_profile_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/galaxy_shape.h"

namespace qsrn {

GalaxyProfileView::GalaxyProfileView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picGalProfile"));
  setMinimumSize(80, 32);
}

void GalaxyProfileView::SetProfile(int profile) {
  if (profile == profile_) return;
  profile_ = profile;
  update();
}

void GalaxyProfileView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::black);
  const int steps = std::max(8, width() - 8);
  std::vector<double> envelope(static_cast<size_t>(steps) + 1);
  double highest = 1e-9;
  for (int i = 0; i <= steps; ++i) {
    // From one rim through the axis to the other: r is the distance from the axis.
    const double r = std::abs(2.0 * i / steps - 1.0);
    const double e = ProfileEnvelope(profile_, r, 1.0);
    envelope[static_cast<size_t>(i)] = std::isfinite(e) ? std::max(e, 0.0) : 0.0;
    highest = std::max(highest, envelope[static_cast<size_t>(i)]);
  }
  const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
  const double midY = area.center().y();
  QPainterPath path;
  for (int i = 0; i <= steps; ++i) {
    const double x = area.left() + area.width() * i / steps;
    const double y = midY - envelope[static_cast<size_t>(i)] / highest * area.height() / 2;
    i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
  }
  for (int i = steps; i >= 0; --i)
    path.lineTo(area.left() + area.width() * i / steps, midY + envelope[static_cast<size_t>(i)] / highest * area.height() / 2);
  path.closeSubpath();
  painter.fillPath(path, QColor(120, 140, 255));
  painter.setPen(QColor(220, 230, 255));
  painter.drawPath(path);
}

}  // namespace qsrn
