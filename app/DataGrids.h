// The data grids of development mode: the element list of a format module written into the grid
// of its page (HPGL, DIN/ISO, DXF), element k in row k, row 0 left empty.
//
// Thread context: GUI thread; the grid is the caller's and is written in place, the list is only
// read. Blocks for as long as the list takes to write.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "panel/StringGrid.h"
#include "platform/NumberFormat.h"

namespace app {

inline constexpr int kHPGLSpalten = 4;
inline constexpr int kDINISOSpalten = 5;
inline constexpr int kDXFSpalten = 5;

// Most elements a data grid shows: a plot of millions of steps is not copied into texts whole;
// the grid shows the first ones.
inline constexpr std::size_t kMaxDatenZeilen = 100'000;

// Writes the elements of `liste` through `zeile` (grid, row, element) into rows 1.. of `grid`,
// which gets one row more than it shows elements. An empty list leaves the grid as it was.
template <class Liste, class Zeile>
void ElementeEintragen(panel::StringGrid& grid, int spalten, const Liste& liste, Zeile zeile) {
  if (liste.empty()) return;
  const std::size_t anzahl = std::min<std::size_t>(liste.size(), kMaxDatenZeilen);
  grid.setColCount(spalten);
  grid.setRowCount(static_cast<int>(anzahl) + 1);
  int row = 0;
  for (const auto& element : liste) {
    if (static_cast<std::size_t>(row) == anzahl) break;
    ++row;
    zeile(grid, row, element);
  }
}

// Plot elements: command word, pen number, x, y.
template <class Liste>
void HPGLDatenEintragen(panel::StringGrid& grid, const Liste& liste) {
  ElementeEintragen(grid, kHPGLSpalten, liste, [](panel::StringGrid& g, int row, const auto& e) {
    g.setCells(0, row, e.Befehl);
    g.setCells(1, row, platform::formatInt(e.Stift));
    g.setCells(2, row, platform::formatGeneral(e.x));
    g.setCells(3, row, platform::formatGeneral(e.y));
  });
}

// Program elements: command word, argument text, x, y, z.
template <class Liste>
void DINISODatenEintragen(panel::StringGrid& grid, const Liste& liste) {
  ElementeEintragen(grid, kDINISOSpalten, liste, [](panel::StringGrid& g, int row, const auto& e) {
    g.setCells(0, row, e.Befehl);
    g.setCells(1, row, e.Argument);
    g.setCells(2, row, platform::formatGeneral(e.x));
    g.setCells(3, row, platform::formatGeneral(e.y));
    g.setCells(4, row, platform::formatGeneral(e.z));
  });
}

// Drawing elements: command word, x, y; columns 1 and 4 stay empty.
template <class Liste>
void DXFDatenEintragen(panel::StringGrid& grid, const Liste& liste) {
  ElementeEintragen(grid, kDXFSpalten, liste, [](panel::StringGrid& g, int row, const auto& e) {
    g.setCells(0, row, e.Befehl);
    g.setCells(2, row, platform::formatGeneral(e.x));
    g.setCells(3, row, platform::formatGeneral(e.y));
  });
}

}  // namespace app
