// Tests of the command layer with the real parallel-port back-ends on the simulated port: the
// connection step of each type, and how refused moves, limit switches and stops reach the caller.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "LptRig.h"
#include "ThrownCode.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "support/TempFolder.h"

namespace {

using machinetest::thrownCode;

struct ParallelLayerRig : machinetest::SimulatedPortRig {
  explicit ParallelLayerRig(int modul) {
    machine::Parameter_Vorbelegen(params);
    params.Modul = modul;
    if (modul == 0) port.setDecoding(peers::SimulatedParallelPort::Decoding::PhasePatterns);
    // The one limit input of the Garnet card and of the Zircon is pin 11, active high: released.
    if (modul == 0 || modul == 1) port.setPinLevel(11, false);
  }

  // The connection step of the main window, then the parameters as a job sends them.
  bool connect() {
    name = layer.Steuerung_erzeugen(factory);
    layer.Schnittstelle_anzeigen();
    const bool connected = layer.Steuerung_verbinden(params.Schnittstellentext);
    layer.Version_abfragen();
    if (connected) layer.InitializeSteuerung(false);
    port.clearRecord();
    return connected;
  }

  std::vector<testsupport::UiCall> calls() {
    gui.drain();
    return ui.calls();
  }

  testsupport::ProgramFolder folder;
  // A second card at LPT2's address; the back-end reaches the card of the configured address.
  peers::SimulatedParallelPort lpt2{clock, 0x278};
  machine::DefaultBackendFactory factory{ui, gui, clock,
                                         [this] { return (params.LPTAdresse == 0x278 ? lpt2 : port).connection(); }};
  machine::Maschinenparameter params;
  machine::ControllerBackends backends;
  std::atomic<bool> stop{false};
  machine::CommandLayer layer{params, backends, stop};
  std::string name;
};

TEST(ParallelCommandLayer, TheConnectionStepOpensThePortOfEachTypeAndMovesGoByMillimetres) {
  const struct {
    int type;
    const char* name;
    const char* model;
  } cases[] = {{0, "Schrittmotorsteuerkarte Garnet/Jasper", "Garnet/Jasper"},
               {1, "Zircon", "Zircon"},
               {4, "Takt/Richtung", "Takt/Richtung"},
               {7, "Onyx", "Onyx"}};
  for (const auto& c : cases) {
    ParallelLayerRig rig(c.type);
    ASSERT_TRUE(rig.connect()) << c.type;
    EXPECT_EQ(rig.name, c.name);
    EXPECT_EQ(rig.params.Schnittstellentext, "0x378");
    EXPECT_EQ(rig.params.Verbindungstext, c.model);
    EXPECT_TRUE(rig.port.claimed()) << c.type;
    EXPECT_TRUE(rig.calls().empty()) << c.type;

    rig.layer.Vektorfahrt_ausfuehren(1, 1, rig.layer.mm_in_Schritte('x', 1.0), rig.layer.mm_in_Schritte('y', -0.5), 0,
                                     1);
    EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{400, -200, 0, 0})) << c.type;
    EXPECT_DOUBLE_EQ(rig.layer.Position_mm_abfragen('x'), 1.0) << c.type;
    EXPECT_DOUBLE_EQ(rig.layer.Position_mm_abfragen('y'), -0.5) << c.type;
  }
}

TEST(ParallelCommandLayer, WithoutPortAccessTheControllerIsNotConnectedAndMovesFail) {
  ParallelLayerRig rig(7);
  rig.port.setInitializeResult(false);
  EXPECT_FALSE(rig.connect());
  const auto calls = rig.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, "InitializeWinIo() failed");
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 1, 10, 0, 0, 1); }), machine::HANDLE_COM_PORT_ERROR);
  EXPECT_EQ(thrownCode([&] { rig.layer.Referenzfahrt_ausfuehren("z"); }), machine::HANDLE_COM_PORT_ERROR);
  EXPECT_TRUE(rig.port.writes().empty());

  ParallelLayerRig taken(0);
  taken.port.refuseClaims("/dev/parport0 lässt sich nicht belegen (Device or resource busy).");
  EXPECT_FALSE(taken.connect());
  ASSERT_EQ(taken.calls().size(), 1u);
  EXPECT_EQ(taken.calls()[0].text, "/dev/parport0 lässt sich nicht belegen (Device or resource busy).");
}

TEST(ParallelCommandLayer, ARefusedMoveEndsTheRunWithItsOwnCodeAfterTheBeep) {
  ParallelLayerRig rig(1);
  rig.params.Arbeitsfreq = 8000;  // stored, but above the Zircon's 5000
  ASSERT_TRUE(rig.connect());
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 1, 10, 0, 0, 1); }), machine::MOVE_REFUSED);
  EXPECT_TRUE(rig.port.writes().empty());
  auto calls = rig.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, testsupport::UiCall::Kind::Beep);
  // The back-end's beep is all the user gets: the failure helper shows nothing for these types.
  rig.layer.Steuerungsfehler_melden(rig.ui, machine::MOVE_REFUSED, "Tessaly");
  EXPECT_EQ(rig.calls().size(), 1u);

  // The rapid speed is within the limit and moves.
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 10, 0, 0, 1); }), -1);
  EXPECT_EQ(rig.port.positions()[0], 10);
}

TEST(ParallelCommandLayer, ALimitSwitchEndsTheRunWithItsOwnCode) {
  ParallelLayerRig rig(7);
  ASSERT_TRUE(rig.connect());
  rig.port.setPinModel(10, [](const peers::AxisPositions& p) { return p[1] < 50; });
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 0, 400, 0, 1); }), machine::LIMIT_SWITCH_STOP);
  EXPECT_EQ(rig.port.positions()[1], 50);
  EXPECT_EQ(rig.layer.Position_abfragen('y'), 50);
  EXPECT_FALSE(rig.stop.load());
}

TEST(ParallelCommandLayer, TheStopButtonDeceleratesTheMoveAndTheRunEndsWithUserAbort) {
  ParallelLayerRig rig(4);
  ASSERT_TRUE(rig.connect());
  rig.port.onceWhen([](const peers::AxisPositions& p) { return p[0] == 1000; }, [&] { rig.layer.Achsen_anhalten(); });
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 4000, 0, 0, 1); }), machine::USER_ABORT);
  EXPECT_FALSE(rig.stop.load());
  // 200 to 600 steps per second in 200 ms: 120 steps to slow down.
  EXPECT_EQ(rig.port.positions()[0], 1120);
  EXPECT_EQ(rig.layer.Position_abfragen('x'), 1120);

  // A move cut short by a stop that the job did not ask for ends the job all the same.
  rig.port.onceWhen([](const peers::AxisPositions& p) { return p[0] == 1500; },
                    [&] { rig.backends.TaktRicht->Achsen_sofort_stoppen(); });
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 4000, 0, 0, 1); }), machine::USER_ABORT);
  EXPECT_FALSE(rig.stop.load());
}

TEST(ParallelCommandLayer, AHaltAfterTheLastMoveDoesNotCutTheNextRunsFirstMoveShort) {
  ParallelLayerRig rig(7);
  ASSERT_TRUE(rig.connect());
  // A failed run halts the axes on its way out, when nothing moves any more.
  rig.layer.haltAxes();
  EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 800, 0, 0, 1); }), -1);
  EXPECT_EQ(rig.port.positions()[0], 800);
}

TEST(ParallelCommandLayer, AStopBetweenTwoMovesEndsTheSecondBeforeItsFirstStep) {
  for (int type : {0, 1, 4, 7}) {
    for (bool homing : {false, true}) {
      ParallelLayerRig rig(type);
      ASSERT_TRUE(rig.connect()) << type;
      rig.layer.Vektorfahrt_ausfuehren(1, 2, 400, 0, -200, 1);
      // The stop button while the job works out its next move: the generator has nothing to stop.
      rig.layer.Achsen_anhalten();
      rig.port.clearRecord();
      const int code = thrownCode([&] {
        if (homing) {
          rig.layer.Referenzfahrt_Reihenfolge(1, 1, 1, 0);
        } else {
          rig.layer.Vektorfahrt_ausfuehren(1, 2, 4000, 0, 0, 1);
        }
      });
      EXPECT_EQ(code, machine::USER_ABORT) << type << " homing " << homing;
      EXPECT_TRUE(rig.port.stepTimes(0).empty() && rig.port.stepTimes(2).empty()) << type << " homing " << homing;
      EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{400, 0, -200, 0})) << type << " homing " << homing;
      // An axis that was not homed keeps its position.
      EXPECT_EQ(rig.layer.Position_abfragen('x'), 400) << type << " homing " << homing;
      EXPECT_EQ(rig.layer.Position_abfragen('z'), -200) << type << " homing " << homing;
      EXPECT_FALSE(rig.stop.load()) << type << " homing " << homing;

      // The stop was the job's: the next move runs its whole length.
      EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 2, 4000, 0, 0, 1); }), -1) << type;
      EXPECT_EQ(rig.port.positions()[0], 4400) << type << " homing " << homing;
    }
  }
}

TEST(ParallelCommandLayer, HomingGoesAxisByAxisAndItsCancelEndsTheWholeSequence) {
  for (bool cancel : {false, true}) {
    ParallelLayerRig rig(7);
    ASSERT_TRUE(rig.connect());
    rig.port.setPositions({300, 300, 300, 0});
    // Type 7, active low: x on pin 10, y on pin 11, z on pin 12.
    rig.port.setPinModel(10, [](const peers::AxisPositions& p) { return p[0] > 0; });
    rig.port.setPinModel(11, [](const peers::AxisPositions& p) { return p[1] > 0; });
    rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[2] > 0; });
    if (cancel)
      rig.port.onceWhen([](const peers::AxisPositions& p) { return p[2] == 150; },
                        [&] { rig.layer.Achsen_sofort_stoppen(); });
    const int code = thrownCode([&] { rig.layer.Referenzfahrt_Reihenfolge(1, 1, 1, 0); });
    if (cancel) {
      EXPECT_EQ(code, machine::USER_ABORT);
      EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{300, 300, 150, 0}));
      EXPECT_FALSE(rig.stop.load());
      // z has not been homed: it counts the 150 steps it went down, and a move to z 0 lifts it.
      EXPECT_EQ(rig.layer.Position_abfragen('z'), -150);
      rig.layer.Vektorfahrt_ausfuehren(1, 2, 0, 0, -rig.layer.Position_abfragen('z'), 1);
      EXPECT_EQ(rig.port.positions()[2], 300);
    } else {
      EXPECT_EQ(code, -1);
      // Each axis 0.25 mm (100 steps) past the point where its switch opened.
      EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{101, 101, 101, 0}));
      for (char axis : {'x', 'y', 'z'}) EXPECT_EQ(rig.layer.Position_abfragen(axis), 0) << axis;
    }
  }
}

}  // namespace

namespace {

TEST(ParallelCommandLayer, AConnectionStepForTheSameControllerOnTheSamePortKeepsTheCountedPositions) {
  const struct {
    int type;
    int newType;
    std::int32_t newAddress;
    bool kept;
  } cases[] = {
      {7, 7, 0x378, true},  {4, 4, 0x378, true},  {1, 1, 0x378, true},  {0, 0, 0x378, true},  {7, 4, 0x378, false},
      {1, 7, 0x378, false}, {0, 7, 0x378, false}, {7, 0, 0x378, false}, {7, 7, 0x278, false}, {0, 0, 0x278, false},
  };
  for (const auto& c : cases) {
    const std::string name =
        std::to_string(c.type) + " -> " + std::to_string(c.newType) + " at " + std::to_string(c.newAddress);
    ParallelLayerRig rig(c.type);
    ASSERT_TRUE(rig.connect()) << name;
    rig.layer.Vektorfahrt_ausfuehren(1, 2, 400, -200, 120, 1);

    // The parameter dialog closed with OK or Cancel: the connection step makes the back-end anew.
    rig.params.Modul = c.newType;
    rig.params.LPTAdresse = c.newAddress;
    if (c.newType == 0) rig.port.setDecoding(peers::SimulatedParallelPort::Decoding::PhasePatterns);
    ASSERT_TRUE(rig.connect()) << name;
    const std::array<int, 3> expected = c.kept ? std::array<int, 3>{400, -200, 120} : std::array<int, 3>{0, 0, 0};
    EXPECT_EQ(rig.layer.Position_abfragen('x'), expected[0]) << name;
    EXPECT_EQ(rig.layer.Position_abfragen('y'), expected[1]) << name;
    EXPECT_EQ(rig.layer.Position_abfragen('z'), expected[2]) << name;

    // The travel back to where the first connection counted from.
    if (!c.kept) continue;
    rig.layer.Vektorfahrt_ausfuehren(1, 2, -rig.layer.Position_abfragen('x'), -rig.layer.Position_abfragen('y'),
                                     -rig.layer.Position_abfragen('z'), 1);
    EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{0, 0, 0, 0})) << name;
  }
}

TEST(ParallelCommandLayer, PositionsAreCarriedOnlyFromAConnectedBackEndAndOnlyToTheNextConnection) {
  // A connection that failed counted nothing to carry: the one after it starts from 0.
  ParallelLayerRig rig(7);
  ASSERT_TRUE(rig.connect());
  rig.layer.Vektorfahrt_ausfuehren(1, 2, 400, 0, 0, 1);
  rig.port.refuseClaims("belegt");
  EXPECT_FALSE(rig.connect());
  rig.port.refuseClaims("");
  ASSERT_TRUE(rig.connect());
  EXPECT_EQ(rig.layer.Position_abfragen('x'), 0);

  // Another type in between: back on the first, the machine may have moved under the other.
  rig.layer.Vektorfahrt_ausfuehren(1, 2, 300, 0, 0, 1);
  rig.params.Modul = 4;
  ASSERT_TRUE(rig.connect());
  rig.params.Modul = 7;
  ASSERT_TRUE(rig.connect());
  EXPECT_EQ(rig.layer.Position_abfragen('x'), 0);

  // A reset clears what is carried, as it clears the positions.
  rig.layer.Vektorfahrt_ausfuehren(1, 2, 250, 0, 0, 1);
  ASSERT_TRUE(rig.connect());
  EXPECT_EQ(rig.layer.Position_abfragen('x'), 250);
  rig.layer.Reset_durchfuehren();
  ASSERT_TRUE(rig.connect());
  EXPECT_EQ(rig.layer.Position_abfragen('x'), 0);
}

}  // namespace
