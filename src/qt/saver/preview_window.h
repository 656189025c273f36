// frmPreview: the preview carrier. Its picture box becomes a child of the native window given
// with /P, sized to it, and draws there until that window disappears.
#pragma once

#include <cstdint>

namespace qsrn {

class HostSession;
class DisplayWindow;

class PreviewWindow {
 public:
  explicit PreviewWindow(HostSession& session);
  ~PreviewWindow();
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;

  // The load step: the whole preview run. Returns when the host window has gone.
  void Run(uint64_t parentId);

 private:
  HostSession& session_;
  DisplayWindow* picPreview_;
};

}  // namespace qsrn
