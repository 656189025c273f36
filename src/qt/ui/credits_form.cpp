// The credits; see credits_form.h.
#include "qt/ui/credits_form.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "forms/about_demo.h"
#include "qt/ui/draw_gradient.h"

namespace qsrn {

frmCredits::frmCredits(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmCredits"));
  setWindowTitle(tr("Quasarine Credits"));
  setWindowModality(Qt::WindowModal);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  auto* layout = new QVBoxLayout(this);
  picFrame_ = new QWidget(this);
  picFrame_->setObjectName(QStringLiteral("picFrame"));
  picFrame_->setMinimumSize(200, 150);
  picFrame_->setAttribute(Qt::WA_OpaquePaintEvent);
  picFrame_->installEventFilter(this);
  layout->addWidget(picFrame_, 1);
  cmdDismiss_ = new QPushButton(tr("OK"), this);
  cmdDismiss_->setObjectName(QStringLiteral("cmdDismiss"));
  cmdDismiss_->setDefault(true);
  layout->addWidget(cmdDismiss_, 0, Qt::AlignHCenter);
  connect(cmdDismiss_, &QPushButton::clicked, this, &QDialog::accept);

  // The size and place of the window it was opened over (the properties dialog).
  const QWidget* over = parent != nullptr && parent->parentWidget() != nullptr ? parent->parentWidget()->window() : parent;
  if (over != nullptr && over->width() >= 320)
    setGeometry(over->geometry());
  else
    resize(640, 480);

  rng_.Seed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  timer_ = new AnimationTimer(this, kAboutDemoFrameDelay, [this] { StepFrame(); });
}

void frmCredits::FormLet(int16_t stars3D, float speed3D, float scrollIncrement, const QStringList& credits) {
  motion_ = ClampCreditsMotion(stars3D, speed3D, scrollIncrement);
  std::vector<std::string> text;
  for (const QString& line : credits) text.push_back(line.toStdString());
  lines_ = BuildCreditText(text);
  BuildText();
  restart_ = true;
}

// The text picture: each line centred with a one-pixel shadow, 1.2 line heights apart.
void frmCredits::BuildText() {
  const int width = std::max(picFrame_->width(), 200);
  double height = 0;
  std::vector<double> tops;
  for (const CreditLine& line : lines_) {
    QFont f = font();
    f.setPointSize(line.pointSize);
    tops.push_back(height);
    height += 1.2 * QFontMetricsF(f).height();
  }
  const qreal dpr = devicePixelRatioF();
  credits_ = QImage(QSize(width, std::max(1, static_cast<int>(std::ceil(height)))) * dpr, QImage::Format_ARGB32_Premultiplied);
  credits_.setDevicePixelRatio(dpr);
  credits_.fill(Qt::transparent);
  QPainter p(&credits_);
  for (size_t i = 0; i < lines_.size(); ++i) {
    QFont f = font();
    f.setPointSize(lines_[i].pointSize);
    f.setBold(lines_[i].pointSize >= 10);
    p.setFont(f);
    const QRectF box(0, tops[i], width, 1.2 * QFontMetricsF(f).height());
    p.setPen(QColorOf(kCreditsShadowColor));
    p.drawText(box.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(lines_[i].text));
    p.setPen(QColorOf(kCreditsTextColor));
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(lines_[i].text));
  }
  creditsTop_ = CreditsStartTop(picFrame_->height());
}

PixelRows frmCredits::Field() {
  return {reinterpret_cast<uint32_t*>(field_.bits()), field_.width(), field_.height(),
          field_.bytesPerLine() / 4};
}

void frmCredits::RestartField() {
  restart_ = false;
  field_ = QImage(picFrame_->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  DrawGradient(field_, kCreditsGradient);
  stars_.Restart(Field(), motion_.stars, rng_);
  BuildText();
}

void frmCredits::StepFrame() {
  if (restart_ || field_.isNull()) RestartField();
  stars_.Step(Field(), motion_.speed, rng_);
  creditsTop_ = ScrollCredits(creditsTop_, motion_.scroll, credits_.height() / credits_.devicePixelRatio(),
                              picFrame_->height());
  picFrame_->update();
}

bool frmCredits::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picFrame_) {
    switch (event->type()) {
      case QEvent::Paint: {
        QPainter p(picFrame_);
        if (field_.isNull())
          p.fillRect(picFrame_->rect(), Qt::black);
        else
          p.drawImage(0, 0, field_);
        p.drawImage(QPointF(0, creditsTop_), credits_);
        return true;
      }
      case QEvent::Resize:
        restart_ = true;
        break;
      case QEvent::MouseButtonDblClick:
        setWindowState(windowState() ^ Qt::WindowMaximized);
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qsrn
