// A picture box that shows a drawing surface as it is (0x00BBGGRR pixels read as RGBX bytes),
// scaled to the widget when the sizes differ. Used by the about box for its demonstrations.
#pragma once

#include <QWidget>

namespace qsrn {

class Surface;

class DemoPicture : public QWidget {
  Q_OBJECT

 public:
  DemoPicture(const Surface& surface, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Surface& surface_;
};

}  // namespace qsrn
