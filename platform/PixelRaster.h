// Drawing of thin lines and small filled polygons straight into 32-bit pixels, for a canvas
// whose own painting costs more per short line than the line itself (a panel redraw draws a
// hundred thousand lines of a few pixels).
//
// Thread context: pure functions over the buffer passed; the caller serialises access to it.
// Nothing blocks, nothing allocates per pixel. Coordinates of any size are clipped to the buffer,
// and the work is bounded by the buffer's size, not by the length of the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Canvas.h"

namespace platform {

// Pixels 0xAARRGGBB, `stride` pixels from one row to the next.
struct PixelBuffer {
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;
};

// How a pixel is written: the colour itself, or the inverse of colour XOR pixel (the rubber
// band's mode, which a second drawing undoes). The top byte of the pixel is kept at 0xFF.
enum class RasterOp { Copy, NotXor };

// A line one pixel wide from `from` to `to`, the end pixel left out; a line of no length draws
// nothing. The dash patterns are those of one-pixel pens (Dash 4 on 2 off, Dot 1 on 2 off,
// DashDot 4-2-1-2, DashDotDot 4-2-1-2-1-2), entered `phase` pixels in (0: at the start of a
// pattern); Clear draws nothing. `argb` is the pixel value to write (0xFFRRGGBB). Returns the
// number of pixels the line steps over, the phase for a line that goes on from its end.
std::int64_t rasterLine(const PixelBuffer& buffer, Point from, Point to, std::uint32_t argb, PenStyle style,
                        RasterOp op, std::int64_t phase = 0);

// An arc of the ellipse with centre (cx, cy) and half-axes rx, ry (pixels), from the parametric
// angle `startDegrees` counter-clockwise on the screen over `spanDegrees`, as a chain of short
// lines one pixel wide with one dash pattern along the whole arc. For arcs of a few hundred
// pixels; larger ones would need more lines than it draws (at most kMaxArcLines).
inline constexpr int kMaxArcLines = 1024;
void rasterArc(const PixelBuffer& buffer, double cx, double cy, double rx, double ry, double startDegrees,
               double spanDegrees, std::uint32_t argb, PenStyle style, RasterOp op);

// Fills the polygon's inside by the even-odd rule, sampling each pixel at its centre, the way
// an aliased painter fills it. Corners far outside the buffer are fine.
void rasterFillPolygon(const PixelBuffer& buffer, std::span<const Point> corners, std::uint32_t argb, RasterOp op);

}  // namespace platform
