// The demonstration picture; see demo_picture.h.
#include "qt/ui/demo_picture.h"

#include <QImage>
#include <QPainter>

#include "render/surface.h"

namespace qsrn {

DemoPicture::DemoPicture(const Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void DemoPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (surface_.Width() <= 0 || surface_.Height() <= 0) {
    p.fillRect(rect(), Qt::black);
    return;
  }
  // Borrowed, not copied: the image lives only for this paint.
  const QImage frame(reinterpret_cast<const uchar*>(surface_.Pixels()), surface_.Width(), surface_.Height(),
                     surface_.Width() * 4, QImage::Format_RGBX8888);
  p.drawImage(rect(), frame);
}

}  // namespace qsrn
