// The about box; see welcome_form.h.
#include "qt/ui/welcome_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/credits_roll.h"
#include "qt/ui/credits_form.h"
#include "qt/ui/demo_picture.h"
#include "qt/ui/draw_gradient.h"
#include "settings/version.h"

namespace qsrn {

namespace {
constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 180;

QLabel* Caption(const QString& text, int pointSize, bool bold, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setPointSize(pointSize);
  f.setBold(bold);
  label->setFont(f);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
  return label;
}
}  // namespace

frmWelcome::frmWelcome(const SettingsStore& store, QWidget* parent) : QDialog(parent), demo_(store) {
  setObjectName(QStringLiteral("frmWelcome"));
  setWindowTitle(tr("About Quasarine"));
  setModal(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumWidth(360);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(Caption(QStringLiteral("Quasarine"), 22, true, this));
  layout->addWidget(Caption(QStringLiteral("3D Lumidot"), 14, false, this));
  layout->addWidget(Caption(tr("Version %1").arg(QString::fromLatin1(kVersion)), 11, false, this));

  demo_.Resize(kPictureWidth, kPictureHeight);
  picQSRN_ = new DemoPicture(demo_.surface(), this);
  picQSRN_->setObjectName(QStringLiteral("picQSRN"));
  picQSRN_->setFixedSize(kPictureWidth, kPictureHeight);
  layout->addWidget(picQSRN_, 0, Qt::AlignHCenter);

  auto* note = Caption(tr("Quasarine is freeware: use it and pass it on free of charge.\n"
                          "News, questions and reports: the project's page."),
                       9, false, this);
  note->setObjectName(QStringLiteral("lblNote"));
  // Its two lines stay whole: the box widens to them rather than leaving a word on its own.
  note->setWordWrap(false);
  layout->addWidget(note);

  auto* buttons = new QHBoxLayout;
  cmdCredits_ = new QPushButton(tr("&Credits..."), this);
  cmdCredits_->setObjectName(QStringLiteral("cmdCredits"));
  cmdDismiss_ = new QPushButton(tr("OK"), this);
  cmdDismiss_->setObjectName(QStringLiteral("cmdDismiss"));
  cmdDismiss_->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(cmdCredits_);
  buttons->addWidget(cmdDismiss_);
  buttons->addStretch();
  layout->addLayout(buttons);

  connect(cmdCredits_, &QPushButton::clicked, this, &frmWelcome::cmdCredits_Click);
  connect(cmdDismiss_, &QPushButton::clicked, this, &QDialog::accept);
  timer_ = new AnimationTimer(this, kAboutDemoFrameDelay, [this] { StepDemonstration(); });
}

QStringList frmWelcome::CreditLines() {
  QStringList lines;
  for (const std::string& line : qsrn::CreditLines()) lines << QString::fromStdString(line);
  return lines;
}

void frmWelcome::StepDemonstration() {
  demo_.StepFrame();
  picQSRN_->update();
}

void frmWelcome::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PaintBackground();
}

// The radial gradient and the border of three coloured lines.
void frmWelcome::PaintBackground() {
  const qreal dpr = devicePixelRatioF();
  background_ = QImage((QSizeF(size()) * dpr).toSize(), QImage::Format_RGB32);
  background_.setDevicePixelRatio(dpr);
  DrawGradient(background_, kAboutGradient, QPointF(kAboutGradientCentreX, kAboutGradientCentreY));
  QPainter p(&background_);
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(QColorOf(kAboutBorderColors[i]), kAboutBorderLine));
    const qreal inset = kAboutBorderLine / 2.0 + kAboutBorderLine * i;
    p.drawRect(QRectF(inset, inset, width() - 2 * inset, height() - 2 * inset));
  }
}

void frmWelcome::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, background_);
}

void frmWelcome::cmdCredits_Click() {
  timer_->SetPaused(true);  // the credits cover the box
  auto* credits = new frmCredits(this);
  credits->setAttribute(Qt::WA_DeleteOnClose);
  credits->FormLet(kCreditsStars, kCreditsSpeed, kCreditsScroll, CreditLines());
  connect(credits, &QDialog::finished, this, [this] {
    // The demonstration that was interrupted starts again from its beginning.
    demo_.Interrupt();
    PaintBackground();
    update();
    timer_->SetPaused(false);
  });
  credits->open();  // window-modal, without a nested event loop
}

}  // namespace qsrn
