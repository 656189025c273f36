// The credits; see credits_form.h.
#include "qt/ui/credits_form.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "settings/numeric.h"
#include "forms/about_demo.h"
#include "qt/ui/draw_gradient.h"
#include "settings/version.h"

namespace qsrn {

CreditsMotion ClampCreditsMotion(int16_t stars, float speed, float scroll) {
  auto clampf = [](float v, float lo, float hi) { return v == v ? std::clamp(v, lo, hi) : lo; };
  return {Clamp(stars, int16_t{10}, int16_t{200}), clampf(speed, 0.0025f, 0.25f), clampf(scroll, 0.5f, 10.0f)};
}

std::vector<CreditLine> BuildCreditText(const QStringList& credits) {
  std::vector<CreditLine> out = {{QStringLiteral("Quasarine"), 18}, {QString(), 8},
                                 {QStringLiteral("3D Lumidot"), 15}, {QString(), 8},
                                 {QStringLiteral("Version " QSRN_VERSION), 12}};
  for (const QString& line : credits) {
    if (line.isEmpty()) continue;
    if (!line.front().isSpace()) {
      out.push_back({QString(), 8});
      out.push_back({line.trimmed().left(30), 10});
    } else {
      out.push_back({QStringLiteral("     ") + line.trimmed().left(40), 8});
    }
  }
  return out;
}

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
  lines_ = BuildCreditText(credits);
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
    p.setPen(QColor(0, 0, 0));
    p.drawText(box.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, lines_[i].text);
    p.setPen(QColor(255, 240, 160));
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, lines_[i].text);
  }
  creditsTop_ = picFrame_->height() - 10;
}

void frmCredits::RestartField() {
  restart_ = false;
  const QSize size = picFrame_->size().expandedTo(QSize(1, 1));
  field_ = QImage(size, QImage::Format_RGB32);
  DrawGradient(field_, 0x300000, 0x0000A0, 24, 2);
  const auto n = static_cast<size_t>(motion_.stars);
  x_.assign(n, 0);
  y_.assign(n, 0);
  z_.assign(n, 1);
  plotX_.assign(n, 0);
  plotY_.assign(n, 0);
  plotWidth_.assign(n, 1);
  for (size_t i = 0; i < n; ++i) {
    x_[i] = rng_.Rnd() * 2 - 1;
    y_[i] = rng_.Rnd() * 2 - 1;
    plotX_[i] = static_cast<int>((x_[i] + 1) * 0.5f * static_cast<float>(size.width()));
    plotY_[i] = static_cast<int>((y_[i] + 1) * 0.5f * static_cast<float>(size.height()));
    PlotStar(i);
  }
  BuildText();
}

// A round dot plotWidth_ across in XOR: plotting the same star again erases it.
void frmCredits::PlotStar(size_t i) {
  const int w = plotWidth_[i];
  const int x0 = plotX_[i] - w / 2, y0 = plotY_[i] - w / 2;
  const double r = w / 2.0;
  for (int dy = 0; dy < w; ++dy) {
    const int y = y0 + dy;
    if (y < 0 || y >= field_.height()) continue;
    auto* row = reinterpret_cast<QRgb*>(field_.scanLine(y));
    for (int dx = 0; dx < w; ++dx) {
      const int x = x0 + dx;
      if (x < 0 || x >= field_.width()) continue;
      const double ox = dx + 0.5 - r, oy = dy + 0.5 - r;
      if (w > 2 && ox * ox + oy * oy > r * r) continue;
      row[x] ^= 0x00FFFFFFu;
    }
  }
}

void frmCredits::StepFrame() {
  if (restart_ || field_.isNull()) RestartField();
  const float w = static_cast<float>(field_.width()), h = static_cast<float>(field_.height());
  for (size_t i = 0; i < x_.size(); ++i) {
    PlotStar(i);  // erase
    z_[i] -= motion_.speed;
    float sx = z_[i] > 0 ? x_[i] / z_[i] : 2, sy = z_[i] > 0 ? y_[i] / z_[i] : 2;
    if (sx < -1 || sx > 1 || sy < -1 || sy > 1 || z_[i] < 0.02f) {
      x_[i] = rng_.Rnd() * 2 - 1;
      y_[i] = rng_.Rnd() * 2 - 1;
      z_[i] = 1;
      sx = x_[i];
      sy = y_[i];
    }
    plotWidth_[i] = std::max(1, static_cast<int>(std::floor(1.0f / z_[i])));
    plotX_[i] = static_cast<int>((sx + 1) * 0.5f * w);
    plotY_[i] = static_cast<int>((sy + 1) * 0.5f * h);
    PlotStar(i);
  }
  creditsTop_ -= motion_.scroll;
  const double textHeight = credits_.height() / credits_.devicePixelRatio();
  if (creditsTop_ < -textHeight) creditsTop_ = picFrame_->height() - 10;
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
