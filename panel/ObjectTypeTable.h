// The dispatch table of the object types: per type number, the roles that the row walks,
// selection and the properties grid call.
//
// Thread context: filled once on the GUI thread before any walk; afterwards only read, by the
// milling walk on the run worker thread too. A copyable value; it owns its role functions.
// Milling roles may block (they move the machine) and may throw failure codes.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "panel/Keywords.h"
#include "panel/StringGrid.h"

namespace panel {

struct DrawContext;
struct MillContext;
struct TMainFormState;

// Parses row `row` of `grid` (the document table, or the library grid of a sub-drawing) and, only
// when the row is valid, mills it. Returns whether the row parsed. Failure codes pass through.
using MillRole = std::function<bool(MillContext& context, const StringGrid& grid, int row)>;
// Parses the row and, when it parsed, draws it in the fixed order of travel line, outline, row
// number, tool path, and grows the extent. Returns whether the row parsed.
using DrawRole = std::function<bool(DrawContext& context, const StringGrid& grid, int row)>;
// Parses a row of the document table and tests whether the bitmap point (x, y) hits the object;
// a hit writes "true" into the row's selection cell. Returns the hit.
using SelectRole = std::function<bool(TMainFormState& form, int row, int x, int y)>;
// For a selected row of the document table (selection cell true), parses it and sets
// `Griffpunkt` to the handle under (x, y); never clears it. A row that is not selected is not
// even parsed, so that the search under a moving mouse stays cheap and reads no files.
using HandleRole = std::function<void(TMainFormState& form, int row, int x, int y)>;
// Fills the properties grid from a row, or takes the edited values back into it.
using PropertyRole = std::function<void(TMainFormState& form, int row)>;

// What the object buttons give a new row: the tool slot 0-6 of a TOOL row, the file chosen for a
// plot or sub-drawing row (empty when none was chosen).
struct NewRowRequest {
  int toolSlot = 0;
  std::string path;
};
// Appends a row with the type's defaults, shows it in the properties grid and returns its row
// number; -1 when no row was appended.
using NewRole = std::function<int(TMainFormState& form, const NewRowRequest& request)>;

struct ObjectTypeEntry {
  NewRole newRow;          // empty: no object button makes the type
  DrawRole drawRow;        // empty: the type draws nothing
  MillRole millRow;        // empty: the type mills nothing
  SelectRole selectRow;    // empty: never hit
  HandleRole testHandles;  // empty: no handles
  PropertyRole showProperties;
  PropertyRole takeProperties;
};

class ObjectTypeTable {
 public:
  ObjectTypeEntry& operator[](KonturTyp typ) { return entries_[index(typ)]; }
  const ObjectTypeEntry& operator[](KonturTyp typ) const { return entries_[index(typ)]; }

 private:
  static std::size_t index(KonturTyp typ) { return static_cast<std::size_t>(typ); }

  std::array<ObjectTypeEntry, kKonturTypCount> entries_{};
};

// Builds a milling role from a type's two parts, so the parsed row is handed on as a value and
// no state of the last parsed row is kept anywhere:
//   parse(MillContext&, const StringGrid&, int row) -> std::optional<Record> (empty: unusable row)
//   mill(MillContext&, const Record&)
// Types that share a milling path (the three rectangles) pair their own parse with the shared mill.
template <class Parse, class Mill>
MillRole parseThenMill(Parse parse, Mill mill) {
  return [parse = std::move(parse), mill = std::move(mill)](MillContext& context, const StringGrid& grid, int row) {
    auto parsed = parse(context, grid, row);
    if (!parsed) return false;
    mill(context, *parsed);
    return true;
  };
}

}  // namespace panel
