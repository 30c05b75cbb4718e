// Reader of Hershey fonts in James Hurt's ".jhf" format, as Debian's hershey-fonts-data ships
// them: one record per glyph, a five-character number, a three-character count of coordinate
// pairs, then the pairs as letters (value = letter - 'R'); the first pair holds the glyph's left
// and right bounds, " R" lifts the pen. A record may run on over following lines.
//
// Thread context: pure functions; any thread. Nothing blocks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fonts {

// A point in Hershey units: x to the right, y downward.
struct HersheyPoint {
  int x = 0;
  int y = 0;
  bool operator==(const HersheyPoint&) const = default;
};

struct HersheyGlyph {
  int left = 0;                                    // left bound
  int right = 0;                                   // right bound
  std::vector<std::vector<HersheyPoint>> strokes;  // polylines, each drawn with the pen down
};

struct HersheyFont {
  std::vector<HersheyGlyph> glyphs;  // in file order
  std::string error;                 // why the text is not a Hershey font; empty when it is
};

// Parses the text of a .jhf file.
HersheyFont parseHershey(std::string_view text);

}  // namespace fonts
