// Lines, arcs and polygon fills written straight into pixels: which pixels, in which pattern and
// raster operation, and that coordinates far off the buffer are clipped, not walked.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/PixelRaster.h"

namespace {

using platform::PenStyle;
using platform::Point;
using platform::RasterOp;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kInk = 0xFF102030;

class Pixels {
 public:
  Pixels(int width, int height)
      : width_(width), height_(height), bits_(static_cast<std::size_t>(width * height), kWhite) {}

  platform::PixelBuffer buffer() { return {bits_.data(), width_, height_, width_}; }
  std::uint32_t at(int x, int y) const { return bits_[static_cast<std::size_t>(y * width_ + x)]; }

  // One text row per pixel row: '#' for ink, '.' for white, '?' for anything else.
  std::vector<std::string> picture() const {
    std::vector<std::string> rows;
    for (int y = 0; y < height_; ++y) {
      std::string row;
      for (int x = 0; x < width_; ++x) row += at(x, y) == kInk ? '#' : (at(x, y) == kWhite ? '.' : '?');
      rows.push_back(row);
    }
    return rows;
  }

  // Whether ink lies within one pixel of (x, y).
  bool inkNear(int x, int y) const {
    for (int v = y - 1; v <= y + 1; ++v) {
      for (int u = x - 1; u <= x + 1; ++u) {
        if (u >= 0 && v >= 0 && u < width_ && v < height_ && at(u, v) == kInk) return true;
      }
    }
    return false;
  }

  int inked() const {
    int n = 0;
    for (std::uint32_t p : bits_) n += p == kInk ? 1 : 0;
    return n;
  }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> bits_;
};

TEST(RasterLine, StepsAlongTheLongerAxisAndLeavesOutTheEndPixel) {
  Pixels p(8, 4);
  EXPECT_EQ(platform::rasterLine(p.buffer(), {0, 0}, {7, 3}, kInk, PenStyle::Solid, RasterOp::Copy), 7);
  EXPECT_EQ(p.picture(), (std::vector<std::string>{
                             "##......",
                             "..##....",
                             "....##..",
                             "......#.",
                         }));
}

TEST(RasterLine, BackwardsLineCoversTheMirroredPixels) {
  Pixels p(8, 8);
  platform::rasterLine(p.buffer(), {6, 6}, {1, 1}, kInk, PenStyle::Solid, RasterOp::Copy);
  EXPECT_EQ(p.at(6, 6), kInk);
  EXPECT_EQ(p.at(2, 2), kInk);
  EXPECT_EQ(p.at(1, 1), kWhite);
  EXPECT_EQ(p.inked(), 5);
}

TEST(RasterLine, NoLengthDrawsNothing) {
  Pixels p(4, 4);
  EXPECT_EQ(platform::rasterLine(p.buffer(), {2, 2}, {2, 2}, kInk, PenStyle::Solid, RasterOp::Copy), 0);
  EXPECT_EQ(p.inked(), 0);
}

struct PatternCase {
  PenStyle style;
  const char* row;
};

class RasterLinePattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(RasterLinePattern, RepeatsItsRunsFromTheStart) {
  Pixels p(13, 1);
  platform::rasterLine(p.buffer(), {0, 0}, {13, 0}, kInk, GetParam().style, RasterOp::Copy);
  EXPECT_EQ(p.picture().front(), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(Styles, RasterLinePattern,
                         ::testing::Values(PatternCase{PenStyle::Solid, "#############"},
                                           PatternCase{PenStyle::Dash, "####..####..#"},
                                           PatternCase{PenStyle::Dot, "#..#..#..#..#"},
                                           PatternCase{PenStyle::DashDot, "####..#..####"},
                                           PatternCase{PenStyle::DashDotDot, "####..#..#..#"},
                                           PatternCase{PenStyle::Clear, "............."}));

TEST(RasterLine, PhaseContinuesThePatternOfTheLineBefore) {
  Pixels p(9, 1);
  const std::int64_t phase = platform::rasterLine(p.buffer(), {0, 0}, {4, 0}, kInk, PenStyle::Dot, RasterOp::Copy);
  platform::rasterLine(p.buffer(), {4, 0}, {9, 0}, kInk, PenStyle::Dot, RasterOp::Copy, phase);
  EXPECT_EQ(p.picture().front(), "#..#..#..");
}

TEST(RasterLine, NotXorTwiceRestoresThePixels) {
  Pixels p(6, 6);
  platform::rasterLine(p.buffer(), {0, 0}, {6, 3}, kInk, PenStyle::Solid, RasterOp::Copy);
  const std::vector<std::string> before = p.picture();
  for (int i = 0; i < 2; ++i)
    platform::rasterLine(p.buffer(), {0, 5}, {5, 0}, 0xFF00FF00, PenStyle::Solid, RasterOp::NotXor);
  EXPECT_EQ(p.picture(), before);
  platform::rasterLine(p.buffer(), {0, 5}, {5, 0}, 0xFF00FF00, PenStyle::Solid, RasterOp::NotXor);
  // ~(green ^ white) is green itself.
  EXPECT_EQ(p.at(0, 5), 0xFF00FF00u);
}

TEST(RasterLine, FarOffCoordinatesAreClippedToTheSameLine) {
  // A line far longer than the buffer draws the pixels the same line has on the buffer, and costs
  // no more than crossing it.
  constexpr int kFar = 1 << 24;
  Pixels far(16, 16);
  Pixels axes(16, 16);
  Pixels near(16, 16);
  const auto start = std::chrono::steady_clock::now();
  platform::rasterLine(far.buffer(), {-kFar, -kFar / 2}, {kFar, kFar / 2}, kInk, PenStyle::Dot, RasterOp::Copy);
  platform::rasterLine(axes.buffer(), {-kFar, 3}, {kFar, 3}, kInk, PenStyle::Solid, RasterOp::Copy);
  platform::rasterLine(axes.buffer(), {5, kFar}, {5, -kFar}, kInk, PenStyle::Solid, RasterOp::Copy);
  platform::rasterLine(axes.buffer(), {kFar, kFar}, {kFar + 9, kFar - 9}, kInk, PenStyle::Solid, RasterOp::Copy);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  platform::rasterLine(near.buffer(), {-2, -1}, {18, 9}, kInk, PenStyle::Solid, RasterOp::Copy);
  for (int x = 0; x < 16; ++x) {
    // The slope 1/2 through the origin: the far line's pixels lie on it.
    const int y = (x + 1) / 2;
    // The dots count from the far start: every third pixel from there.
    EXPECT_EQ(far.at(x, y), (x + kFar) % 3 == 0 ? kInk : kWhite) << x;
    EXPECT_EQ(near.at(x, y), kInk) << x;
    EXPECT_EQ(axes.at(x, 3), kInk);
    EXPECT_EQ(axes.at(5, x), kInk);
  }
  EXPECT_EQ(axes.inked(), 31);  // the line off the buffer draws nothing
}

TEST(RasterFillPolygon, FillsThePixelsWhoseCentresLieInside) {
  Pixels p(8, 6);
  const std::vector<Point> square{{1, 1}, {6, 1}, {6, 5}, {1, 5}};
  platform::rasterFillPolygon(p.buffer(), square, kInk, RasterOp::Copy);
  EXPECT_EQ(p.picture(), (std::vector<std::string>{
                             "........",
                             ".#####..",
                             ".#####..",
                             ".#####..",
                             ".#####..",
                             "........",
                         }));
}

TEST(RasterFillPolygon, EvenOddLeavesTheInnerLoopOut) {
  Pixels p(12, 12);
  // A square with a second square inside it, traced as one polygon through a shared corner.
  const std::vector<Point> ring{{0, 0}, {12, 0}, {12, 12}, {0, 12}, {0, 0}, {4, 4}, {8, 4}, {8, 8}, {4, 8}, {4, 4}};
  platform::rasterFillPolygon(p.buffer(), ring, kInk, RasterOp::Copy);
  EXPECT_EQ(p.at(1, 6), kInk);
  EXPECT_EQ(p.at(6, 6), kWhite);
  EXPECT_EQ(p.at(10, 10), kInk);
}

TEST(RasterFillPolygon, HugeCornersAreClipped) {
  Pixels p(10, 10);
  constexpr int kFar = 1 << 24;
  platform::rasterFillPolygon(
      p.buffer(), std::vector<Point>{{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}}, kInk, RasterOp::Copy);
  EXPECT_EQ(p.inked(), 100);
}

TEST(RasterArc, RunsCounterClockwiseFromItsStartAngle) {
  Pixels p(21, 21);
  // The upper right quarter of a circle of radius 8 round (10, 10).
  platform::rasterArc(p.buffer(), 10.0, 10.0, 8.0, 8.0, 0.0, 90.0, kInk, PenStyle::Solid, RasterOp::Copy);
  EXPECT_EQ(p.at(18, 10), kInk);
  EXPECT_TRUE(p.inkNear(16, 4));  // 45 degrees: (10 + 5.66, 10 - 5.66)
  EXPECT_TRUE(p.inkNear(10, 2));
  EXPECT_FALSE(p.inkNear(2, 10));
  EXPECT_FALSE(p.inkNear(5, 5));
  for (int y = 11; y < 21; ++y) {
    for (int x = 0; x < 21; ++x) EXPECT_EQ(p.at(x, y), kWhite) << x << "," << y;
  }
}

TEST(RasterArc, NonFiniteGeometryDrawsNothing) {
  Pixels p(8, 8);
  platform::rasterArc(p.buffer(), 4.0, 4.0, std::numeric_limits<double>::quiet_NaN(), 3.0, 0.0, 360.0, kInk,
                      PenStyle::Solid, RasterOp::Copy);
  EXPECT_EQ(p.inked(), 0);
}

}  // namespace
