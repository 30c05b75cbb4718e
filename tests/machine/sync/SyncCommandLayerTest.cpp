// The command layer with the real Beryl and Kyro drivers on the simulated module: the connection
// step counts a unit as connected only when it identifies itself, the machine parameters go out
// as their exact commands, and outputs are executed by the empty execute command.
#include <atomic>
#include <optional>

#include "SyncRig.h"
#include "ThrownCode.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"

namespace machinetest {
namespace {

class SyncCommandLayer : public SyncRig {
 protected:
  SyncCommandLayer() {
    machine::Parameter_Vorbelegen(params);
    params.ComPort = 9;
  }

  // The connection step as the main window runs it; true when connected.
  bool connectAs(int modul, const std::string& kennung) {
    attach(kennung);
    params.Modul = modul;
    try {
      layer.Steuerung_trennen();
      layer.Steuerung_erzeugen(factory);
      layer.Schnittstelle_anzeigen();
      if (!layer.Steuerung_verbinden(params.Schnittstellentext)) return false;
      layer.Version_abfragen();
      return true;
    } catch (int) {
      return false;
    }
  }

  machine::Maschinenparameter params;
  machine::ControllerBackends backends;
  std::atomic<bool> stop{false};
  machine::CommandLayer layer{params, backends, stop};
  machine::DefaultBackendFactory factory{ui, gui, platform::systemClock()};
};

TEST_F(SyncCommandLayer, ATypeTwoOrThreeUnitCountsAsConnectedOnlyWhenItIdentifiesItself) {
  EXPECT_TRUE(connectAs(2, kBerylKennung));
  EXPECT_EQ(params.Verbindungstext, kBerylKennung);
  EXPECT_EQ(params.Schnittstellentext, "COM9");

  params.Verbindungstext.clear();
  EXPECT_FALSE(connectAs(2, "Korund-Berxl V2.4"));
  EXPECT_EQ(params.Verbindungstext, "");
  EXPECT_EQ(thrownCode([&] { layer.Version_abfragen(); }), machine::COMMUNICATION_ERROR);

  EXPECT_TRUE(connectAs(3, kKyroKennung));
  EXPECT_EQ(params.Verbindungstext, kKyroKennung);
  EXPECT_FALSE(connectAs(3, kBerylKennung));
}

TEST_F(SyncCommandLayer, TheMachineParametersGoOutAsTheirExactCommands) {
  ASSERT_TRUE(connectAs(2, kBerylKennung));
  sim->clearLog();
  layer.InitializeSteuerung(false);
  EXPECT_EQ(sim->texts(),
            (std::vector<std::string>{"#S200", "#E0,200", "#E1,400", "#E2,600", "#R200", "T0", "F0", "Z1", "#Ox, 100",
                                      "#Oy, 100", "#Oz, 100", "#E9,400", "#Dx,0,9,9,9", "#Dy,0,9,9,9", "#Dz,0,9,9,9"}));

  params.UBetrieb = 1;
  ASSERT_TRUE(connectAs(3, kKyroKennung));
  sim->clearLog();
  layer.U_Achse_einstellen();
  layer.InitializeSteuerung(true);
  EXPECT_EQ(sim->texts(), (std::vector<std::string>{"U1", "#S200", "#E0,200", "#E1,400", "#E2,600", "#R200"}));
}

TEST_F(SyncCommandLayer, OutputsAndThePenRelayRunWithTheEmptyExecuteCommand) {
  ASSERT_TRUE(connectAs(2, kBerylKennung));
  sim->clearLog();
  layer.Ausgangssignal_setzen(1, 1);
  layer.Befehle_ausfuehren();
  // The pen goes down one z step, stored by CR and run by the execute byte.
  layer.Ausgangssignal_setzen(122, 1);
  layer.Befehle_ausfuehren();
  // Outputs the module does not have are not passed on.
  layer.Ausgangssignal_setzen(10, 1);
  layer.Ausgangssignal_setzen(76, 0);
  EXPECT_EQ(sim->received(), cr("A1") + exec("") + cr("L0,z1") + exec(""));
  EXPECT_EQ(sim->positions()[2], 1);
  EXPECT_TRUE(ui.messageBoxes().empty());

  // A jog and its wait for idle; the stop request ends it with the stop code.
  sim->clearLog();
  layer.Endgeschwindigkeit_einstellen(8, 600);
  layer.Vektorfahrt_ausfuehren(1, 8, 0, -14, 0, 1);
  EXPECT_EQ(sim->received(), cr("#E8,600") + exec("L8,y-14"));
  EXPECT_FALSE(sim->moving());
  stop = true;
  EXPECT_EQ(thrownCode([&] { layer.Vektorfahrt_ausfuehren(1, 8, 1, 0, 0, 1); }), machine::USER_ABORT);
}

// A position the unit does not give is a failure, shown in the failure box (the drivers show
// none of their own for it), never a position of 0.
TEST_F(SyncCommandLayer, AnUnreadablePositionIsAFailureWithItsBox) {
  for (int modul : {2, 3}) {
    ASSERT_TRUE(connectAs(modul, modul == 2 ? kBerylKennung : kKyroKennung));
    sim->answerWith("@Lz", "");
    const int code = thrownCode([&] { layer.Position_abfragen('z'); });
    EXPECT_EQ(code, machine::WAIT_TIMEOUT) << modul;
    ui.clear();
    layer.Steuerungsfehler_melden(ui, code, "Tessaly");
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << modul;
    EXPECT_EQ(boxes[0].text, "WAIT_TIMEOUT");
    EXPECT_EQ(boxes[0].caption, "Tessaly");
  }
}

// A stop that stands when a move or homing run is about to be sent (pressed while the job stood
// between two moves) ends it before anything goes to the unit.
TEST_F(SyncCommandLayer, AStandingStopSendsNoMoveAndNoHomingRun) {
  for (int modul : {2, 3}) {
    ASSERT_TRUE(connectAs(modul, modul == 2 ? kBerylKennung : kKyroKennung));
    for (bool homing : {false, true}) {
      sim->clearLog();
      stop = true;
      const int code = thrownCode([&] {
        if (homing) {
          layer.Referenzfahrt_ausfuehren("z");
        } else {
          layer.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0, 1);
        }
      });
      EXPECT_EQ(code, machine::USER_ABORT) << modul << " homing " << homing;
      EXPECT_EQ(sim->received(), "") << modul << " homing " << homing;
      EXPECT_FALSE(stop.load());
    }
  }
}

}  // namespace
}  // namespace machinetest
