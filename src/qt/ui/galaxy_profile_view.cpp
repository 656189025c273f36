// The galaxy profile picture; see galaxy_profile_view.h.
#include "qt/ui/galaxy_profile_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "forms/galaxy_profile_outline.h"

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
  const std::vector<double> envelope = GalaxyProfileOutline(profile_, steps);
  const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
  const double midY = area.center().y();
  QPainterPath path;
  for (int i = 0; i <= steps; ++i) {
    const double x = area.left() + area.width() * i / steps;
    const double y = midY - envelope[static_cast<size_t>(i)] * area.height() / 2;
    i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
  }
  for (int i = steps; i >= 0; --i)
    path.lineTo(area.left() + area.width() * i / steps, midY + envelope[static_cast<size_t>(i)] * area.height() / 2);
  path.closeSubpath();
  painter.fillPath(path, QColor(120, 140, 255));
  painter.setPen(QColor(220, 230, 255));
  painter.drawPath(path);
}

}  // namespace qsrn
