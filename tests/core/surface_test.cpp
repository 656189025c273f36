// The framebuffer's drawing operations (dots, circles, blocks) and the projection at the edges
// of the screen: what is drawn, that drawing again in black leaves nothing, and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn {

namespace {
using Pixels = std::set<std::pair<int, int>>;

Pixels Lit(const Surface& s) {
  Pixels out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.GetPixel(x, y) != 0) out.insert({x, y});
  return out;
}
}  // namespace

TEST(Surface, ClearClippingAndPrepare) {
  Surface s(4, 3);
  s.BackColor = 0x123456;
  s.Clear();
  EXPECT_EQ(s.GetPixel(3, 2), 0x123456);
  s.SetPixel(4, 0, 7);  // one past the last column: dropped
  s.SetPixel(-1, 0, 7);
  EXPECT_EQ(s.GetPixel(4, 0), 0);
  s.ForeColor = 0;
  s.DrawWidth = 7;
  PrepareSurface(s);
  EXPECT_EQ(s.BackColor, 0);
  EXPECT_EQ(s.ForeColor, 0xFFFFFF);
  EXPECT_EQ(s.DrawWidth, 1);
  EXPECT_TRUE(Lit(s).empty());
  s.Resize(-5, 2);
  EXPECT_EQ(s.Width(), 0);
  s.SetPixel(0, 0, 1);  // nothing to write into, and no crash
}

// Widths 0 to 2 are squares below and left of the point; a huge pen covers the surface, and far
// positions draw nothing.
TEST(SurfaceDot, SmallHugeAndFar) {
  Surface s(10, 10);
  for (auto [width, want] : {std::pair<int16_t, Pixels>{0, {{5, 5}}}, {1, {{5, 5}}},
                             {2, {{4, 4}, {5, 4}, {4, 5}, {5, 5}}}}) {
    s.Clear();
    s.DrawWidth = width;
    s.DrawDot(5, 5, 0xFF);
    EXPECT_EQ(Lit(s), want) << width;
  }
  s.DrawWidth = 32767;
  s.DrawDot(5, 5, 0xFFFFFF);
  EXPECT_EQ(Lit(s).size(), 100u);
  s.Clear();
  s.DrawDot(INT32_MAX, INT32_MIN, 0xFFFFFF);
  s.DrawDot(INT32_MIN, INT32_MAX, 0xFFFFFF);
  EXPECT_TRUE(Lit(s).empty());
}

TEST(SurfaceDot, RoundFilledAndCentred) {
  for (int16_t d = 3; d <= 21; ++d) {
    Surface s(60, 60);
    s.DrawWidth = d;
    s.DrawDot(30, 30, 0x00FF00);
    const Pixels lit = Lit(s);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (auto [x, y] : lit) {
      minX = std::min(minX, x); maxX = std::max(maxX, x);
      minY = std::min(minY, y); maxY = std::max(maxY, y);
    }
    EXPECT_EQ(maxX - minX + 1, d) << "width " << d;
    EXPECT_EQ(maxY - minY + 1, d) << "width " << d;
    EXPECT_TRUE(lit.count({30, 30}));
    // Filled: every row is one unbroken span, and the shape is symmetric top to bottom.
    for (int y = minY; y <= maxY; ++y) {
      int first = -1, last = -1, count = 0;
      for (int x = 0; x < 60; ++x)
        if (lit.count({x, y})) { if (first < 0) first = x; last = x; ++count; }
      EXPECT_EQ(count, last - first + 1);
      EXPECT_EQ(count, static_cast<int>(std::count_if(lit.begin(), lit.end(), [&](auto p) {
                  return p.second == minY + maxY - y; })));
    }
    // Round from width 4 on: the corners stay dark.
    if (d >= 4) {
      EXPECT_FALSE(lit.count({minX, minY}));
    }
  }
}

TEST(SurfaceDot, EraseRemovesExactlyTheDotAndClipsAtEdges) {
  Surface s(40, 30);
  s.DrawWidth = 9;
  const std::pair<int, int> spots[] = {{0, 0}, {39, 29}, {-3, 15}, {20, 32}, {20, 15}};
  for (auto [x, y] : spots) s.DrawDot(x, y, 0x0000FF);
  EXPECT_FALSE(Lit(s).empty());
  for (auto [x, y] : spots) s.DrawDot(x, y, 0);
  EXPECT_TRUE(Lit(s).empty());
}

TEST(SurfaceCircle, OutlineAtRadiusAndErasable) {
  Surface s(50, 50);
  s.DrawCircle(25, 25, 10, 0xFF00FF);
  const Pixels lit = Lit(s);
  EXPECT_TRUE(lit.count({35, 25}));
  EXPECT_TRUE(lit.count({15, 25}));
  EXPECT_TRUE(lit.count({25, 35}));
  EXPECT_TRUE(lit.count({25, 15}));
  EXPECT_FALSE(lit.count({25, 25}));  // an outline, not a disc
  for (auto [x, y] : lit) {
    const double r = std::hypot(x - 25, y - 25);
    EXPECT_NEAR(r, 10.0, 0.75);
  }
  s.DrawCircle(25, 25, 10, 0);
  EXPECT_TRUE(Lit(s).empty());
  s.DrawCircle(3, 3, 0, 0xFF);
  EXPECT_EQ(Lit(s), (Pixels{{3, 3}}));
  s.DrawCircle(3, 3, -4, 0xFF);   // negative radius draws nothing
  s.DrawCircle(INT32_MAX, 0, 30000, 0xFF);  // far away: nothing, and no overflow
  EXPECT_EQ(Lit(s).size(), 1u);
  s.DrawCircle(0, 0, 30, 0x10);  // partly off the surface: clipped
  for (auto [x, y] : Lit(s)) EXPECT_TRUE(x >= 0 && y >= 0);
}

// The block below and right of the point, filled row by row: two wide up to 4, three from 5.
TEST(PlotBlock, OffsetsForEverySize) {
  const Pixels blocks[10] = {{}, {}, {{1, 0}, {0, 0}}, {{0, 0}, {1, 0}, {0, 1}}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
                             {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}},
                             {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}},
                             {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}},
                             {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}},
                             {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}};
  for (int size = -3; size <= 10; ++size) {
    Surface s(10, 10);
    PlotBlock(s, size, 4, 5, 0xFFFFFF);
    Pixels want;
    if (size >= 2 && size <= 9)
      for (auto [x, y] : blocks[size]) want.insert({4 + x, 5 + y});
    EXPECT_EQ(Lit(s), want) << "size " << size;  // 1 is the engine's own single pixel, not a block
  }
  Surface s(10, 10);
  PlotBlock(s, 9, INT32_MAX, INT32_MAX, 0xFFFFFF);
  PlotPoint(s, 1, 2, 2, 1);
  EXPECT_EQ(Lit(s), (Pixels{{2, 2}}));
}

}  // namespace qsrn
