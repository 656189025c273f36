// The shared display window; see display_window.h.
#include "qt/present/display_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "render/color.h"
#include "settings/effect_settings.h"

namespace qsrn {

namespace {
// The label's place on the forms: 180 twips from the top.
constexpr double kMessageTopTwips = 180;
}  // namespace

DisplayWindow::DisplayWindow(bool isForm, QWidget* parent) : QWidget(parent), isForm_(isForm) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  if (isForm_) {
    lblMessage_ = new QLabel(this);
    lblMessage_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblMessage_->setTextFormat(Qt::PlainText);  // the user's message, never markup
    lblMessage_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->hide();
  }
}

void DisplayWindow::SizeSurfaceToWindow() {
  const qreal dpr = devicePixelRatioF();
  // Never empty: a window that starts minimised still gets a surface to draw into.
  const int w = std::max(1, static_cast<int>(std::lround(width() * dpr)));
  const int h = std::max(1, static_cast<int>(std::lround(height() * dpr)));
  if (w != surface_.Width() || h != surface_.Height() || presenter_.image().isNull()) surface_.Resize(w, h);
  presenter_.Resize(surface_, dpr);
}

DisplayWindow::~DisplayWindow() = default;  // the shared image goes before the native window

void DisplayWindow::PresentFrame() {
  if (isVisible() && PresentDirectly()) return;
  presenter_.Update(surface_);
  const QRegion changed = presenter_.TakePending();
  if (isVisible() && !changed.isEmpty()) repaint(changed);
}

bool DisplayWindow::TryPresentingDirectly() {
  if (direct_ != nullptr) return true;
  if (directTried_ || devicePixelRatioF() != 1) return false;
  directTried_ = true;
  direct_ = X11ShmPresenter::Create(*this);
  if (direct_ == nullptr) return false;
  directWindow_ = effectiveWinId();
  return true;
}

bool DisplayWindow::PresentDirectly() {
  // Device pixels are the window's own only at a ratio of 1; a recreated native window needs a new start.
  if (direct_ != nullptr && (devicePixelRatioF() != 1 || effectiveWinId() != directWindow_)) {
    StopPresentingDirectly();
    directTried_ = false;  // a new native window or ratio may take it again
  }
  if (!TryPresentingDirectly()) return false;
  QRegion coveredChanged;
  if (!direct_->Present(presenter_, surface_, CoveredByChildren(), &coveredChanged)) {
    StopPresentingDirectly();
    return false;
  }
  if (!coveredChanged.isEmpty()) repaint(coveredChanged);
  return true;
}

void DisplayWindow::StopPresentingDirectly() {
  direct_.reset();
  presenter_.Resize(surface_, devicePixelRatioF());  // Qt's buffer missed the frames sent directly
  update();  // and may never have been filled: Qt paints the whole window once
}

void DisplayWindow::showEvent(QShowEvent* event) {
  // The native window's exposes come here first (installing twice keeps one filter).
  if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
  QWidget::showEvent(event);
}

bool DisplayWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool expose = event->type() == QEvent::Expose || event->type() == QEvent::Paint;
  if (!expose || watched != windowHandle() || !isVisible()) return QWidget::eventFilter(watched, event);
  // With nothing drawn over the picture, the server gets it again from shared memory: Qt would
  // otherwise fill a buffer of the window's size, another copy of the picture, just to send it once.
  if (CoveredByChildren().isEmpty() && (direct_ == nullptr || effectiveWinId() == directWindow_) &&
      TryPresentingDirectly()) {
    setAttribute(Qt::WA_Mapped, windowHandle()->isExposed());  // as Qt's own handling would
    if (surface_.Width() == 0) return true;  // nothing drawn yet: the first frame shows it all
    surface_.MarkAllChanged();
    if (direct_->Present(presenter_, surface_, QRegion(), nullptr)) return true;
    StopPresentingDirectly();
  }
  // Qt's own buffer no longer follows every frame: an expose must repaint, not just copy it.
  if (direct_ != nullptr) update();
  return QWidget::eventFilter(watched, event);
}

QRegion DisplayWindow::CoveredByChildren() const {
  QRegion covered;
  for (const QObject* child : children())
    if (child->isWidgetType() && static_cast<const QWidget*>(child)->isVisible())
      covered += static_cast<const QWidget*>(child)->geometry();
  return covered;
}

void DisplayWindow::paintEvent(QPaintEvent* event) {
  presenter_.Follow(surface_);
  // The labels drawn over the picture (the message, the frame rate) need it whole beneath them.
  QPainter painter(this);
  presenter_.Paint(painter, event->region(), CoveredByChildren());
}

void DisplayWindow::resizeEvent(QResizeEvent* event) {
  ++resizes_;
  if (lblMessage_) lblMessage_->resize(width(), lblMessage_->height());
  QWidget::resizeEvent(event);
}

void DisplayWindow::ApplyMessage(const EffectSettings& s, float twipsPerPixelY) {
  if (lblMessage_ == nullptr) return;
  QFont font(QString::fromStdString(s.Adv_FontName));
  font.setPointSize(s.Adv_FontSize > 0 ? s.Adv_FontSize : 20);
  const int32_t color = HueToRGB(s.Adv_FontHueV);
  QPalette pal = lblMessage_->palette();
  pal.setColor(QPalette::WindowText, QColor(RedOf(color), GreenOf(color), BlueOf(color)));
  lblMessage_->setPalette(pal);
  lblMessage_->setFont(font);
  lblMessage_->setText(QString::fromStdString(s.LockMessage));
  const int top = static_cast<int>(std::lround(kMessageTopTwips / (twipsPerPixelY > 0 ? twipsPerPixelY : 15)));
  lblMessage_->setGeometry(0, top, width(), QFontMetrics(font).height() + 4);
  // Shown only with something to say: a shown label costs every frame drawn beneath it.
  lblMessage_->setVisible(!lblMessage_->text().isEmpty());
}

void DisplayWindow::ClearMessage() {
  if (lblMessage_ == nullptr) return;
  lblMessage_->setText(QString());
  lblMessage_->hide();
}

void DisplayWindow::WaitUntilSettled(int maxMs, int quietMs) {
  QElapsedTimer total;
  total.start();
  QElapsedTimer quiet;
  quiet.start();
  int seenResizes = resizes_;
  QTimer wake;
  wake.setSingleShot(true);
  while (total.elapsed() < maxMs) {
    if (resizes_ != seenResizes) {
      seenResizes = resizes_;
      quiet.restart();
    }
    const bool exposed = windowHandle() != nullptr && windowHandle()->isExposed();
    // A window that already covers its whole screen (the saver) has nothing left to wait for.
    const bool fillsScreen = screen() != nullptr && size() == screen()->geometry().size();
    if (exposed && (fillsScreen || quiet.elapsed() >= quietMs)) break;
    wake.start(20);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace qsrn
