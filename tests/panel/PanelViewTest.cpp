// Millimetre/pixel conversions, rounding and angle helpers of the panel view.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "panel/PanelView.h"

namespace {

using panel::PanelAnsicht;

PanelAnsicht viewAt(int x0, int y0, double scale) {
  PanelAnsicht view;
  view.x0 = x0;
  view.y0 = y0;
  view.dMassstab = scale;
  return view;
}

TEST(PanelView, MillimetresTruncateTowardZeroIntoPixels) {
  const PanelAnsicht view = viewAt(40, 500, 1.5);
  EXPECT_EQ(panel::mm2PixelY(view, 0.99), 499);  // 1.485 truncated
  EXPECT_EQ(panel::mm2PixelX(view, 0.99), 41);
  EXPECT_EQ(panel::mm2PixelX(view, -0.99), 39);
  EXPECT_EQ(panel::mm2PixelY(view, -0.99), 501);
  EXPECT_EQ(panel::mm2PixelX(view, 100.0), 190);
}

TEST(PanelView, HugeOrInvalidValuesSaturateInsteadOfOverflowing) {
  const PanelAnsicht view = viewAt(40, 500, 10.0);
  // Held at the pixel limit, so that sums of pixels drawn from them cannot overflow either.
  EXPECT_EQ(panel::mm2PixelX(view, 1e300), panel::kPixelLimit);
  EXPECT_EQ(panel::mm2PixelY(view, 1e300), -panel::kPixelLimit);
  EXPECT_EQ(panel::mm2PixelLength(view, -1e300), -panel::kPixelLimit);
  EXPECT_EQ(panel::mm2PixelX(view, std::nan("")), 0);
}

TEST(PanelView, PixelsGiveMillimetresRoundedToOneDecimal) {
  const PanelAnsicht view = viewAt(40, 500, 4.9);
  EXPECT_DOUBLE_EQ(panel::Pixel2mmX(view, 41), 0.2);  // 0.204
  EXPECT_DOUBLE_EQ(panel::Pixel2mmY(view, 499), 0.2);
  EXPECT_DOUBLE_EQ(panel::Pixel2mmX(view, 39), -0.2);
  EXPECT_DOUBLE_EQ(panel::Pixel2mmX(view, 40), 0.0);
}

TEST(PanelView, AViewWithoutScaleNeverDividesByZero) {
  const PanelAnsicht view = viewAt(40, 500, 0.0);
  EXPECT_TRUE(std::isfinite(panel::Pixel2mmX(view, 100)));
  EXPECT_TRUE(std::isfinite(panel::Pixel2mmY(view, 100)));
}

TEST(PanelView, WertRundenRoundsHalvesAwayFromZero) {
  EXPECT_DOUBLE_EQ(panel::WertRunden(-0.25, 1), -0.3);
  EXPECT_DOUBLE_EQ(panel::WertRunden(0.25, 1), 0.3);
  EXPECT_DOUBLE_EQ(panel::WertRunden(0.204, 1), 0.2);
  EXPECT_DOUBLE_EQ(panel::WertRunden(1.005, 0), 1.0);
  EXPECT_DOUBLE_EQ(panel::WertRunden(0.0, 2), 0.0);
}

TEST(PanelView, AnglesConvertAndAFullTurnWrapsOnce) {
  EXPECT_DOUBLE_EQ(panel::GradZuRad(180.0), std::numbers::pi);
  EXPECT_DOUBLE_EQ(panel::GradZuRad(360.0), 0.0);
  EXPECT_DOUBLE_EQ(panel::GradZuRad(450.0), std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(panel::GradZuRad(-90.0), -std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(panel::RadZuGrad(std::numbers::pi), 180.0);
}

}  // namespace
