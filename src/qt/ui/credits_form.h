// frmCredits: the credits scroll up over a three-dimensional star field flying at the viewer.
// Stars are plotted in XOR over a gradient, so plotting a star again erases it. The field starts
// again at the new size when the form is resized; a double-click toggles maximised. Stepped by
// a timer that pauses while the form is hidden or minimised. Changes no settings.
// Usage: credits->FormLet(125, 0.006f, 2.0f, lines); credits->open();
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <cstdint>

#include "forms/credits_roll.h"
#include "render/random.h"
#include "qt/ui/animation_timer.h"

class QPushButton;

namespace qsrn {

class frmCredits : public QDialog {
  Q_OBJECT

 public:
  explicit frmCredits(QWidget* parent = nullptr);

  void FormLet(int16_t stars3D, float speed3D, float scrollIncrement, const QStringList& credits);

  const CreditsMotion& motion() const { return motion_; }
  bool Animating() const { return timer_->Active(); }
  // The text picture's top edge relative to the visible frame.
  double CreditsTop() const { return creditsTop_; }
  // One frame: stars moved, text scrolled (what the timer calls).
  void StepFrame();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildText();
  void RestartField();
  PixelRows Field();

  CreditsMotion motion_{125, 0.006f, 2.0f};
  std::vector<CreditLine> lines_;
  QWidget* picFrame_ = nullptr;
  QPushButton* cmdDismiss_ = nullptr;
  QImage field_;    // picField: gradient and XOR stars
  QImage credits_;  // picCredits: the text, transparent around the letters
  double creditsTop_ = 0;
  bool restart_ = true;
  AnimationTimer* timer_ = nullptr;
  Random rng_;
  StarField stars_;
};

}  // namespace qsrn
