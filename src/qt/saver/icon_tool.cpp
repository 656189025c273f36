// quasarine --icon DIR: draws the program's icon, a galaxy from the factory settings, and writes
// it as DIR/NxN/apps/quasarine.png for every size of the hicolor theme. The black of space becomes
// transparent (a pixel's brightness is its opacity, so it looks the same over black), so that
// the icon is a galaxy and not a black tile in menus; its light is lifted a little, or the
// smaller sizes would fade to nothing.
#include <QDir>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/headless.h"
#include "qt/saver/program_main.h"

namespace qsrn {

namespace {
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kDrawnSize = 512;  // scaled down to every size, so that stars blend into a shape
constexpr int kGalaxies = 5, kTheme = 6, kFrames = 200, kExposedFrames = 40, kSeed = 5;

// Adds a frame to a long exposure: each pixel keeps the brightest light it saw. Premultiplied:
// the colour over black is the pixel itself; its opacity is its brightest channel.
void Expose(QImage& image, const Surface& surface) {
  for (int y = 0; y < surface.Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < surface.Width(); ++x) {
      const int32_t c = surface.GetPixel(x, y);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      if (std::max({r, g, b}) > qAlpha(row[x])) row[x] = qRgba(r, g, b, std::max({r, g, b}));
    }
  }
}

// Opacity rises faster than brightness (a gamma of 1/2), each colour keeping its hue: single
// stars, thinned by scaling down, stay visible.
void Lift(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int a = qAlpha(row[x]);
      if (a == 0) continue;
      const double lifted = std::sqrt(a / 255.0) * 255.0, k = lifted / a;
      const auto scaled = [k](int v) { return std::min(255, static_cast<int>(std::lround(v * k))); };
      row[x] = qRgba(scaled(qRed(row[x])), scaled(qGreen(row[x])), scaled(qBlue(row[x])), scaled(a));
    }
  }
}
}  // namespace

int IconMain(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: quasarine --icon DIR (writes DIR/NxN/apps/quasarine.png)\n", stderr);
    return 2;
  }
  ToolStore store;
  std::string error;
  if (!store.Open(SettingsStore::DefaultDirectory(), {}, &error)) {
    std::fprintf(stderr, "quasarine: %s\n", error.c_str());
    return 1;
  }
  HeadlessDisplay display;
  display.Start(store.store(), kDrawnSize, kDrawnSize, kSeed);
  std::unique_ptr<Engine> engine = PrepareEffect(display.ctx, store.store(), kGalaxies, kTheme, false);
  if (engine == nullptr) return 1;
  // The last frames together show the galaxy's arms, where one frame shows scattered stars.
  QImage drawn(kDrawnSize, kDrawnSize, QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  display.platform.onPresent = [&drawn, frame = 0](Context& ctx) mutable {
    if (++frame > kFrames - kExposedFrames) Expose(drawn, *ctx.surface);
  };
  RunFrames(display.ctx, *engine, kFrames);
  const QString dir = QString::fromLocal8Bit(argv[2]);
  for (const int size : kSizes) {
    const QString folder = dir + QStringLiteral("/%1x%1/apps").arg(size);
    QImage icon = drawn.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Lift(icon);
    if (!QDir().mkpath(folder) || !icon.save(folder + QStringLiteral("/quasarine.png"), "PNG")) {
      std::fprintf(stderr, "quasarine: cannot write %s\n", qPrintable(folder + QStringLiteral("/quasarine.png")));
      return 1;
    }
  }
  return 0;
}

}  // namespace qsrn
