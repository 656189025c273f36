// X11 window queries through the connection Qt already holds; see platform_x11.h.
#include "host/platform_x11.h"

#include <QGuiApplication>

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
#else
std::optional<NativeSize> NativeWindowSize(uint64_t) { return std::nullopt; }
uint32_t NativeRootWindow() { return 0; }
#endif

bool NativeWindowExists(uint64_t id) { return NativeWindowSize(id).has_value(); }

}  // namespace qsrn
