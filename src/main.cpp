// Entry point: --help, --version and the developer tools (--print-settings, --render, --bench,
// --icon, which draws the icon at build time) run without a display; everything else is the
// screen saver's own command line.
#include <cstdio>
#include <cstring>

#include "qt/saver/program_main.h"
#include "tools/tools.h"
#include "settings/version.h"

namespace {

constexpr char kUsage[] =
    "Usage: quasarine [/S | /C | /P ID | /A | FILE.qsn]\n"
    "       quasarine -root | -window-id ID [-fps] [--effect N [--theme T]]\n"
    "       quasarine --render FILE | --bench | --print-settings [options]\n"
    "\n"
    "  /S             the screen saver on every monitor, until a key, a click or mouse moves\n"
    "  /C, nothing    the properties (settings) window\n"
    "  /P ID          a preview inside the X11 window ID (decimal or 0x hexadecimal)\n"
    "  /A             change the saver password (this platform has none)\n"
    "  FILE.qsn       import the template into the settings, then run the saver\n"
    "  -root          draw into $XSCREENSAVER_WINDOW, else the root window (xscreensaver, xsecurelock)\n"
    "  -window-id ID  draw into the X11 window ID\n"
    "  -fps           show the frames per second (with -root or -window-id)\n"
    "  --effect N     0 Fireworks, 1 Starfield, 2 B-Spline Warp, 3 B-Spline Sparklers,\n"
    "                 4 Stars and Gravity Wells, 5 Galaxies; --theme T picks a theme of 0 or 5\n"
    "                 (with -root or -window-id, for that run only)\n"
    "  --render FILE  draw into a PNG, or an animated .webp or .gif, without a display\n"
    "  --help, -h     this text;  --version  the version\n"
    "\n"
    "Settings live in $XDG_CONFIG_HOME/quasarine/settings.ini (default ~/.config/quasarine/).\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::printf("Quasarine %s\n", qsrn::kVersion);
      return 0;
    }
    if (std::strcmp(argv[1], "--print-settings") == 0) return qsrn::PrintSettingsMain(argc, argv);
    if (std::strcmp(argv[1], "--render") == 0) return qsrn::RenderMain(argc, argv);
    if (std::strcmp(argv[1], "--bench") == 0) return qsrn::BenchMain(argc, argv);
    if (std::strcmp(argv[1], "--icon") == 0) return qsrn::IconMain(argc, argv);
  }
  return qsrn::SaverMain(argc, argv);
}
