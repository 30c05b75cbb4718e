// Picking and dragging with the mouse in bitmap pixels: which row a click selects, which handle
// lies under the pointer, and what each kind's handles write into the row when dragged.
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "EditingFixture.h"
#include "panel/HandleCodes.h"
#include "panel/HandleDrag.h"
#include "panel/OrderGrid.h"
#include "panel/PropertyGrid.h"
#include "panel/RowCells.h"
#include "panel/Selection.h"

namespace {

using paneltest::Cells;

class Selection : public paneltest::EditingFixture {
 protected:
  void click(platform::Point p) { panel::SelectiereObject(form_, types_, p.x, p.y); }
  bool search(platform::Point p) { return panel::GriffpunktSuchen(form_, types_, p.x, p.y); }
  std::string selected(int row) const { return cell(row, 12); }
  // As the window does on a press: select, rebuild the order grid, show the properties, grab.
  void press(platform::Point p) {
    click(p);
    panel::ReihenfolgeAufbauen(form_);
    panel::DrawContext ctx = context();
    panel::EigenschaftenAktualisieren(ctx);
    search(p);
  }
};

TEST_F(Selection, AClickMarksEveryObjectHitAndSelectsTheLastInMillingOrder) {
  const int far = addRow("PUNKT", {{1, "80.00"}, {2, "80.00"}, {3, "-1.00"}});
  const int tool = addRow("TOOL", {{1, "300"}, {2, "500"}, {3, "700"}, {4, "150"}});
  const int kreis = addRow("KREIS", {{1, "20.00"}, {2, "20.00"}, {3, "8.00"}, {4, "-1.00"}});
  const int note = addRow("---", {});
  const int rechteck = addRow("RECHTECK1", {{1, "10.00"}, {2, "10.00"}, {3, "30.00"}, {4, "30.00"}, {5, "-1.00"}});
  const int unknown = addRow("KREISE", {{1, "20.00"}, {2, "20.00"}, {3, "8.00"}});
  setCell(far, 12, "true");
  form_.Griffpunkt = panel::kGriffPunkt;

  click(at(20.0, 20.0));
  EXPECT_EQ(form_.iTrefferZeile, rechteck);
  EXPECT_EQ(form_.iAktZeile, rechteck);
  EXPECT_EQ(form_.Griffpunkt, panel::kKeinGriff);
  EXPECT_EQ(selected(kreis), "true");
  EXPECT_EQ(selected(rechteck), "true");
  // Rows that were not hit lose their mark; TOOL, note and unknown rows are never hit.
  for (int row : {far, tool, note, unknown}) EXPECT_EQ(selected(row), "false") << row;

  const auto trace = traceLines();
  const std::string p = std::to_string(at(20.0, 20.0).x) + ", " + std::to_string(at(20.0, 20.0).y);
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[trace.size() - 2], "SelectiereObject(" + p + ")");
  EXPECT_EQ(trace.back(), "SelectiereObject(" + p + ") :: End");
}

TEST_F(Selection, AClickOnNothingKeepsTheSelectedRowButLeavesNoHitRowToDrag) {
  const int punkt = addRow("PUNKT", {{1, "20.00"}, {2, "20.00"}, {3, "-1.00"}});
  click(at(20.0, 20.0));
  ASSERT_EQ(form_.iTrefferZeile, punkt);
  form_.Griffpunkt = panel::kGriffPunkt;

  click(at(70.0, 70.0));
  EXPECT_EQ(form_.iAktZeile, punkt);
  EXPECT_EQ(form_.iTrefferZeile, -1);
  EXPECT_EQ(selected(punkt), "false");
  panel::DrawContext c = context();
  EXPECT_FALSE(panel::esgDragDrop(c, at(50.0, 50.0).x, at(50.0, 50.0).y));
  EXPECT_EQ(cell(punkt, 1), "20.00");
}

TEST_F(Selection, AnEmptyDocumentSelectsNothingAndDragsNothing) {
  form_.iAktZeile = 1;
  click(at(20.0, 20.0));
  EXPECT_EQ(form_.iAktZeile, 1);
  EXPECT_EQ(form_.iTrefferZeile, -1);
  panel::DrawContext c = context();
  EXPECT_FALSE(panel::esgDragDrop(c, at(20.0, 20.0).x, at(20.0, 20.0).y));
  EXPECT_EQ(form_.DatenStringGrid.RowCount(), 1);
}

TEST_F(Selection, TheHandleSearchLooksAtSelectedRowsOnlyAndReportsChanges) {
  const int unten = addRow("PUNKT", {{1, "20.00"}, {2, "20.00"}, {3, "-1.00"}});
  const int oben = addRow("KREIS", {{1, "20.00"}, {2, "20.00"}, {3, "8.00"}, {4, "-1.00"}});
  // Neither row is selected: nothing to grab.
  EXPECT_FALSE(search(at(20.0, 20.0)));
  EXPECT_EQ(form_.Griffpunkt, panel::kKeinGriff);

  // Both are: the later row's handle wins where the zones overlap.
  setCell(unten, 12, "true");
  setCell(oben, 12, "true");
  EXPECT_TRUE(search(at(20.0, 20.0)));
  EXPECT_EQ(form_.Griffpunkt, panel::kGriffKreisMitte);
  EXPECT_FALSE(search(at(20.0, 20.0, 1, 0)));
  // The circle's right radius handle.
  EXPECT_TRUE(search(at(27.0, 20.0)));
  EXPECT_EQ(form_.Griffpunkt, panel::kGriffKreisMitte + 2);
  // Only the point is selected.
  setCell(oben, 12, "false");
  EXPECT_TRUE(search(at(20.0, 20.0)));
  EXPECT_EQ(form_.Griffpunkt, panel::kGriffPunkt);
  EXPECT_TRUE(search(at(60.0, 60.0)));
  EXPECT_EQ(form_.Griffpunkt, panel::kKeinGriff);
}

// One drag: the row, the pixel pressed (a point of the row in mm and a pixel offset), the handle
// that grabs, the mm point dragged to, and the cells the rule writes from the mouse point X, Y
// (as the conversion rounds it); empty when the row must stay as it was.
struct DragCase {
  const char* name;
  const char* keyword;
  Cells cells;
  double gx, gy;
  int dx, dy;
  int code;
  double tx, ty;
  std::function<std::map<int, double>(double X, double Y)> expected;
  friend std::ostream& operator<<(std::ostream& os, const DragCase& c) { return os << c.name; }
};

class HandleDrag : public Selection, public ::testing::WithParamInterface<DragCase> {};

TEST_P(HandleDrag, GrabsTheHandleAtItsPixelAndWritesTheRule) {
  const DragCase& c = GetParam();
  const int row = addRow(c.keyword, c.cells);
  press(at(c.gx, c.gy, c.dx, c.dy));
  ASSERT_EQ(form_.iTrefferZeile, row);
  ASSERT_EQ(form_.Griffpunkt, c.code);
  panel::DrawContext ctx = context();

  const Cells before = [&] {
    Cells all;
    for (int col = 0; col < 13; ++col) all.emplace_back(col, cell(row, col));
    return all;
  }();
  const platform::Point target = at(c.tx, c.ty);
  const double X = panel::Pixel2mmX(form_.Ansicht, target.x);
  const double Y = panel::Pixel2mmY(form_.Ansicht, target.y);
  const std::map<int, double> writes = c.expected(X, Y);
  EXPECT_EQ(panel::esgDragDrop(ctx, target.x, target.y), !writes.empty());
  for (const auto& [col, text] : before) {
    const auto w = writes.find(col);
    EXPECT_EQ(cell(row, col), w == writes.end() ? text : panel::cellText(w->second)) << "cell " << col;
  }
  // The properties grid shows the row as it is now.
  EXPECT_EQ(property(1), cell(row, 1));
  EXPECT_EQ(property(3), cell(row, 3));
}

const Cells kRechteck1{{1, "20.00"}, {2, "20.00"}, {3, "40.00"}, {4, "30.00"}, {5, "-1.00"}};
const Cells kRechteck2{{1, "30.00"}, {2, "25.00"}, {3, "20.00"}, {4, "10.00"}, {5, "-1.00"}};
const Cells kRechteck3{{1, "20.00"}, {2, "20.00"}, {3, "20.00"}, {4, "10.00"}, {5, "-1.00"}};
const Cells kKreis{{1, "50.00"}, {2, "50.00"}, {3, "10.00"}, {4, "-1.00"}};
const Cells kVieleck{{1, "50.00"}, {2, "50.00"}, {3, "10.00"}, {4, "6.00"}, {5, "0.00"}, {6, "-1.00"}};
const Cells kKbogen{{1, "50.00"}, {2, "50.00"}, {3, "10.00"}, {4, "0.00"}, {5, "360.00"}, {6, "-1.00"}};
const Cells kLinie{{1, "10.00"}, {2, "20.00"}, {3, "50.00"}, {4, "40.00"}, {5, "-1.00"}};

using W = std::map<int, double>;

INSTANTIATE_TEST_SUITE_P(
    Kinds, HandleDrag,
    ::testing::
        Values(DragCase{"PlanCentre",
                        "PLAN",
                        {{1, "50.00"}, {2, "50.00"}, {3, "20.00"}, {4, "10.00"}, {5, "-1.00"}},
                        50,
                        50,
                        0,
                        0,
                        panel::kGriffPlanMitte,
                        62.3,
                        71.7,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               DragCase{"Punkt",
                        "PUNKT",
                        {{1, "30.00"}, {2, "30.00"}, {3, "-1.00"}},
                        30,
                        30,
                        0,
                        0,
                        panel::kGriffPunkt,
                        12.3,
                        44.4,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               DragCase{"LineStart", "LINIE1", kLinie, 10, 20, 2, 0, panel::kGriffLinieStart, 5, 5,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               DragCase{"LineEnd", "LINIE1", kLinie, 50, 40, -2, 0, panel::kGriffLinieEnde, 70, 90,
                        [](double X, double Y) {
                          return W{{3, X}, {4, Y}};
                        }},
               // The midpoint (30, 30) follows the mouse; the line keeps its length and direction.
               DragCase{"LineMiddle", "LINIE1", kLinie, 30, 30, 0, 0, panel::kGriffLinieMitte, 60, 70,
                        [](double X, double Y) {
                          return W{{1, X - 20}, {2, Y - 10}, {3, X + 20}, {4, Y + 10}};
                        }},
               DragCase{"Rechteck1LowerLeft", "RECHTECK1", kRechteck1, 20, 25, 1, 0, panel::kGriffRechteckLinks, 12, 15,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               DragCase{"Rechteck1LowerLeftPastTheOtherCorner", "RECHTECK1", kRechteck1, 20, 25, 1, 0,
                        panel::kGriffRechteckLinks, 45, 15, [](double, double) { return W{}; }},
               DragCase{"Rechteck1Centre", "RECHTECK1", kRechteck1, 30, 25, 0, 0, panel::kGriffRechteckMitte, 60, 70,
                        [](double X, double Y) {
                          return W{{1, X - 10}, {2, Y - 5}, {3, X + 10}, {4, Y + 5}};
                        }},
               DragCase{
                   "Rechteck1UpperRight", "RECHTECK1", kRechteck1, 40, 25, -1, 0, panel::kGriffRechteckRechts, 55, 45,
                   [](double X, double Y) {
                     return W{{3, X}, {4, Y}};
                   }},
               DragCase{"Rechteck1UpperRightBelowTheOtherCorner", "RECHTECK1", kRechteck1, 40, 25,
                        -1, 0, panel::kGriffRechteckRechts, 55, 15, [](double, double) { return W{}; }},
               // Centre and size: the centre (30, 25) stays, so the corners move symmetrically.
               DragCase{"Rechteck2LowerLeft", "RECHTECK2", kRechteck2, 20, 25, 1, 0, panel::kGriffRechteckLinks, 15, 18,
                        [](double X, double Y) {
                          return W{{3, 2 * (20 - X) + 20}, {4, 2 * (20 - Y) + 10}};
                        }},
               DragCase{"Rechteck2LowerLeftAcrossTheCentre", "RECHTECK2", kRechteck2, 20, 25, 1, 0,
                        panel::kGriffRechteckLinks, 45, 18, [](double, double) { return W{}; }},
               DragCase{"Rechteck2Centre", "RECHTECK2", kRechteck2, 30, 25, 0, 0, panel::kGriffRechteckMitte, 61, 72,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               // The grabbed corner is where the mouse is: width 2 (X - 30), height 2 (Y - 25).
               DragCase{"Rechteck2UpperRightFollowsTheMouse", "RECHTECK2", kRechteck2, 40, 25,
                        -1, 0, panel::kGriffRechteckRechts, 52, 41,
                        [](double X, double Y) { return W{{3, 2 * (X - 20) - 20}, {4, 2 * (Y - 20) - 10}}; }},
               DragCase{
                   "Rechteck3LowerLeftMovesIt", "RECHTECK3", kRechteck3, 20, 25, 1, 0, panel::kGriffRechteckLinks, 5, 8,
                   [](double X, double Y) {
                     return W{{1, X}, {2, Y}};
                   }},
               DragCase{"Rechteck3Centre", "RECHTECK3", kRechteck3, 30, 25, 0, 0, panel::kGriffRechteckMitte, 60, 70,
                        [](double X, double Y) {
                          return W{{1, X - 10}, {2, Y - 5}};
                        }},
               DragCase{
                   "Rechteck3UpperRight", "RECHTECK3", kRechteck3, 40, 25, -1, 0, panel::kGriffRechteckRechts, 70, 44,
                   [](double X, double Y) {
                     return W{{3, X - 20}, {4, Y - 20}};
                   }},
               DragCase{"VieleckCentre", "VIELECK", kVieleck, 50, 50, 0, 0, panel::kGriffVieleckMitte, 20, 30,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               DragCase{"VieleckTop", "VIELECK", kVieleck, 50, 59, 0, 0, panel::kGriffVieleckMitte + 3, 50, 73,
                        [](double, double Y) {
                          return W{{3, Y - 50}};
                        }},
               DragCase{"KreisLeft", "KREIS", kKreis, 41, 50, 0, 0, panel::kGriffKreisMitte + 1, 33, 50,
                        [](double X, double) {
                          return W{{3, 50 - X}};
                        }},
               DragCase{"KreisRightAcrossTheCentreStopsAtZero", "KREIS", kKreis, 59, 50, 0, 0,
                        panel::kGriffKreisMitte + 2, 45, 50, [](double, double) { return W{}; }},
               DragCase{"KreisBottom", "KREIS", kKreis, 50, 41, 0, 0, panel::kGriffKreisMitte + 4, 50, 37,
                        [](double, double Y) {
                          return W{{3, 50 - Y}};
                        }},
               DragCase{"KbogenRight", "KBOGEN", kKbogen, 59, 50, 0, 0, panel::kGriffKbogenMitte + 2, 66, 50,
                        [](double X, double) {
                          return W{{3, X - 50}};
                        }},
               DragCase{"KbogenCentre", "KBOGEN", kKbogen, 50, 50, 0, 0, panel::kGriffKbogenMitte, 30, 70,
                        [](double X, double Y) {
                          return W{{1, X}, {2, Y}};
                        }},
               // Whatever anchor of the text was grabbed, the position takes the point.
               DragCase{
                   "TextPosition",
                   "TEXT",
                   {{1, "links"}, {2, "30.00"}, {3, "30.00"}, {4, "ABC"}, {5, "fehlt.cxf"}, {6, "5.00"}, {7, "-1.00"}},
                   30,
                   30,
                   0,
                   0,
                   panel::kGriffTextLinks,
                   70,
                   10,
                   [](double X, double Y) {
                     return W{{2, X}, {3, Y}};
                   }}),
    [](const ::testing::TestParamInfo<DragCase>& c) { return std::string(c.param.name); });

TEST_F(Selection, AHandleOfAnotherKindOrARowOfAnotherKindChangesNothing) {
  const int kreis = addRow("KREIS", kKreis);
  press(at(50.0, 50.0));
  panel::DrawContext ctx = context();
  ASSERT_EQ(form_.esgTyp, static_cast<int>(panel::KonturTyp::Kreis));
  // A rectangle's handle code on a circle.
  form_.Griffpunkt = panel::kGriffRechteckMitte;
  EXPECT_FALSE(panel::esgDragDrop(ctx, at(60.0, 60.0).x, at(60.0, 60.0).y));
  // The grid shows a point while the hit row is the circle.
  form_.esgTyp = static_cast<int>(panel::KonturTyp::Punkt);
  form_.Griffpunkt = panel::kGriffPunkt;
  EXPECT_FALSE(panel::esgDragDrop(ctx, at(60.0, 60.0).x, at(60.0, 60.0).y));
  EXPECT_EQ(cell(kreis, 1), "50.00");
  EXPECT_EQ(cell(kreis, 3), "10.00");
  const auto trace = traceLines();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "esgDragDrop()"), 2);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "esgDragDrop() :: End"), 2);
}

TEST_F(Selection, CellsThatTakeTheMousePointEndInZero) {
  const int punkt = addRow("PUNKT", {{1, "30.00"}, {2, "30.00"}, {3, "-1.00"}});
  press(at(30.0, 30.0));
  panel::DrawContext ctx = context();
  for (int px = 0; px < 7; ++px) {
    panel::esgDragDrop(ctx, at(41.0, 17.0).x + px, at(41.0, 17.0).y - px);
    EXPECT_EQ(cell(punkt, 1).back(), '0') << cell(punkt, 1);
    EXPECT_EQ(cell(punkt, 2).back(), '0') << cell(punkt, 2);
  }
}

}  // namespace
