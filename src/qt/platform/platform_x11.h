// The few native window calls of the preview: whether the native window given with /P still
// exists, and its inner size. X11 only; elsewhere the window never exists.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <optional>
#include <vector>

namespace qsrn {

struct NativeSize {
  int32_t width = 0;
  int32_t height = 0;
};

bool NativeWindowExists(uint64_t id);
// The root window of the default screen; 0 without X11.
uint32_t NativeRootWindow();
// In physical pixels; nullopt when the window does not exist.
std::optional<NativeSize> NativeWindowSize(uint64_t id);

// Keeps windows above every other top-level window: whenever another window is mapped or
// restacked on their screen, they are raised again (a notification, a dialog that pops up). The
// windows kept by one keeper are never raised against each other, so all the windows that must
// stay on top together share one keeper.
class StayOnTop : public QAbstractNativeEventFilter {
 public:
  StayOnTop();
  ~StayOnTop() override;
  StayOnTop(const StayOnTop&) = delete;
  StayOnTop& operator=(const StayOnTop&) = delete;

  void Keep(uint64_t window);
  // The window is gone or no longer needs to stay on top.
  void Forget(uint64_t window);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void RaiseAll();
  struct Root {
    uint32_t window;
    uint32_t maskBefore;  // what the toolkit had selected, restored at the end
  };
  std::vector<uint32_t> ours_;
  std::vector<Root> roots_;
};

}  // namespace qsrn
