// The dispatch table of the object types: per type number, the roles that the row walks call.
//
// Thread context: filled once on the GUI thread before any walk; afterwards only read, by the
// milling walk on the run worker thread too. A copyable value; it owns its role functions.
// Roles may block (the milling roles move the machine) and may throw failure codes.
#pragma once

#include "panel/Keywords.h"
#include "panel/StringGrid.h"

#include <array>
#include <cstddef>
#include <functional>
#include <utility>

namespace panel {

struct MillContext;

// Parses row `row` of `grid` (the document table, or the library grid of a sub-drawing) and, only
// when the row is valid, mills it. Returns whether the row parsed. Failure codes pass through.
using MillRole = std::function<bool(MillContext& context, const StringGrid& grid, int row)>;

struct ObjectTypeEntry {
  MillRole millRow;  // empty: the type mills nothing
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
  return [parse = std::move(parse), mill = std::move(mill)](MillContext& context,
                                                            const StringGrid& grid, int row) {
    auto parsed = parse(context, grid, row);
    if (!parsed) return false;
    mill(context, *parsed);
    return true;
  };
}

}  // namespace panel
