// The pixels that one Qt drawing sets, taken once on a scratch image and set again wherever the
// same drawing recurs: a redraw draws thousands of row numbers in their circles, and Qt lays out,
// shapes and rasterises each of them anew.
//
// Thread context: capture() paints on a scratch image of its own, on any thread once the
// QGuiApplication exists; stampOnto() writes only the buffer passed, which the caller serialises.
// Nothing blocks.
#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRaster.h"

class QPainter;

namespace platform {

class PixelStamp {
 public:
  // Paints with `paint` in opaque black on a white scratch image that covers `area`, given
  // relative to the anchor; `paint` is told where the anchor lies on the scratch and must draw
  // at whole-pixel positions. Gives nothing when the drawing is not one that a stamp repeats
  // exactly: a pixel neither black nor white (smoothed or coloured glyphs), or ink on the
  // scratch's border (the drawing may reach beyond the area).
  static std::optional<PixelStamp> capture(const QRect& area, const std::function<void(QPainter&, QPoint)>& paint);

  // Sets the stamp's pixels to `argb` (0xFFRRGGBB) with the anchor at `anchor`, clipped to the
  // buffer.
  void stampOnto(const PixelBuffer& buffer, Point anchor, std::uint32_t argb) const;

  // Number of pixels the stamp sets.
  int pixelCount() const;

 private:
  // The box of the ink relative to the anchor, and its pixels row by row, a bit each: bit i of
  // word j of a row is the pixel left_ + 64 j + i. A row number costs some hundred bytes.
  int left_ = 0;
  int top_ = 0;
  int rows_ = 0;
  int wordsPerRow_ = 0;
  std::vector<std::uint64_t> bits_;
};

}  // namespace platform
