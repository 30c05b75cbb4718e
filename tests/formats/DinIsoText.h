// The elements of a DIN/ISO or DXF list as lines of text ("GO1 10.00 0.00 -1.00", "F 200",
// "LINETO 1.00 2.00 0.00"), so that a test compares whole paths.
#pragma once

#include <string>
#include <vector>

#include "formats/DinIsoReader.h"
#include "formats/DxfReader.h"
#include "platform/NumberFormat.h"

namespace formatstest {

inline std::string xyz(double x, double y, double z) {
  return platform::formatFixed(x, 2) + " " + platform::formatFixed(y, 2) + " " + platform::formatFixed(z, 2);
}

inline std::string elementText(const formats::DinIsoElement& e) {
  if (e.Befehl == "GOO" || e.Befehl == "GO1") return e.Befehl + " " + xyz(e.x, e.y, e.z);
  if (!e.Argument.empty()) return e.Befehl + " " + e.Argument;
  return e.Befehl;
}

inline std::string elementText(const formats::DxfElement& e) { return e.Befehl + " " + xyz(e.x, e.y, e.z); }

template <class List>
std::vector<std::string> elementTexts(const List& list) {
  std::vector<std::string> out;
  for (const auto& e : list) out.push_back(elementText(e));
  return out;
}

}  // namespace formatstest
