// The view record that maps panel millimetres to bitmap pixels, and the conversions both ways.
//
// Thread context: plain value and pure functions; any thread. The main window holds one record,
// each format module its own. Nothing blocks.
#pragma once

namespace panel {

struct PanelAnsicht {
  int x0 = 0;              // bitmap x of world x 0 (the panel's left edge)
  int y0 = 0;              // bitmap y of world y 0 (the panel's bottom edge)
  int width = 0;           // first the available drawing width, then the panel width, px
  int height = 0;          // first the available drawing height, then the panel height, px
  double dMassstab = 1.0;  // px per mm; never 0 or below once laid out
  double xShift = 0.0;     // mm added to every imported point by a format module
  double yShift = 0.0;
  double xMin = 0.0;  // world window shown, mm
  double yMin = 0.0;
  double xMax = 0.0;
  double yMax = 0.0;
  bool liveDrawing = false;  // a format module's run draws its path as it mills
};

// Pixels far off any bitmap are held at this distance, so that the drawing's offsets and sums of
// pixel values (handles 15 px out, corner radii, an origin plus a panel width) never overflow
// an int.
inline constexpr int kPixelLimit = 1 << 24;

// Smallest scale a layout gives: a panel or paint box of no size must not make the scale 0 or
// negative, which would divide by zero in the pixel-to-millimetre conversions.
inline constexpr double kMinimumMassstab = 0.01;

// Bitmap pixel of a panel coordinate, held within plus or minus kPixelLimit.
int mm2PixelX(const PanelAnsicht& view, double x);
int mm2PixelY(const PanelAnsicht& view, double y);
// A length in whole pixels (truncated), held within plus or minus kPixelLimit.
int mm2PixelLength(const PanelAnsicht& view, double mm);
// The pixel value held within plus or minus kPixelLimit.
int clampPixel(double px);
// Millimetres of a pixel, rounded to one decimal, halves away from zero.
double Pixel2mmX(const PanelAnsicht& view, int px);
double Pixel2mmY(const PanelAnsicht& view, int py);

// The value rounded to `decimals` places, halves away from zero.
double WertRunden(double value, int decimals);

// Degrees to radians; an angle of 360 or more is first reduced by 360 once.
double GradZuRad(double degrees);
double RadZuGrad(double radians);

}  // namespace panel
