// The credits, for every toolkit's view: their lines, the text block they scroll as, the scroll
// and the three-dimensional star field flying at the viewer behind them. The view draws the text
// with its own fonts and shows the field's pixels.
// Usage:
//   const CreditsMotion m = ClampCreditsMotion(125, 0.006f, 2.0f);
//   lines = BuildCreditText(CreditLines());
//   field.Restart(picture, m.stars, rng);            // after painting the gradient
//   every frame: field.Step(picture, m.speed, rng); top = ScrollCredits(top, m.scroll, textHeight,
//   frameHeight);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/random.h"

namespace qsrn {

// The about box hands these to the credits.
inline constexpr int16_t kCreditsStars = 125;
inline constexpr float kCreditsSpeed = 0.006f;
inline constexpr float kCreditsScroll = 2.0f;
// The credits' letters and their one-pixel shadow (0x00BBGGRR).
inline constexpr int32_t kCreditsTextColor = 0xA0F0FF;
inline constexpr int32_t kCreditsShadowColor = 0x000000;

// The star count, star speed and scroll increment after their clamps (10-200, 0.0025-0.25,
// 0.5-10 pixels per frame).
struct CreditsMotion {
  int16_t stars;
  float speed;
  float scroll;
};
CreditsMotion ClampCreditsMotion(int16_t stars, float speed, float scroll);

// The credit lines (UTF-8): headings start with a non-blank, items with blanks.
std::vector<std::string> CreditLines();

// One line of the scrolling text: what is drawn and at which point size (bold from size 10).
struct CreditLine {
  std::string text;
  int pointSize;
};
// The title block (the title at 20 points on large-font screens, 18 otherwise), then per credit
// line: a heading after a blank line, trimmed and cut to 30 characters at size 10; an item as
// five blanks and its trimmed text cut to 40 characters at size 8. Each line is drawn 1.2 of its
// font's height below the last.
std::vector<CreditLine> BuildCreditText(const std::vector<std::string>& credits, bool largeFonts = false);
// Where the text starts: just below the visible frame.
inline double CreditsStartTop(double frameHeight) { return frameHeight - 10; }
// The text's top after one frame: up by the increment; once wholly above the frame, just below
// it again.
double ScrollCredits(double top, float increment, double textHeight, double frameHeight);

// 32-bit pixels of a picture, rows stride pixels apart.
struct PixelRows {
  uint32_t* pixels;
  int width;
  int height;
  ptrdiff_t stride;
};

// Stars drawn in XOR (all colour bits inverted), so plotting a star again erases it.
class StarField {
 public:
  // stars new stars at random places, z = 1, plotted over what the picture shows.
  void Restart(PixelRows picture, int16_t stars, Random& rng);
  // One frame: each star erased, moved closer by speed, projected (x / z, y / z), given a new
  // place when it leaves the picture or comes nearer than 0.02, and plotted Int(1 / z) across.
  void Step(PixelRows picture, float speed, Random& rng);

 private:
  void Place(size_t i, float sx, float sy, PixelRows picture);
  void Plot(size_t i, PixelRows picture) const;

  std::vector<float> x_, y_, z_;
  std::vector<int> plotX_, plotY_, plotWidth_;  // where each star was drawn, to erase it
};

}  // namespace qsrn
