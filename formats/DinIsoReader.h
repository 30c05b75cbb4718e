// The DIN/ISO reader: program text to path elements in millimetres, with the extent of the path
// and the boxes the reading asks for.
//
// The reader knows a small dialect: rapid and feed moves, arcs in the XY plane broken into feed
// chords, the words M03, M05, M30, F and T kept as elements, and the plane, unit, distance and
// centre modes. A word it does not handle ends the reading with a hint, the path read so far
// kept; a character it cannot place fails the reading with an error box and an empty path.
// Every box names the line it stopped on.
//
// Thread context: a pure function; any thread. Reading is bounded by the input's length and the
// element list's limit: every loop advances through the bytes or is capped, so no input hangs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/ElementList.h"

namespace formats {

using DinIsoElement = ElementKnoten<DinIsoLayout>;
using DinIsoElementList = ElementList<DinIsoLayout>;

// Longest number word the reader takes; a longer one fails the reading.
inline constexpr std::size_t kMaxNumberWord = 40;

// A message box the reading asks for, in the order given.
struct DinIsoMessage {
  std::string text;
  std::string caption;
};

struct DinIsoReadResult {
  explicit DinIsoReadResult(std::size_t maxElements = kMaxElements) : elements(maxElements) {}

  // "GOO", "GO1" (x, y, z in mm, shifted), "MO3", "M05", "M30", "F", "T" (their number word as
  // the argument, x, y, z 0).
  DinIsoElementList elements;
  // Extent of every point appended (shifted) and of the origin; (0, 0) to (-0, -0) while there
  // is no point.
  double xMin = 0.0;
  double yMin = 0.0;
  double xMax = -0.0;
  double yMax = -0.0;
  // The reading failed: the list is empty and the extent reset.
  bool failed = false;
  // The reading ended early at a word it does not handle.
  bool hint = false;
  // Line (from 1) the reading ended on when it failed or gave a hint; 0 otherwise.
  int line = 0;
  std::vector<DinIsoMessage> messages;
};

// Reads a program; every point is shifted by (xShift, yShift) mm.
DinIsoReadResult readDinIso(std::string_view bytes, double xShift, double yShift,
                            std::size_t maxElements = kMaxElements);

}  // namespace formats
