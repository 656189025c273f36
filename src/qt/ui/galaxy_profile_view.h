// The galaxy profile picture of the properties dialog: a cut through the galaxy's disc showing
// the chosen profile's envelope, drawn from the galaxy engine's own profile shapes.
#pragma once

#include <QWidget>

namespace qsrn {

class GalaxyProfileView : public QWidget {
  Q_OBJECT

 public:
  explicit GalaxyProfileView(QWidget* parent = nullptr);
  void SetProfile(int profile);
  int Profile() const { return profile_; }
  QSize sizeHint() const override { return {120, 48}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int profile_ = 0;
};

}  // namespace qsrn
