// cxfconvert: makes the stroke fonts of engraved text from Debian's Hershey fonts.
// Usage: cxfconvert <folder of the .jhf files> <output folder>
// Writes normal.cxf and courier.cxf (from the simplex sans font rowmans.jhf), scriptc.cxf (from
// the script font scriptc.jhf) and hershey-fonts-notice.txt with the acknowledgements the Hershey
// fonts' licence asks to ship with them. Exits with 1 and a message when it cannot.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "fonts/CxfFont.h"
#include "fonts/HersheyFont.h"
#include "platform/TextFile.h"

namespace {

struct Output {
  const char* datei;
  fonts::CxfStyle style;
};

bool fail(const std::string& message) {
  std::cerr << "cxfconvert: " << message << "\n";
  return false;
}

bool convert(const std::filesystem::path& hersheyDir, const std::filesystem::path& outDir, const Output& out) {
  const std::filesystem::path source = hersheyDir / out.style.quelle;
  std::string bytes;
  std::string error;
  if (!platform::readFileBytes(source, bytes, &error)) return fail(source.string() + ": " + error);
  const fonts::HersheyFont hershey = fonts::parseHershey(bytes);
  if (!hershey.error.empty()) return fail(source.string() + ": " + hershey.error);
  const std::vector<fonts::CxfGlyph> glyphs = fonts::cxfGlyphs(hershey, out.style, error);
  if (glyphs.empty()) return fail(source.string() + ": " + error);
  const std::filesystem::path target = outDir / out.datei;
  if (!platform::writeTextLinesAtomic(target, fonts::cxfLines(glyphs, out.style), &error))
    return fail(target.string() + ": " + error);
  return true;
}

bool writeNotice(const std::filesystem::path& outDir, const std::vector<Output>& outputs) {
  std::vector<std::string> lines = {"Stroke fonts of veltris for engraved text", ""};
  for (const Output& out : outputs)
    lines.push_back(std::string(out.datei) + " is made from the Hershey font " + out.style.quelle + ".");
  lines.insert(lines.end(), {"", "The Hershey font files are those of Debian's package hershey-fonts-data.",
                             "The Hershey fonts' licence asks that the following acknowledgements be",
                             "distributed with the font data:", ""});
  for (const std::string& line : fonts::hersheyAcknowledgements()) lines.push_back("    " + line);
  const std::filesystem::path target = outDir / "hershey-fonts-notice.txt";
  std::string error;
  if (!platform::writeTextLinesAtomic(target, lines, &error)) return fail(target.string() + ": " + error);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: cxfconvert <folder of the .jhf files> <output folder>\n";
    return 1;
  }
  const std::filesystem::path hersheyDir = argv[1];
  const std::filesystem::path outDir = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);

  fonts::CxfStyle normal{"normal", "rowmans.jhf", 9.0, 0.25, 0.4, std::nullopt};
  // A blank as wide as a cell, so blanks keep the fixed pitch too.
  fonts::CxfStyle courier{"courier", "rowmans.jhf", 9.0, 0.25, 6.0 / 9.0, 6.0};
  fonts::CxfStyle scriptc{"scriptc", "scriptc.jhf", 5.4, 0.0, 0.6, std::nullopt};
  const std::vector<Output> outputs = {{"normal.cxf", normal}, {"courier.cxf", courier}, {"scriptc.cxf", scriptc}};
  for (const Output& out : outputs)
    if (!convert(hersheyDir, outDir, out)) return 1;
  return writeNotice(outDir, outputs) ? 0 : 1;
}
