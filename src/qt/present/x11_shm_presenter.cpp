// Shared-memory presenting on X11; see x11_shm_presenter.h.
#include "qt/present/x11_shm_presenter.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

#include "qt/present/tile_presenter.h"
#include "render/surface.h"
#include "render/tile_converter.h"

#if defined(QSRN_HAVE_XCB_SHM) && QT_CONFIG(xcb)
#define QSRN_SHARED_FRAMES 1
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstdlib>
#else
struct xcb_rectangle_t {};
#endif

namespace qsrn {

#ifdef QSRN_SHARED_FRAMES

namespace {

template <typename T>
struct FreeReply {
  void operator()(T* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply<T>>;

// True when pixels of this depth are 32 bits of 0xRRGGBB in memory, as Format_RGB32 holds them.
bool TakesRgb32(xcb_connection_t* c, xcb_visualid_t visual, uint8_t depth) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || (depth != 24 && depth != 32)) return false;
  bool thirtyTwoBits = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f))
    if (f.data->depth == depth) thirtyTwoBits = f.data->bits_per_pixel == 32;
  if (!thirtyTwoBits) return false;
  for (auto s = xcb_setup_roots_iterator(setup); s.rem > 0; xcb_screen_next(&s))
    for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem > 0; xcb_depth_next(&d))
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v))
        if (v.data->visual_id == visual)
          return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xFF0000u &&
                 v.data->green_mask == 0x00FF00u && v.data->blue_mask == 0x0000FFu;
  return false;
}

// A connection of the presenter's own to the server that holds the window (the one DISPLAY
// names, as for Qt): the replies that tell when the server has read a band then wake only the
// thread that asks for them, whereas on Qt's connection each also woke Qt's event reader. Null
// when there is no such connection, or it leads elsewhere.
xcb_connection_t* ConnectBeside(xcb_connection_t* qt, xcb_window_t window) {
  xcb_connection_t* own = xcb_connect(nullptr, nullptr);
  bool same = xcb_connection_has_error(own) == 0;
  if (same) {
    auto ours = xcb_setup_roots_iterator(xcb_get_setup(own)), theirs = xcb_setup_roots_iterator(xcb_get_setup(qt));
    same = ours.rem == theirs.rem && ours.rem > 0 && ours.data->root == theirs.data->root &&
           xcb_get_setup(own)->release_number == xcb_get_setup(qt)->release_number;
  }
  if (same) {
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(own, &xcb_shm_id);
    // The window seen the same from both: the same parent, place and size.
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(own, xcb_query_tree(own, window), nullptr));
    const Reply<xcb_query_tree_reply_t> qtTree(xcb_query_tree_reply(qt, xcb_query_tree(qt, window), nullptr));
    const Reply<xcb_get_geometry_reply_t> at(xcb_get_geometry_reply(own, xcb_get_geometry(own, window), nullptr));
    const Reply<xcb_get_geometry_reply_t> qtAt(xcb_get_geometry_reply(qt, xcb_get_geometry(qt, window), nullptr));
    same = shm != nullptr && shm->present && tree && qtTree && tree->parent == qtTree->parent && at && qtAt &&
           at->x == qtAt->x && at->y == qtAt->y && at->width == qtAt->width && at->height == qtAt->height;
  }
  if (same) return own;
  xcb_disconnect(own);
  return nullptr;
}

}  // namespace

std::unique_ptr<X11ShmPresenter> X11ShmPresenter::Create(QWidget& window) {
  if (!window.isWindow() || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  // QSRN_NO_SHM=1 (or Qt's own QT_XCB_NO_MITSHM) keeps every frame on Qt's path: the other half
  // of a measurement, or a way around a server that accepts the memory but shows it wrongly.
  if (qEnvironmentVariableIntValue("QSRN_NO_SHM") != 0 || qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
    return nullptr;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
  if (c == nullptr) return nullptr;
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
  if (shm == nullptr || !shm->present) return nullptr;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const auto attributesCookie = xcb_get_window_attributes(c, id);
  const auto geometryCookie = xcb_get_geometry(c, id);
  const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
  const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
  if (!attributes || !geometry || !TakesRgb32(c, attributes->visual, geometry->depth)) return nullptr;
  xcb_connection_t* own = ConnectBeside(c, id);
  std::unique_ptr<X11ShmPresenter> presenter(new X11ShmPresenter(own != nullptr ? own : c, id));
  presenter->ownConnection_ = own != nullptr;
  presenter->depth_ = geometry->depth;
  presenter->gc_ = xcb_generate_id(presenter->connection_);
  const uint32_t noExposures = 0;
  xcb_create_gc(presenter->connection_, presenter->gc_, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  return presenter;
}

X11ShmPresenter::X11ShmPresenter(xcb_connection_t* connection, uint32_t window)
    : connection_(connection), window_(window) {}

X11ShmPresenter::~X11ShmPresenter() {
  Release();
  if (gc_ != 0) xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
  if (ownConnection_) xcb_disconnect(connection_);
}

void X11ShmPresenter::DropErrors() {
  // Nothing here asks for events; what comes is an error of a request, say one that reached the
  // window after Qt destroyed it, and it is dropped rather than left to pile up.
  if (!ownConnection_) return;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
}

void X11ShmPresenter::WaitForServer(int half) {
  if (!syncPending_[half]) return;
  syncPending_[half] = false;
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus_cookie_t{syncSequence_[half]}, nullptr));
}

void X11ShmPresenter::WaitForServer() {
  WaitForServer(0);
  WaitForServer(1);
}

bool X11ShmPresenter::Allocate(int width, int height) {
  Release();
  if (width > 32767 || height > 32767) return false;  // beyond what the protocol's coordinates reach
  const int bandRows = StripBandRows(width, height);
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(bandRows) * 2 * 4;
  if (!shared_.Create(bytes)) return false;
  const xcb_shm_seg_t segment = xcb_generate_id(connection_);
  // Read-only for the server; checked, because a remote server cannot attach it at all.
  const Reply<xcb_generic_error_t> error(xcb_request_check(
      connection_, xcb_shm_attach_checked(connection_, segment, static_cast<uint32_t>(shared_.Id()), 1)));
  shared_.RemoveId();  // goes once both sides have detached
  if (error) {
    shared_.Release();
    return false;
  }
  segment_ = segment;
  const auto bytesPerLine = static_cast<qsizetype>(width) * 4;
  for (int half = 0; half < 2; ++half)
    halves_[half] = QImage(shared_.Data() + static_cast<size_t>(half) * static_cast<size_t>(bandRows) * bytesPerLine,
                           width, bandRows, bytesPerLine, QImage::Format_RGB32);
  surfaceWidth_ = width;
  surfaceHeight_ = height;
  next_ = 0;
  return true;
}

void X11ShmPresenter::Release() {
  if (shared_.Data() == nullptr) return;
  WaitForServer();
  xcb_shm_detach(connection_, segment_);
  halves_[0] = halves_[1] = QImage();
  shared_.Release();
  segment_ = 0;
}

bool X11ShmPresenter::Present(TilePresenter& presenter, Surface& surface, const QRegion& covered,
                              QRegion* coveredChanged) {
  if (shared_.Data() == nullptr || surfaceWidth_ != surface.Width() || surfaceHeight_ != surface.Height()) {
    if (!Allocate(surface.Width(), surface.Height())) return false;
    surface.MarkAllChanged();
  }
  DropErrors();
  for (int32_t row = 0; row < surface.TileRows();) {
    WaitForServer(next_);  // the server is done with this half before any of it is written again
    int32_t top = 0;
    presenter.ConvertBand(surface, halves_[next_], row, top, runs_);
    const QRect bounds = ClipToRuns(covered, coveredChanged);
    if (bounds.isEmpty()) continue;
    Send(next_, top, bounds);
    next_ = 1 - next_;
  }
  presenter.EndBands(surface);
  return true;
}

QRect X11ShmPresenter::ClipToRuns(const QRegion& covered, QRegion* coveredChanged) {
  clip_.clear();
  QRect bounds;
  for (const QRect& r : runs_) {
    if (!covered.isEmpty() && covered.intersects(r)) {
      // Beneath a child widget: Qt repaints it with the child over it; the rest goes from here.
      if (coveredChanged != nullptr) *coveredChanged += covered.intersected(r);
      for (const QRect& piece : QRegion(r).subtracted(covered)) {
        bounds |= piece;
        clip_.push_back({static_cast<int16_t>(piece.x()), static_cast<int16_t>(piece.y()),
                         static_cast<uint16_t>(piece.width()), static_cast<uint16_t>(piece.height())});
      }
      continue;
    }
    bounds |= r;
    clip_.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()), static_cast<uint16_t>(r.width()),
                     static_cast<uint16_t>(r.height())});
  }
  if (clip_.empty()) return QRect();
  const uint8_t ordering = covered.isEmpty() ? XCB_CLIP_ORDERING_YX_BANDED : XCB_CLIP_ORDERING_UNSORTED;
  xcb_set_clip_rectangles(connection_, ordering, gc_, 0, 0, static_cast<uint32_t>(clip_.size()), clip_.data());
  return bounds;
}

void X11ShmPresenter::Send(int half, int top, const QRect& bounds) {
  const int bandRows = halves_[0].height(), sourceY = half * bandRows + bounds.y() - top;
  xcb_shm_put_image(connection_, window_, gc_, static_cast<uint16_t>(halves_[0].width()),
                    static_cast<uint16_t>(2 * bandRows), static_cast<int16_t>(bounds.x()),
                    static_cast<int16_t>(sourceY), static_cast<uint16_t>(bounds.width()),
                    static_cast<uint16_t>(bounds.height()), static_cast<int16_t>(bounds.x()),
                    static_cast<int16_t>(bounds.y()), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
  // Its reply comes after the copy is done: this half is not written again before it.
  syncSequence_[half] = xcb_get_input_focus(connection_).sequence;
  syncPending_[half] = true;
  xcb_flush(connection_);  // the server copies this band while the next one is converted
}

#else  // no MIT-SHM at build time (or a Qt without X11): every window paints through Qt

std::unique_ptr<X11ShmPresenter> X11ShmPresenter::Create(QWidget&) { return nullptr; }
X11ShmPresenter::X11ShmPresenter(xcb_connection_t* connection, uint32_t window)
    : connection_(connection), window_(window) {}
X11ShmPresenter::~X11ShmPresenter() = default;
bool X11ShmPresenter::Present(TilePresenter&, Surface&, const QRegion&, QRegion*) { return false; }
QRect X11ShmPresenter::ClipToRuns(const QRegion&, QRegion*) { return QRect(); }
void X11ShmPresenter::Send(int, int, const QRect&) {}
bool X11ShmPresenter::Allocate(int, int) { return false; }
void X11ShmPresenter::Release() {}
void X11ShmPresenter::WaitForServer(int) {}
void X11ShmPresenter::WaitForServer() {}
void X11ShmPresenter::DropErrors() {}

#endif

}  // namespace qsrn
