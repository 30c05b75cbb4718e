// Points of the panel in millimetres, their bitmap pixels, and the option words of cells 9 and 10
// that the contour types share (milling direction, tool-radius compensation).
//
// Thread context: plain values and pure functions; any thread. Nothing blocks.
#pragma once

#include <algorithm>
#include <string_view>

#include "panel/PanelView.h"
#include "platform/Canvas.h"
#include "platform/NumberFormat.h"

namespace panel {

struct MmPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const MmPoint&) const = default;
};

// The bitmap pixel of a panel point in the given view.
inline platform::Point toPixel(const PanelAnsicht& view, MmPoint p) {
  return {mm2PixelX(view, p.x), mm2PixelY(view, p.y)};
}

// A length in whole pixels, truncated.
inline int pixelLength(const PanelAnsicht& view, double mm) { return mm2PixelLength(view, mm); }

// "Uhrzeigersinn" is clockwise; every other text counts as counter-clockwise.
inline constexpr std::string_view kUhrzeigersinn = "Uhrzeigersinn";
inline bool isClockwise(std::string_view fraesrichtung) { return fraesrichtung == kUhrzeigersinn; }

// Tool-radius compensation of cell 10. Every word that is not one of the four named ones runs
// the cutter centre on the contour, like "mitte".
enum class Compensation { Innen, InnenTasche, Aussen, AussenSteg, Mitte };

inline Compensation compensationOf(std::string_view radiuskorrektur) {
  if (radiuskorrektur == "innen") return Compensation::Innen;
  if (radiuskorrektur == "innen-tasche") return Compensation::InnenTasche;
  if (radiuskorrektur == "aussen") return Compensation::Aussen;
  if (radiuskorrektur == "aussen-steg") return Compensation::AussenSteg;
  return Compensation::Mitte;
}

inline bool isInside(Compensation c) { return c == Compensation::Innen || c == Compensation::InnenTasche; }
inline bool isOutside(Compensation c) { return c == Compensation::Aussen || c == Compensation::AussenSteg; }

}  // namespace panel
