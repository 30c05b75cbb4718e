// Stroke-font files for the text tests, written into the test's program folder (the temporary
// folder of TraceLogFolder), where the TEXT rows look for their fonts.
#pragma once

#include <string>
#include <vector>

#include "platform/ProgramPath.h"
#include "platform/TextFile.h"

namespace paneltest {

// Three free lines, the name line of `name` and the dimensions line, then the glyph lines.
inline std::vector<std::string> fontFile(const std::string& name, const std::string& dimensions,
                                         const std::vector<std::string>& glyphs) {
  std::vector<std::string> lines = {"# test font", "#", "#", "# Name: " + name, "# Dimensions: " + dimensions};
  lines.insert(lines.end(), glyphs.begin(), glyphs.end());
  return lines;
}

// Writes the lines (UTF-8) as a font file of the program folder, in Windows-1252 like every file.
inline void writeFont(const std::string& fileName, const std::vector<std::string>& lines) {
  platform::writeTextLinesAtomic(platform::programFolder() / fileName, lines);
}

}  // namespace paneltest
