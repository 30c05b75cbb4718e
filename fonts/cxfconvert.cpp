// cxfconvert: makes the stroke fonts of engraved text from Debian's Hershey fonts.
// Usage: cxfconvert <folder of the .jhf files> <output folder>
// Writes normal.cxf and courier.cxf (from the simplex sans font rowmans.jhf), scriptc.cxf (from
// the script font scriptc.jhf), each with a few glyphs of the Greek, mathematical and symbol
// fonts (greeks.jhf, greekc.jhf, mathlow.jhf, symbolic.jhf), and hershey-fonts-notice.txt with
// the acknowledgements the Hershey fonts' licence asks to ship with them. Exits with 1 and a
// message when it cannot.
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

// Every Hershey font the style draws on, read from `hersheyDir`.
bool readSources(const std::filesystem::path& hersheyDir, const fonts::CxfStyle& style, fonts::HersheyFonts& out) {
  std::vector<std::string> names = {style.quelle};
  for (const fonts::CxfBorrowed& b : style.borrowed) names.push_back(b.source);
  for (const std::string& name : names) {
    if (out.count(name) != 0) continue;
    const std::filesystem::path source = hersheyDir / name;
    std::string bytes;
    std::string error;
    if (!platform::readFileBytes(source, bytes, &error)) return fail(source.string() + ": " + error);
    fonts::HersheyFont hershey = fonts::parseHershey(bytes);
    if (!hershey.error.empty()) return fail(source.string() + ": " + hershey.error);
    out.emplace(name, std::move(hershey));
  }
  return true;
}

bool convert(const std::filesystem::path& hersheyDir, const std::filesystem::path& outDir, const Output& out) {
  fonts::HersheyFonts hershey;
  if (!readSources(hersheyDir, out.style, hershey)) return false;
  std::string error;
  const std::vector<fonts::CxfGlyph> glyphs = fonts::cxfGlyphs(hershey, out.style, error);
  if (glyphs.empty()) return fail(std::string(out.datei) + ": " + error);
  const std::filesystem::path target = outDir / out.datei;
  if (!platform::writeTextLinesAtomic(target, fonts::cxfLines(glyphs, out.style), &error))
    return fail(target.string() + ": " + error);
  return true;
}

bool writeNotice(const std::filesystem::path& outDir, const std::vector<Output>& outputs) {
  std::vector<std::string> lines = {"Stroke fonts of veltris for engraved text", ""};
  for (const Output& out : outputs) {
    std::string others;
    for (const fonts::CxfBorrowed& b : out.style.borrowed)
      if (others.find(b.source) == std::string::npos) others += (others.empty() ? "" : ", ") + b.source;
    lines.push_back(std::string(out.datei) + " is made from the Hershey font " + out.style.quelle +
                    (others.empty() ? "" : ", with glyphs of " + others) + ".");
  }
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

  // The simplex Greek and mathematical glyphs match the simplex sans font; the script takes the
  // complex Greek mu, which leans as it does.
  const std::vector<fonts::CxfBorrowed> simplex = {
      {"µ", "greeks.jhf", 'l'}, {"±", "mathlow.jhf", '!'}, {"§", "symbolic.jhf", 'i'}, {"×", "mathlow.jhf", '#'}};
  std::vector<fonts::CxfBorrowed> script = simplex;
  script.front() = {"µ", "greekc.jhf", 'l'};
  const fonts::CxfStyle normal{"normal", "rowmans.jhf", 9.0, 0.25, 0.4, std::nullopt, 0.0, false, simplex};
  // A blank as wide as a cell: the text reader gives every glyph of the font at least a blank's
  // width, so glyphs and blanks keep the fixed pitch.
  const fonts::CxfStyle courier{"courier", "rowmans.jhf", 9.0, 0.25, 6.0 / 9.0, 6.0, 0.0, false, simplex};
  const fonts::CxfStyle scriptc{"scriptc", "scriptc.jhf", 5.4, 0.0, 0.6, std::nullopt, 1.0 / 3.0, true, script};
  const std::vector<Output> outputs = {{"normal.cxf", normal}, {"courier.cxf", courier}, {"scriptc.cxf", scriptc}};
  for (const Output& out : outputs)
    if (!convert(hersheyDir, outDir, out)) return 1;
  return writeNotice(outDir, outputs) ? 0 : 1;
}
