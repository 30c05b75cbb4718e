// The common rules of reading and writing object rows: numbers, shifted positions, cut depths,
// option words, milling modes and their pens, and the number format of cells.
//
// Thread context: pure functions over the values passed; any thread. Nothing blocks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "panel/MainFormState.h"
#include "panel/Palette.h"
#include "panel/StringGrid.h"
#include "platform/Canvas.h"

namespace panel {

// Cells of an object row besides the parameters 1-10.
inline constexpr int kZelleTyp = 0;
inline constexpr int kZelleModus = 11;
inline constexpr int kZelleSelektiert = 12;

// Milling modes of cell 11.
inline constexpr std::string_view kModusJa = "ja";
inline constexpr std::string_view kModusNein = "nein";
inline constexpr std::string_view kModusNurZeichnen = "nur zeichnen";

// What every parsed record holds besides its geometry.
struct RowBasis {
  std::string Modus;        // trimmed cell 11
  bool selektiert = false;  // cell 12
};

// Number of a cell, tolerant (',' or '.', junk gives 0).
double cellNumber(const StringGrid& grid, int col, int row);
// Option word of a cell, trimmed, case kept.
std::string cellOption(const StringGrid& grid, int col, int row);
// Reads cells 11 and 12.
RowBasis readRowBasis(const StringGrid& grid, int row);

// A document x or y with the shifts added: the insertion shift first, then the copy shift.
double shiftedX(const TMainFormState& form, double x);
double shiftedY(const TMainFormState& form, double y);
// The cut depth of a depth cell: cells hold depths <= 0, the motion takes them positive.
double cutDepth(const StringGrid& grid, int col, int row);

// Only exactly "ja" mills; "nein", "nur zeichnen" and any other text do not.
bool isMilled(std::string_view modus);

// Pen of an object's outline by its mode: "nein" grey solid, "nur zeichnen" dotted, any other
// text the "ja" colour solid, or the invalid colour when the object cannot be milled.
platform::Pen outlinePen(const Palette& farben, std::string_view modus, bool gueltig = true);

// Whether a typed text may go into a cell: valid UTF-8 of at most `maxCharacters` characters that
// the document file can hold (Windows-1252), without ';' (the document's cell separator) and
// without control characters (line ends among them).
bool cellTextAllowed(std::string_view text, std::size_t maxCharacters);

// A number as the cells hold it: rounded to six significant digits, then two decimals with '.',
// always in plain fixed-point (12345.678 -> "12345.70", -6 -> "-6.00"); held within plus or minus
// platform::kValueLimit.
std::string cellText(double value);

}  // namespace panel
