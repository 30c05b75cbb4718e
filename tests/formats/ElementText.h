// The path elements of a list as lines of text ("UP", "STIFT 2", "LINETO 10.00 0.00"), so that a
// test compares whole paths.
#pragma once

#include <string>
#include <vector>

#include "formats/HpglReader.h"
#include "platform/NumberFormat.h"

namespace formatstest {

inline std::string elementText(const formats::HpglElement& e) {
  if (e.Befehl == "MOVETO" || e.Befehl == "LINETO")
    return e.Befehl + " " + platform::formatFixed(e.x, 2) + " " + platform::formatFixed(e.y, 2);
  if (e.Befehl == "STIFT") return e.Befehl + " " + std::to_string(e.Stift);
  return e.Befehl;
}

inline std::vector<std::string> elementTexts(const formats::HpglElementList& list) {
  std::vector<std::string> out;
  for (const formats::HpglElement& e : list) out.push_back(elementText(e));
  return out;
}

// Only the elements of one command word.
inline std::vector<std::string> elementTexts(const formats::HpglElementList& list, const std::string& command) {
  std::vector<std::string> out;
  for (const formats::HpglElement& e : list)
    if (e.Befehl == command) out.push_back(elementText(e));
  return out;
}

}  // namespace formatstest
