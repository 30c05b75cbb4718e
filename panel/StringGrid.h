// A table of UTF-8 text cells addressed by column and row, the model behind a string grid.
//
// Thread context: a value type owned by whoever holds it (the main window's state on the GUI
// thread); not synchronised. Copy it to hand a snapshot to another thread. Nothing blocks.
#pragma once

#include <string>
#include <vector>

namespace panel {

class StringGrid {
 public:
  StringGrid() = default;
  StringGrid(int colCount, int rowCount);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // Counts below 0 count as 0. Cells inside both the old and the new size keep their text; cells
  // cut off by a shrink are gone, so growing again always adds empty cells.
  void setColCount(int colCount);
  void setRowCount(int rowCount);

  // The cell's text, or an empty text for a position outside the grid. The reference stays valid
  // until the grid is next changed.
  const std::string& Cells(int col, int row) const;

  // Writes the cell; a position outside the grid is ignored and grows nothing.
  void setCells(int col, int row, std::string text);

  // Exchanges all cells of two rows; a row outside the grid makes it do nothing.
  void swapRows(int a, int b);
  // Removes a row, the rows below move up by one; a row outside the grid is ignored.
  void removeRow(int row);

 private:
  bool contains(int col, int row) const;

  int colCount_ = 0;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace panel
