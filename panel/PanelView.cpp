// Millimetre/pixel conversions of the panel view.
#include "PanelView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace panel {

namespace {

double safeScale(const PanelAnsicht& view) { return view.dMassstab > 0.0 ? view.dMassstab : kMinimumMassstab; }

}  // namespace

int clampPixel(double px) {
  if (std::isnan(px)) return 0;
  return static_cast<int>(
      std::clamp(std::trunc(px), -static_cast<double>(kPixelLimit), static_cast<double>(kPixelLimit)));
}

int mm2PixelX(const PanelAnsicht& view, double x) {
  return clampPixel(static_cast<double>(view.x0) + std::trunc(x * view.dMassstab));
}

int mm2PixelY(const PanelAnsicht& view, double y) {
  return clampPixel(static_cast<double>(view.y0) - std::trunc(y * view.dMassstab));
}

int mm2PixelLength(const PanelAnsicht& view, double mm) { return clampPixel(mm * view.dMassstab); }

double Pixel2mmX(const PanelAnsicht& view, int px) {
  return WertRunden((static_cast<double>(px) - view.x0) / safeScale(view), 1);
}

double Pixel2mmY(const PanelAnsicht& view, int py) {
  return WertRunden((static_cast<double>(view.y0) - py) / safeScale(view), 1);
}

double WertRunden(double value, int decimals) {
  const double factor = std::pow(10.0, decimals);
  if (value > 0) return std::trunc(value * factor + 0.5) / factor;
  return std::trunc(value * factor - 0.5) / factor;
}

double GradZuRad(double degrees) {
  if (degrees >= 360.0) degrees -= 360.0;
  return degrees * 2.0 * std::numbers::pi / 360.0;
}

double RadZuGrad(double radians) { return radians * 360.0 / (2.0 * std::numbers::pi); }

}  // namespace panel
