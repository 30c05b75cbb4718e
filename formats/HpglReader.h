// The HPGL reader: plot file bytes to path elements in millimetres, with the extent of the plot
// and the messages the reading gives.
//
// Plotter units are 0.025 mm. User units ("SC") become plotter units through the scaling points
// "IP" and the user window "SC". The reader takes the commands PA, PR, PU, PD, SP, IP, SC, CI, AA
// and AR, and DT for the label terminator; it passes over CA, CO, DF, EC, IN (a second one), IW,
// LB, LT, OE, PG, PS, PT, PW, SF, TC, VS, WU, ZA, ZD, ZO, ZR and ZU with their parameters (a label
// up to its terminator, a comment with its quoted text, the others up to ';' or the next command);
// any other command, and a label or quoted comment that the file ends in, fails the plot with a
// message.
//
// Thread context: a pure function; any thread. Reading is bounded by the input's length and the
// element list's limit: every loop advances through the bytes or is capped, so no input hangs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ElementList.h"

namespace formats {

inline constexpr double kMmPerPlotterUnit = 0.025;

using HpglElement = ElementKnoten<HpglLayout>;
using HpglElementList = ElementList<HpglLayout>;

// A message box the reading asks for, in the order given.
struct HpglMessage {
  std::string text;
  std::string caption;
};

struct HpglReadResult {
  explicit HpglReadResult(std::size_t maxElements = kMaxElements) : elements(maxElements) {}

  // "UP", "DOWN" (x = y = 0), "STIFT" (pen number, x = y = 0), "MOVETO", "LINETO" (mm, shifted).
  HpglElementList elements;
  // Extent of every point in plotter units, truncated toward zero; it always holds (0, 0).
  std::int32_t xMin = 0;
  std::int32_t yMin = 0;
  std::int32_t xMax = 0;
  std::int32_t yMax = 0;
  // The file held "IN" (without it nothing is read).
  bool inFound = false;
  // The plot was read whole. False: the list is empty and the extent 0.
  bool complete = false;
  std::vector<HpglMessage> messages;
  // A ';' stood where a command was due: one beep for the whole file.
  bool strayBeep = false;
};

// Reads a plot; every point is shifted by (xShift, yShift) mm. A plot of more than `maxElements`
// elements is refused whole rather than cut short.
HpglReadResult readHpgl(std::string_view bytes, double xShift, double yShift, std::size_t maxElements = kMaxElements);

}  // namespace formats
