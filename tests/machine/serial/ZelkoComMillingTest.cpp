// A small panel document milled end to end over the line: the real command layer, connected
// through the real back-end factory, drives the simulated controller; the simulator's positions
// show where the tool went. And the stop button's halt during a move of the run.
#include <algorithm>
#include <atomic>
#include <functional>

#include "ZelkoJobRig.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/MainFormState.h"
#include "panel/MillingFrame.h"
#include "panel/MillingRun.h"
#include "panel/ObjectType.h"
#include "panel/PropertyRows.h"
#include "panel/RowCells.h"
#include "support/QueueDispatcher.h"
#include "support/RecordingCanvas.h"

namespace machinetest {
namespace {

// A plunge point: x, y and depth in cells 1-3, milled through the shared contour frame.
struct PointType {
  struct Record : panel::RowBasis {
    int row = 0;
    double x = 0.0;
    double y = 0.0;
    double tiefe = 0.0;
  };
  static std::optional<Record> Lesen(const panel::TMainFormState& form, const panel::StringGrid& grid, int row) {
    if (grid.Cells(0, row) != "PUNKT") return std::nullopt;
    Record r;
    static_cast<panel::RowBasis&>(r) = panel::readRowBasis(grid, row);
    r.row = row;
    r.x = panel::shiftedX(form, panel::cellNumber(grid, 1, row));
    r.y = panel::shiftedY(form, panel::cellNumber(grid, 2, row));
    r.tiefe = panel::cutDepth(grid, 3, row);
    return r;
  }
  // Runs on the job's thread before row `row` is milled; empty: nothing.
  static inline std::function<void(int row)> beforeRow;
  static void Fraesen(panel::MillContext& context, const Record& r) {
    if (beforeRow) beforeRow(r.row);
    panel::millContour(context, r.Modus, r.tiefe >= 0.0, r.x, r.y, r.tiefe, [] {});
  }
};

class ZelkoMilling : public ZelkoJobRig {
 protected:
  ZelkoMilling() {
    // The workpiece zero lies at (10, 20, 5) mm.
    params.xWerkstücknullpunkt = 10.0;
    params.yWerkstücknullpunkt = 20.0;
    params.zWerkstücknullpunkt = 5.0;
    form.Abmessungen.Sicherheitsebene = 2.0;
    form.Dokumenttyp = panel::DocumentKind::Panel;
    form.SpindelmotorCheckBox.Checked = true;
    form.KuehlmittelpumpeCheckBox.Checked = true;
    types[panel::KonturTyp::Punkt] = panel::makeObjectTypeEntry<PointType>();
    panel::appendObjectRow(form, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
    panel::appendObjectRow(form, "PUNKT", {{1, "20.00"}, {2, "10.00"}, {3, "-2.00"}});
  }

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(connectLayer());
    layer.Version_abfragen();
  }
  void TearDown() override { PointType::beforeRow = nullptr; }

  // How often a move ended with the tool at (x, y, z) steps.
  int visits(int x, int y, int z) const {
    const auto history = sim.positionHistory();
    return static_cast<int>(std::count(history.begin(), history.end(), peers::ZelkoSim::Positions{x, y, z, 0}));
  }

  panel::ObjectTypeTable types;
  panel::RunContext context{form, types, layer, motion};
};

TEST_F(ZelkoMilling, ADocumentIsMilledOverTheLine) {
  EXPECT_EQ(params.Verbindungstext, "Cobalt-Kyro V1.0");  // the answer's ACK is not shown
  EXPECT_EQ(panel::fraesenAusfuehren(context), 0);

  const auto commands = sim.commands();
  const auto moves = std::count_if(commands.begin(), commands.end(), [](const std::string& c) { return c[0] == 'L'; });
  EXPECT_GT(moves, 4);
  // Every move ran to its end on the controller.
  EXPECT_EQ(static_cast<long>(sim.positionHistory().size()), moves);
  // Each point is reached at travel height, 3 mm above the workpiece zero of 5 mm, and cut to its
  // depth (z counts downwards).
  EXPECT_EQ(visits(6000, 10000, 1200), 2);
  EXPECT_EQ(visits(6000, 10000, 2400), 1);
  EXPECT_EQ(visits(12000, 12000, 1200), 1);
  EXPECT_EQ(visits(12000, 12000, 2800), 1);
  // Spindle on before the first move, coolant around each cut, everything off at the end.
  const auto firstMove =
      std::find_if(commands.begin(), commands.end(), [](const std::string& c) { return c[0] == 'L'; });
  EXPECT_NE(std::find(commands.begin(), firstMove, "A1,1"), firstMove);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "A2,1"), 2);
  EXPECT_EQ(commands.back(), "A2,0");
  // The run ends at the workpiece zero, as the controller reports it when asked.
  const auto end = sim.positions();
  EXPECT_EQ(end[0], 4000);
  EXPECT_EQ(end[1], 8000);
  EXPECT_EQ(layer.Position_abfragen('x'), end[0]);
  EXPECT_EQ(layer.Position_abfragen('z'), end[2]);
}

TEST_F(ZelkoMilling, AHaltDuringAMoveEndsTheRunWithTheStopCode) {
  sim.setMoveDuration(60s);
  auto run = onWorker([&] { panel::cncFraesen(context); });
  ASSERT_TRUE(sim.waitForAnswer(std::string(1, kNak), kPatience));
  layer.Achsen_anhalten();
  ASSERT_EQ(run.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(run.get(), machine::USER_ABORT);
  EXPECT_FALSE(sim.moving());
  // The link is still in step for what the stop path sends next.
  layer.Ausgangssignal_setzen(1, 0);
}

// The stop button pressed while the job stands between two moves finds a standing controller:
// its halt stops nothing, so the job's next move must not be sent at all, or it would run its
// whole length before the stop is noticed.
TEST_F(ZelkoMilling, AStopBetweenTwoMovesSendsNoFurtherMotion) {
  PointType::beforeRow = [this](int row) {
    if (row == 2) layer.Achsen_anhalten();
  };
  EXPECT_EQ(codeOf([&] { panel::cncFraesen(context); }), machine::USER_ABORT);
  const auto commands = sim.commands();
  const auto halt = std::find(commands.begin(), commands.end(), "@B");
  ASSERT_NE(halt, commands.end());
  EXPECT_EQ(std::count_if(halt, commands.end(), [](const std::string& c) { return c[0] == 'L' || c[0] == '$'; }), 0);
  EXPECT_FALSE(bAbbruch.load());
}

}  // namespace
}  // namespace machinetest
