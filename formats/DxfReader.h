// The DXF reader: the lines of an ASCII drawing to "MOVETO"/"LINETO" path elements in
// millimetres, with the extent of the path.
//
// The lines are read as pairs of a group code and a value. Of the sections only ENTITIES gives
// elements: LINE, ARC, CIRCLE and LWPOLYLINE (bulged and closed outlines included) become paths,
// POINT and TEXT nothing; other entities are passed over and counted. A group code that is not an
// integer, a real that is not a number and a drawing that ends without its "EOF" pair end the
// reading with a message that names the line; what was read before stays: a polyline's vertices
// as they came, and an entity that was read whole when the lines ran out or the next group code
// was unreadable.
//
// Thread context: a pure function; any thread. Reading is bounded by the number of lines and the
// element list's limit.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "formats/ElementList.h"

namespace formats {

using DxfElement = ElementKnoten<DxfLayout>;
using DxfElementList = ElementList<DxfLayout>;

struct DxfReadResult {
  explicit DxfReadResult(std::size_t maxElements = kMaxElements) : elements(maxElements) {}

  DxfElementList elements;
  // Extent of every point appended and of the origin; (0, 0) to (-0, -0) while there is none.
  double xMin = 0.0;
  double yMin = 0.0;
  double xMax = -0.0;
  double yMax = -0.0;
  // The message of a reading that ended early (empty when it read to "EOF"), naming the line.
  std::string error;
  // Group codes inside a read entity that it does not use and that are not known to be harmless.
  std::size_t unknownCodes = 0;
  // Entities passed over, by name.
  std::map<std::string, std::size_t> skipped;
};

// Reads the lines of a drawing.
DxfReadResult readDxf(const std::vector<std::string>& lines, std::size_t maxElements = kMaxElements);

}  // namespace formats
