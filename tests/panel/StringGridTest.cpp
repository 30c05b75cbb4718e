// The string grid: resizing keeps what lies inside both sizes, and nothing outside the grid is
// read or written.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "panel/StringGrid.h"

namespace {

using panel::StringGrid;

std::string label(int col, int row) { return std::to_string(col) + "/" + std::to_string(row); }

StringGrid filledGrid(int cols, int rows) {
  StringGrid grid(cols, rows);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) grid.setCells(col, row, label(col, row));
  }
  return grid;
}

TEST(StringGrid, ResizeKeepsCellsInsideBothSizesAndRegrownCellsAreEmpty) {
  StringGrid grid = filledGrid(3, 3);

  grid.setColCount(2);
  grid.setRowCount(2);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.RowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 2; ++col) EXPECT_EQ(grid.Cells(col, row), label(col, row));
  }

  // Cells cut off by the shrink must not come back with their old text.
  grid.setRowCount(4);
  grid.setColCount(4);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      const bool kept = row < 2 && col < 2;
      EXPECT_EQ(grid.Cells(col, row), kept ? label(col, row) : "") << col << "," << row;
    }
  }
}

TEST(StringGrid, PositionsOutsideReadEmptyAndWritesThereAreIgnored) {
  struct Position {
    int col;
    int row;
  };
  const Position outside[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT_MAX, 0}, {0, INT_MIN}};

  StringGrid grid = filledGrid(3, 2);
  for (const Position& p : outside) {
    EXPECT_EQ(grid.Cells(p.col, p.row), "") << p.col << "," << p.row;
    grid.setCells(p.col, p.row, "x");
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 2);
  }
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 3; ++col) EXPECT_EQ(grid.Cells(col, row), label(col, row));
  }
}

TEST(StringGrid, NegativeCountsGiveAnEmptyGrid) {
  StringGrid grid(-2, -5);
  EXPECT_EQ(grid.ColCount(), 0);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.Cells(0, 0), "");

  grid = filledGrid(2, 2);
  grid.setRowCount(-1);
  EXPECT_EQ(grid.RowCount(), 0);
  grid.setRowCount(1);
  EXPECT_EQ(grid.Cells(0, 0), "");
}

TEST(StringGrid, RowsAreExchangedAndRemovedWhole) {
  StringGrid grid = filledGrid(3, 4);
  grid.swapRows(1, 3);
  EXPECT_EQ(grid.Cells(2, 1), label(2, 3));
  EXPECT_EQ(grid.Cells(0, 3), label(0, 1));
  grid.removeRow(2);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cells(1, 2), label(1, 1));
  EXPECT_EQ(grid.ColCount(), 3);
  // Rows outside the grid change nothing.
  grid.swapRows(0, 3);
  grid.swapRows(-1, 0);
  grid.removeRow(3);
  grid.removeRow(-1);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cells(0, 0), label(0, 0));
}

}  // namespace
