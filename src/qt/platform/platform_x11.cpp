// X11 window queries through the connection Qt already holds; see platform_x11.h.
#include "qt/platform/platform_x11.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>

#ifdef QSRN_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#endif

namespace qsrn {

#ifdef QSRN_HAVE_XCB
namespace {
xcb_connection_t* Connection() {
  auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return app ? app->connection() : nullptr;
}
}  // namespace

std::optional<NativeSize> NativeWindowSize(uint64_t id) {
  xcb_connection_t* conn = Connection();
  if (conn == nullptr || id == 0 || id > 0xFFFFFFFFu) return std::nullopt;
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* reply =
      xcb_get_geometry_reply(conn, xcb_get_geometry(conn, static_cast<xcb_drawable_t>(id)), &error);
  std::free(error);
  if (reply == nullptr) return std::nullopt;
  const NativeSize size{reply->width, reply->height};
  std::free(reply);
  return size;
}
uint32_t NativeRootWindow() {
  auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* conn = app ? app->connection() : nullptr;
  if (conn == nullptr) return 0;
  const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
  return it.rem > 0 ? it.data->root : 0;
}
StayOnTop::StayOnTop() { QCoreApplication::instance()->installNativeEventFilter(this); }

StayOnTop::~StayOnTop() {
  QCoreApplication::instance()->removeNativeEventFilter(this);
  if (xcb_connection_t* conn = Connection()) {
    for (const Root& root : roots_) xcb_change_window_attributes(conn, root.window, XCB_CW_EVENT_MASK, &root.maskBefore);
    xcb_flush(conn);
  }
}

void StayOnTop::Keep(uint64_t window) {
  xcb_connection_t* conn = Connection();
  if (conn == nullptr) return;
  const auto id = static_cast<uint32_t>(window);
  if (std::find(ours_.begin(), ours_.end(), id) == ours_.end()) ours_.push_back(id);
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, id), nullptr);
  if (geometry == nullptr) return;
  const uint32_t root = geometry->root;
  std::free(geometry);
  if (std::any_of(roots_.begin(), roots_.end(), [root](const Root& r) { return r.window == root; })) return;
  // Watch the root's children, keeping whatever the toolkit already selects there.
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, root), nullptr);
  if (attributes == nullptr) return;
  const uint32_t before = attributes->your_event_mask;
  std::free(attributes);
  const uint32_t mask = before | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(conn, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(conn);
  roots_.push_back({root, before});
}

void StayOnTop::Forget(uint64_t window) {
  ours_.erase(std::remove(ours_.begin(), ours_.end(), static_cast<uint32_t>(window)), ours_.end());
}

void StayOnTop::RaiseAll() {
  xcb_connection_t* conn = Connection();
  if (conn == nullptr) return;
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  for (uint32_t id : ours_) xcb_configure_window(conn, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_flush(conn);
}

bool StayOnTop::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  uint32_t window = 0;
  switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY:
      window = reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
      break;
    case XCB_CONFIGURE_NOTIFY:
      window = reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window;
      break;
    default:
      return false;
  }
  const bool rootChild = std::any_of(roots_.begin(), roots_.end(), [event](const Root& r) {
    return r.window == reinterpret_cast<const xcb_map_notify_event_t*>(event)->event;
  });
  if (rootChild && std::find(ours_.begin(), ours_.end(), window) == ours_.end()) RaiseAll();
  return false;
}
#else
std::optional<NativeSize> NativeWindowSize(uint64_t) { return std::nullopt; }
uint32_t NativeRootWindow() { return 0; }
StayOnTop::StayOnTop() = default;
StayOnTop::~StayOnTop() = default;
void StayOnTop::Keep(uint64_t) {}
void StayOnTop::Forget(uint64_t) {}
void StayOnTop::Forget(uint64_t window) {
  ours_.erase(std::remove(ours_.begin(), ours_.end(), static_cast<uint32_t>(window)), ours_.end());
}

void StayOnTop::RaiseAll() {}
bool StayOnTop::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }
#endif

bool NativeWindowExists(uint64_t id) { return NativeWindowSize(id).has_value(); }

}  // namespace qsrn
