// The credits' text, scroll and star field; see credits_roll.h.
#include "forms/credits_roll.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "settings/numeric.h"
#include "settings/version.h"

namespace qsrn {

namespace {

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// The first count characters of UTF-8 text (a character's continuation bytes stay with it).
std::string Cut(const std::string& s, size_t count) {
  size_t i = 0;
  for (size_t n = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == count) break;
  return s.substr(0, i);
}

}  // namespace

CreditsMotion ClampCreditsMotion(int16_t stars, float speed, float scroll) {
  auto clampf = [](float v, float lo, float hi) { return v == v ? std::clamp(v, lo, hi) : lo; };
  return {Clamp(stars, int16_t{10}, int16_t{200}), clampf(speed, 0.0025f, 0.25f),
          clampf(scroll, 0.5f, 10.0f)};
}

std::vector<std::string> CreditLines() {
  return {"Design and Programming",
          "     The Quasarine authors",
          "Effects",
          "     Fireworks, Starfield, B-Spline Warp",
          "     B-Spline Sparklers, Galaxies",
          "     Stars and Gravity Wells",
          "Built with",
          "     Qt 6, Win32, SDL2_mixer",
          "     CMake, GoogleTest, NSIS, cmark-gfm",
          "Sounds",
          "     The project's own sound program",
          "Thanks",
          "     All who watched the sky and wrote back"};
}

std::vector<CreditLine> BuildCreditText(const std::vector<std::string>& credits, bool largeFonts) {
  std::vector<CreditLine> out = {{"Quasarine", largeFonts ? 20 : 18},
                                 {"", 8},
                                 {"3D Lumidot", 15},
                                 {"", 8},
                                 {std::string("Version ") + kVersion, 12}};
  for (const std::string& line : credits) {
    if (line.empty()) continue;
    if (!std::isspace(static_cast<unsigned char>(line.front()))) {
      out.push_back({"", 8});
      out.push_back({Cut(Trimmed(line), 30), 10});
    } else {
      out.push_back({"     " + Cut(Trimmed(line), 40), 8});
    }
  }
  return out;
}

double ScrollCredits(double top, float increment, double textHeight, double frameHeight) {
  top -= increment;
  return top < -textHeight ? CreditsStartTop(frameHeight) : top;
}

void StarField::Restart(PixelRows picture, int16_t stars, Random& rng) {
  const auto n = static_cast<size_t>(std::max<int16_t>(stars, 0));
  x_.assign(n, 0);
  y_.assign(n, 0);
  z_.assign(n, 1);
  plotX_.assign(n, 0);
  plotY_.assign(n, 0);
  plotWidth_.assign(n, 1);
  for (size_t i = 0; i < n; ++i) {
    x_[i] = rng.Rnd() * 2 - 1;
    y_[i] = rng.Rnd() * 2 - 1;
    Place(i, x_[i], y_[i], picture);
    Plot(i, picture);
  }
}

void StarField::Step(PixelRows picture, float speed, Random& rng) {
  for (size_t i = 0; i < x_.size(); ++i) {
    Plot(i, picture);  // erase
    z_[i] -= speed;
    float sx = z_[i] > 0 ? x_[i] / z_[i] : 2, sy = z_[i] > 0 ? y_[i] / z_[i] : 2;
    if (sx < -1 || sx > 1 || sy < -1 || sy > 1 || z_[i] < 0.02f) {
      x_[i] = rng.Rnd() * 2 - 1;
      y_[i] = rng.Rnd() * 2 - 1;
      z_[i] = 1;
      sx = x_[i];
      sy = y_[i];
    }
    Place(i, sx, sy, picture);
    Plot(i, picture);
  }
}

void StarField::Place(size_t i, float sx, float sy, PixelRows picture) {
  plotWidth_[i] = std::max(1, static_cast<int>(std::floor(1.0f / z_[i])));
  plotX_[i] = static_cast<int>((sx + 1) * 0.5f * static_cast<float>(picture.width));
  plotY_[i] = static_cast<int>((sy + 1) * 0.5f * static_cast<float>(picture.height));
}

// A round dot plotWidth_ across.
void StarField::Plot(size_t i, PixelRows picture) const {
  const int w = plotWidth_[i];
  const int x0 = plotX_[i] - w / 2, y0 = plotY_[i] - w / 2;
  const double r = w / 2.0;
  for (int dy = 0; dy < w; ++dy) {
    const int y = y0 + dy;
    if (y < 0 || y >= picture.height) continue;
    uint32_t* row = picture.pixels + y * picture.stride;
    for (int dx = 0; dx < w; ++dx) {
      const int x = x0 + dx;
      if (x < 0 || x >= picture.width) continue;
      const double ox = dx + 0.5 - r, oy = dy + 0.5 - r;
      if (w > 2 && ox * ox + oy * oy > r * r) continue;
      row[x] ^= 0x00FFFFFFu;
    }
  }
}

}  // namespace qsrn
