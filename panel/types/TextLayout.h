// Laying out one line of text in a stroke font: the metrics a TEXT row's font name and height
// give, and the strokes of each character in millimetres from the start of the baseline.
//
// Thread context: pure functions over the values passed; any thread. Nothing blocks.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "panel/Geometry.h"
#include "panel/types/StrokeFont.h"

namespace panel {

inline constexpr std::string_view kSchriftNormal = "normal.cxf";
inline constexpr std::string_view kSchriftCourier = "courier.cxf";
inline constexpr std::string_view kSchriftScriptc = "scriptc.cxf";

struct TextMetrik {
  double scale = 0.0;              // mm per font unit
  double buchstabenAbstand = 0.0;  // mm added after every character
  double wortAbstand = 0.0;        // mm a blank advances
  // mm a glyph the font has advances at least: the blank's width in the fixed-pitch
  // "courier.cxf", whose glyphs are centred in cells as wide as a blank; 0 otherwise.
  double zellbreite = 0.0;
};

// The metrics of a text of height `hoehe` in the font named `schriftname`. Every layout starts
// from the same values, so no text takes those of the text laid out before: 1/9 of the height per
// font unit, a quarter of the height between letters and 0.4 of it for a blank. A header that
// applies gives the height per unit and its two factors times the height; the three built-in
// names then fix their own values ("normal.cxf" and "courier.cxf" keep the header's word spacing,
// and "courier.cxf" takes it as its cell width).
TextMetrik textMetrik(const StrokeFont* font, std::string_view schriftname, double hoehe);

// What a layout hands on: each stroke as the points the cut runs through (its start first), and
// the end of every character other than a blank, with whether the font has its glyph.
struct TextStrokeSink {
  std::function<void(const std::vector<MmPoint>& punkte)> strich;
  std::function<void(bool gefunden)> zeichenFertig;
};

// One stroke of a glyph at pen x on the baseline y: the points in mm. `advance` grows to the
// stroke's rightmost point (mm right of the pen). A stroke of another letter gives no points.
std::vector<MmPoint> Text_Strich(const FontStroke& strich, const TextMetrik& metrik, double penX, double basisY,
                                 double& advance);

// The glyph of one character: its strokes handed to the sink (when given); returns whether the
// font has it, and `advance` grows to its rightmost point.
bool Text_Zeichen(const StrokeFont& font, const std::string& zeichen, const TextMetrik& metrik, double penX,
                  double basisY, double& advance, const TextStrokeSink* sink);

// The whole text from `start` (the left end of its baseline): a blank advances by the word
// spacing, any other character by its glyph (at least by the cell width), a character the font
// lacks by nothing, each followed by the letter spacing. Returns the width, which does not count
// the spacing after the last character.
double Text_Schreiben(const StrokeFont& font, const TextMetrik& metrik, std::string_view text, MmPoint start,
                      const TextStrokeSink* sink);

}  // namespace panel
