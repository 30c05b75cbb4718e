// String grid storage: one vector of cells per row, every row exactly ColCount cells long.
#include "StringGrid.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace panel {

StringGrid::StringGrid(int colCount, int rowCount) {
  setColCount(colCount);
  setRowCount(rowCount);
}

void StringGrid::setColCount(int colCount) {
  colCount_ = std::max(colCount, 0);
  for (auto& row : rows_) row.resize(static_cast<std::size_t>(colCount_));
}

void StringGrid::setRowCount(int rowCount) {
  rows_.resize(static_cast<std::size_t>(std::max(rowCount, 0)),
               std::vector<std::string>(static_cast<std::size_t>(colCount_)));
}

bool StringGrid::contains(int col, int row) const {
  return col >= 0 && col < colCount_ && row >= 0 && row < RowCount();
}

const std::string& StringGrid::Cells(int col, int row) const {
  // A shared empty text keeps reads outside the grid cheap and never grows the grid.
  static const std::string kEmpty;
  if (!contains(col, row)) return kEmpty;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void StringGrid::setCells(int col, int row, std::string text) {
  if (!contains(col, row)) return;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

void StringGrid::swapRows(int a, int b) {
  if (a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  rows_[static_cast<std::size_t>(a)].swap(rows_[static_cast<std::size_t>(b)]);
}

void StringGrid::removeRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
}

}  // namespace panel
