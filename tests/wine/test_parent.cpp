// A window for the saver's preview to draw into, as the system's screen-saver settings give one:
// prints its handle; a line "W H" on stdin resizes it, an empty line destroys it; ends at the end
// of stdin. With "--display W H" it sets the display to that mode instead, as a person changing
// the monitor's resolution would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--display") {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[2]));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[3]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    std::printf("%ld\n", result);
    return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == WM_DESTROY) std::printf("destroyed\n"), std::fflush(stdout);
    return DefWindowProcW(hwnd, msg, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = L"QuasarineTestParent";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Preview host", WS_POPUP | WS_VISIBLE, 100, 100, 320, 240,
                              nullptr, nullptr, wc.hInstance, nullptr);
  std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  std::fflush(stdout);
  const DWORD self = GetCurrentThreadId();
  std::thread input([self] {
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
      int w = 0, h = 0;
      if (std::sscanf(line, "%d %d", &w, &h) == 2)
        PostThreadMessageW(self, WM_APP, static_cast<WPARAM>(w), static_cast<LPARAM>(h));
      else
        PostThreadMessageW(self, WM_APP, 0, 0);
    }
    PostThreadMessageW(self, WM_QUIT, 0, 0);
  });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_APP && hwnd != nullptr && msg.wParam != 0) {
      SetWindowPos(hwnd, nullptr, 0, 0, static_cast<int>(msg.wParam), static_cast<int>(msg.lParam),
                   SWP_NOMOVE | SWP_NOZORDER);
    } else if (msg.message == WM_APP && hwnd != nullptr) {
      DestroyWindow(hwnd);
      hwnd = nullptr;
    }
    DispatchMessageW(&msg);
  }
  input.join();
  return 0;
}
