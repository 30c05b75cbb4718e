// New rows and the properties grid: shown values, taken-over edits and their corrections.
#include <gtest/gtest.h>

#include "panel/PropertyRows.h"

namespace {

using panel::TMainFormState;

panel::PropertyLayout kreisLayout() {
  panel::PropertyLayout layout;
  layout.caption = "Kreis-Eigenschaften:";
  layout.esgTyp = 8;
  layout.labels[1] = "X-Mittelpunkt:";
  layout.labels[2] = "Y-Mittelpunkt:";
  layout.labels[3] = "Radius:";
  layout.labels[4] = "Tiefe:";
  return layout;
}

TEST(PropertyRows, ANewRowIsAppendedSelectedAndMilledWithoutTouchingOthers) {
  TMainFormState form;
  form.DatenStringGrid.setRowCount(2);
  form.DatenStringGrid.setCells(12, 1, "true");
  const int row = panel::appendObjectRow(form, "KREIS", {{1, "5.00"}, {4, panel::defaultDepthCell(form)}});
  EXPECT_EQ(row, 2);
  EXPECT_EQ(form.DatenStringGrid.RowCount(), 3);
  EXPECT_EQ(form.DatenStringGrid.Cells(0, 2), "KREIS");
  EXPECT_EQ(form.DatenStringGrid.Cells(1, 2), "5.00");
  EXPECT_EQ(form.DatenStringGrid.Cells(4, 2), "-6.00");
  EXPECT_EQ(form.DatenStringGrid.Cells(11, 2), "ja");
  EXPECT_EQ(form.DatenStringGrid.Cells(12, 2), "true");
  EXPECT_EQ(form.DatenStringGrid.Cells(12, 1), "true");
}

TEST(PropertyRows, ShowingARowFillsOnlyItsRowsAndSelectsIt) {
  TMainFormState form;
  const int row = panel::appendObjectRow(form, "KREIS", {{1, "5.00"}, {2, "6.00"}, {3, "7.00"}, {4, "-1.00"}});
  form.DatenStringGrid.setCells(12, row, "false");
  form.EigenschaftenStringGrid.setCells(0, 6, "left over");
  panel::showPropertyRows(form, row, kreisLayout());

  const panel::StringGrid& props = form.EigenschaftenStringGrid;
  EXPECT_EQ(form.EigenschaftenLabel, "Kreis-Eigenschaften:");
  EXPECT_EQ(form.esgTyp, 8);
  EXPECT_EQ(props.Cells(0, 0), "Eigenschaften:");
  EXPECT_EQ(props.Cells(1, 0), "Werte:");
  EXPECT_EQ(props.Cells(0, 3), "Radius:");
  EXPECT_EQ(props.Cells(1, 3), "7.00");
  EXPECT_EQ(props.Cells(0, 11), "Fräsen:");
  EXPECT_EQ(props.Cells(1, 11), "ja");
  EXPECT_EQ(props.Cells(0, 6), "left over");
  EXPECT_EQ(form.DatenStringGrid.Cells(12, row), "true");
}

TEST(PropertyRows, TakingEditsOverCorrectsDepthAndRadiusAndReformatsNumbers) {
  TMainFormState form;
  const int row = panel::appendObjectRow(form, "KREIS", {});
  panel::showPropertyRows(form, row, kreisLayout());
  panel::StringGrid& props = form.EigenschaftenStringGrid;
  props.setCells(1, 1, "12345.678");
  props.setCells(1, 2, "2,5");
  props.setCells(1, 3, "-4");
  props.setCells(1, 4, "3");
  panel::takeNumericPropertyRows(form, row, 4, 3, 4);

  const std::vector<std::string> expected{"12345.70", "2.50", "0.00", "0.00"};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(props.Cells(1, i), expected[static_cast<std::size_t>(i - 1)]) << "row " << i;
    EXPECT_EQ(form.DatenStringGrid.Cells(i, row), expected[static_cast<std::size_t>(i - 1)]) << "cell " << i;
  }
  EXPECT_EQ(form.DatenStringGrid.Cells(11, row), "ja");
}

TEST(PropertyRows, ANegativeDepthAndJunkAreKeptAsNumbers) {
  TMainFormState form;
  const int row = panel::appendObjectRow(form, "KREIS", {});
  panel::showPropertyRows(form, row, kreisLayout());
  form.EigenschaftenStringGrid.setCells(1, 4, "-0,5");
  form.EigenschaftenStringGrid.setCells(1, 1, "abc");
  panel::takeNumericPropertyRows(form, row, 4, 3, 4);
  EXPECT_EQ(form.DatenStringGrid.Cells(4, row), "-0.50");
  EXPECT_EQ(form.DatenStringGrid.Cells(1, row), "0.00");
}

}  // namespace
