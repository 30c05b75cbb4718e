// Common reading and writing rules of object-row cells.
#include "RowCells.h"

#include <algorithm>
#include <vector>

#include "machine/TextConvert.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"

namespace panel {

namespace {

bool isControl(const std::string& zeichen) {
  const auto b0 = static_cast<unsigned char>(zeichen[0]);
  if (zeichen.size() == 1) return b0 < 0x20 || b0 == 0x7F;
  // U+0080 to U+009F, the C1 controls.
  return zeichen.size() == 2 && b0 == 0xC2 && static_cast<unsigned char>(zeichen[1]) < 0xA0;
}

}  // namespace

bool cellTextAllowed(std::string_view text, std::size_t maxCharacters) {
  if (!platform::isValidUtf8(text)) return false;
  // The document file holds Windows-1252: a character it cannot hold would turn into '?' there.
  if (platform::cp1252ToUtf8(platform::utf8ToCp1252(text)) != text) return false;
  const std::vector<std::string> zeichen = platform::utf8Characters(text);
  if (zeichen.size() > maxCharacters) return false;
  return std::none_of(zeichen.begin(), zeichen.end(), [](const std::string& z) { return z == ";" || isControl(z); });
}

double cellNumber(const StringGrid& grid, int col, int row) { return machine::Text_in_Zahl(grid.Cells(col, row)); }

std::string cellOption(const StringGrid& grid, int col, int row) { return machine::Text_trimmen(grid.Cells(col, row)); }

RowBasis readRowBasis(const StringGrid& grid, int row) {
  return RowBasis{cellOption(grid, kZelleModus, row), machine::Text_ist_wahr(grid.Cells(kZelleSelektiert, row))};
}

double shiftedX(const TMainFormState& form, double x) { return (x + form.Einfuegeversatz.x) + form.Nutzenversatz.x; }

double shiftedY(const TMainFormState& form, double y) { return (y + form.Einfuegeversatz.y) + form.Nutzenversatz.y; }

double cutDepth(const StringGrid& grid, int col, int row) { return -cellNumber(grid, col, row); }

bool isMilled(std::string_view modus) { return modus == kModusJa; }

platform::Pen outlinePen(const Palette& farben, std::string_view modus, bool gueltig) {
  platform::Pen pen;
  pen.style = platform::PenStyle::Solid;
  if (modus == kModusNein) {
    pen.colour = farben.FarbeNein;
  } else if (modus == kModusNurZeichnen) {
    pen.colour = farben.FarbeNurZeichnen;
    pen.style = platform::PenStyle::Dot;
  } else {
    pen.colour = gueltig ? farben.FarbeJa : farben.FarbeUngueltig;
  }
  return pen;
}

std::string cellText(double value) { return platform::formatFixedSignificant(platform::boundedValue(value), 6, 2); }

}  // namespace panel
