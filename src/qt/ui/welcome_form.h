// frmWelcome, the about box: product name, product line, version, a freeware note and the
// project's page over a radial gradient with a decorative border, and a picture running the
// four demonstrations in turn. The demonstrations are stepped by a timer at their frame delay
// and pause while the box is hidden or minimised or the credits are open. Changes no settings.
// Usage: frmWelcome box(store, parent); box.exec();
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

#include "forms/about_demo.h"
#include "qt/ui/animation_timer.h"

class QPushButton;

namespace qsrn {

class DemoPicture;
class SettingsStore;

class frmWelcome : public QDialog {
  Q_OBJECT

 public:
  frmWelcome(const SettingsStore& store, QWidget* parent = nullptr);

  AboutDemonstrations& demonstrations() { return demo_; }
  bool Animating() const { return timer_->Active(); }
  // The credit lines handed to the credits: headings start with a non-blank, items with blanks.
  static QStringList CreditLines();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void cmdCredits_Click();
  void StepDemonstration();
  void PaintBackground();

  AboutDemonstrations demo_;
  AnimationTimer* timer_ = nullptr;
  DemoPicture* picQSRN_ = nullptr;
  QPushButton* cmdCredits_ = nullptr;
  QPushButton* cmdDismiss_ = nullptr;
  QImage background_;
};

}  // namespace qsrn
