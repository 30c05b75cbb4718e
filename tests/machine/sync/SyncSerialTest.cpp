// The Beryl and Kyro drivers against the simulated synchronous module: the exact bytes of
// settings, moves and outputs, the clamps and refusals, busy and idle, the one-second silence,
// identification, the homing run and a stop from another thread.
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "SyncRig.h"
#include "ThrownCode.h"
#include "machine/FailureCodes.h"

namespace machinetest {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct ByteCase {
  const char* name;
  std::function<void(machine::SyncSerialModule&)> call;
  std::string bytes;  // everything the unit received for the call
};

TEST_F(SyncRig, BerylSendsEachSettingAndOutputAsItsExactBytes) {
  const ByteCase cases[] = {
      {"start", [](auto& m) { m.Startgeschwindigkeit_einstellen(300); }, cr("#S300")},
      {"speed", [](auto& m) { m.Endgeschwindigkeit_einstellen(1, 400); }, cr("#E1,400")},
      {"speed 100", [](auto& m) { m.Endgeschwindigkeit_einstellen(100, 20); }, cr("#E100,20")},
      {"ramp", [](auto& m) { m.Rampenlaenge_einstellen(200); }, cr("#R200")},
      {"signal", [](auto& m) { m.Ansteuersignale_einstellen(1); }, cr("T1")},
      {"step mode", [](auto& m) { m.Schrittbetrieb_einstellen(0); }, cr("F0")},
      {"z mode", [](auto& m) { m.Z_Achse_einstellen(2); }, cr("Z2")},
      {"homing speed", [](auto& m) { m.ReferenzGeschwindigkeit_einstellen(400); }, cr("#E9,400")},
      {"homing axis", [](auto& m) { m.Referenzachse_einstellen('y', 0); }, cr("#Dy,0,9,9,9")},
      {"offset", [](auto& m) { m.Referenzoffset_einstellen('x', 40); }, cr("#Ox, 40")},
      {"output 1 on", [](auto& m) { m.Ausgangssignal_setzen(1, 1); }, cr("A1")},
      {"output 15 off", [](auto& m) { m.Ausgangssignal_setzen(15, 0); }, cr("A0")},
      {"output 17 on", [](auto& m) { m.Ausgangssignal_setzen(17, 1); }, cr("A0")},
      {"output 17 off", [](auto& m) { m.Ausgangssignal_setzen(17, 0); }, cr("A1")},
      {"u axis", [](auto& m) { m.U_Achse_einstellen(1); }, ""},
      {"reset", [](auto& m) { m.Reset_durchfuehren(); }, cr("@R")},
      {"stop", [](auto& m) { m.Achsen_anhalten(); }, cr("@B")},
      {"immediate stop", [](auto& m) { m.Achsen_sofort_stoppen(); }, cr("@S")},
      {"relative z", [](auto& m) { m.Vektorfahrt_ausfuehren(1, 8, 0, 0, -3, 1); }, exec("L8,z-3")},
      {"relative xy", [](auto& m) { m.Vektorfahrt_ausfuehren(1, 1, 5, -7, 0, 1); }, exec("L1,x5,y-7")},
      {"nothing to move", [](auto& m) { m.Vektorfahrt_ausfuehren(1, 1, 0, 0, 0, 1); }, ""},
      {"absolute", [](auto& m) { m.Vektorfahrt_ausfuehren(0, 0, 100, 99999, 5, 1); }, exec("L0,X100,Z5")},
      {"absolute zero", [](auto& m) { m.Vektorfahrt_ausfuehren(0, 2, 0, 0, 0, 1); }, exec("L2,X0,Y0,Z0")},
      {"stored only", [](auto& m) { m.Vektorfahrt_ausfuehren(1, 0, 0, 0, 1, 13); }, cr("L0,z1")},
      // Longer than any fixed command buffer would hold: sent whole.
      {"seven digits", [](auto& m) { m.Vektorfahrt_ausfuehren(1, 2, 1234567, -2345678, 3456789, 1); },
       exec("L2,x1234567,y-2345678,z3456789")},
  };
  auto& driver = beryl();
  for (const auto& c : cases) {
    sim->clearLog();
    c.call(driver);
    driver.Warten_bis_bereit();
    EXPECT_EQ(sim->received(), c.bytes) << c.name;
  }
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(SyncRig, KyroSendsItsOwnOutputsAndUAxisAndNoBerylSettings) {
  const ByteCase cases[] = {
      {"u on", [](auto& m) { m.U_Achse_einstellen(1); }, cr("U1")},
      {"u other", [](auto& m) { m.U_Achse_einstellen(7); }, cr("U1")},
      {"u off", [](auto& m) { m.U_Achse_einstellen(0); }, cr("U0")},
      {"output 1", [](auto& m) { m.Ausgangssignal_setzen(1, 1); }, cr("A1,1")},
      {"output 12", [](auto& m) { m.Ausgangssignal_setzen(12, 0); }, cr("A1,0")},
      {"output 13", [](auto& m) { m.Ausgangssignal_setzen(13, 1); }, cr("A2,1")},
      {"output 2", [](auto& m) { m.Ausgangssignal_setzen(2, 0); }, cr("A2,0")},
      {"output 3", [](auto& m) { m.Ausgangssignal_setzen(3, 1); }, cr("A3,1")},
      {"output 4", [](auto& m) { m.Ausgangssignal_setzen(4, 0); }, cr("A4,0")},
      {"speed 10", [](auto& m) { m.Endgeschwindigkeit_einstellen(10, 300); }, cr("#E10,300")},
      {"signal", [](auto& m) { m.Ansteuersignale_einstellen(1); }, ""},
      {"step mode", [](auto& m) { m.Schrittbetrieb_einstellen(1); }, ""},
      {"z mode", [](auto& m) { m.Z_Achse_einstellen(2); }, ""},
      {"homing axis", [](auto& m) { m.Referenzachse_einstellen('x', 0); }, ""},
      {"offset", [](auto& m) { m.Referenzoffset_einstellen('x', 40); }, ""},
      {"homing speed is only kept", [](auto& m) { m.Referenzgeschwindigkeit_einstellen(350); }, ""},
  };
  auto& driver = kyro();
  for (const auto& c : cases) {
    sim->clearLog();
    c.call(driver);
    EXPECT_EQ(sim->received(), c.bytes) << c.name;
  }
  EXPECT_EQ(driver.referenzgeschwindigkeit(), 350);
  EXPECT_TRUE(ui.messageBoxes().empty());
}

struct ClampCase {
  const char* name;
  bool kyro;
  std::function<void(machine::SyncSerialModule&)> call;
  std::string bytes;
  std::string box;
  std::string caption;
};

TEST_F(SyncRig, ValuesOutOfRangeAreClampedOrSkippedAfterABox) {
  const ClampCase cases[] = {
      {"start 6000", false, [](auto& m) { m.Startgeschwindigkeit_einstellen(6000); }, cr("#S5000"),
       "unzulässiger Wert für Startfreq", "Startgeschwindigkeit_einstellen()"},
      {"start 5000", false, [](auto& m) { m.Startgeschwindigkeit_einstellen(5000); }, cr("#S5000"), "", ""},
      {"speed 6000", false, [](auto& m) { m.Endgeschwindigkeit_einstellen(2, 6000); }, cr("#E2,5000"),
       "unzulässiger Wert für Arbeitsfreq", "Endgeschwindigkeit_einstellen()"},
      {"Beryl index 101", false, [](auto& m) { m.Endgeschwindigkeit_einstellen(101, 100); }, "",
       "unzulässiger Wert für index", "Endgeschwindigkeit_einstellen()"},
      {"Kyro index 11", true, [](auto& m) { m.Endgeschwindigkeit_einstellen(11, 100); }, "",
       "unzulässiger Wert für index", "Endgeschwindigkeit_einstellen()"},
      {"negative index", false, [](auto& m) { m.Endgeschwindigkeit_einstellen(-1, 100); }, "",
       "unzulässiger Wert für index", "Endgeschwindigkeit_einstellen()"},
      {"move index", true, [](auto& m) { m.Vektorfahrt_ausfuehren(1, 11, 1, 0, 0, 1); }, "",
       "unzulässiger Wert für index", "Vektorfahrt_ausfuehren()"},
      {"ramp", false, [](auto& m) { m.Rampenlaenge_einstellen(70000); }, cr("#R60000"),
       "unzulässiger Wert für Rampenlaenge", "Rampenlaenge_einstellen()"},
      {"Beryl homing speed", false, [](auto& m) { m.ReferenzGeschwindigkeit_einstellen(6000); }, cr("#E9,5000"),
       "unzulässiger Wert für RefFreq", "ReferenzGeschwindigkeit_einstellen()"},
      {"Kyro homing speed", true, [](auto& m) { m.Referenzgeschwindigkeit_einstellen(6000); }, "",
       "unzulässiger Wert für RefFreq", "Referenzgeschwindigkeit_einstellen()"},
      // Beryl answers a refused output number with the empty command, Kyro with nothing.
      {"Beryl output 3", false, [](auto& m) { m.Ausgangssignal_setzen(3, 1); }, cr(""), "Ausgangssignal_setzen()",
       "F E H L E R"},
      {"Kyro output 5", true, [](auto& m) { m.Ausgangssignal_setzen(5, 1); }, "", "Ausgangssignal_setzen()",
       "F E H L E R"},
  };
  auto& b = beryl();
  auto bSim = std::move(sim);
  auto& k = kyro();
  for (const auto& c : cases) {
    auto& unit = c.kyro ? *sim : *bSim;
    unit.clearLog();
    ui.clear();
    c.call(c.kyro ? static_cast<machine::SyncSerialModule&>(k) : b);
    EXPECT_EQ(unit.received(), c.bytes) << c.name;
    const auto boxes = ui.messageBoxes();
    if (c.box.empty()) {
      EXPECT_TRUE(boxes.empty()) << c.name;
    } else {
      ASSERT_EQ(boxes.size(), 1u) << c.name;
      EXPECT_EQ(boxes[0].text, c.box) << c.name;
      EXPECT_EQ(boxes[0].caption, c.caption) << c.name;
      EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning) << c.name;
    }
  }
  EXPECT_EQ(b.startfrequenz(), 5000);
  EXPECT_EQ(b.geschwindigkeit(2), 5000);
  EXPECT_EQ(k.referenzgeschwindigkeit(), 5000);
}

TEST_F(SyncRig, EtxMarksBusyAndStxIdleAndTheMoveIsAwaited) {
  auto& driver = beryl();
  sim->setMoveDuration(150ms);
  driver.Vektorfahrt_ausfuehren(1, 1, 100, 0, -20, 1);
  EXPECT_TRUE(driver.busy());
  EXPECT_EQ(driver.letzteAntwort(), "\x03\r");
  driver.Warten_bis_bereit();
  EXPECT_FALSE(driver.busy());
  EXPECT_EQ((sim->positions()), (peers::SyncSim::Positions{100, 0, -20, 0}));
  EXPECT_EQ(driver.Wert_abfragen('z'), -20);

  // Idle: the wait returns at once without a byte on the line.
  sim->clearLog();
  const auto start = Clock::now();
  driver.Warten_bis_bereit();
  EXPECT_LT(Clock::now() - start, 100ms);
  EXPECT_EQ(sim->received(), "");

  // Settings wait until a running move has ended before they go out.
  sim->setMoveDuration(150ms);
  driver.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0, 1);
  driver.Startgeschwindigkeit_einstellen(250);
  EXPECT_FALSE(sim->moving());
  EXPECT_EQ(sim->texts().back(), "#S250");
}

TEST_F(SyncRig, AnAnswerEndsAfterOneSecondWithoutAByte) {
  auto& driver = beryl();
  sim->setSilent(true);
  const auto start = Clock::now();
  EXPECT_EQ(driver.Antwort_lesen(), "");
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, 950ms);
  EXPECT_LT(waited, 3s);

  // Bytes that keep coming hold the answer open; the CR ends it.
  sim->setSilent(false);
  std::thread sender([this] {
    sim->sendRaw("ab");
    std::this_thread::sleep_for(600ms);
    sim->sendRaw("c\x02\r");
  });
  EXPECT_EQ(driver.Antwort_lesen(), "abc\x02\r");
  sender.join();
}

TEST_F(SyncRig, IdentificationNeedsTheModelString) {
  auto& driver = beryl();
  EXPECT_EQ(driver.Version_abfragen(), std::optional<std::string>(kBerylKennung));
  EXPECT_EQ(sim->received(), cr("@V"));

  attach("Korund-Berxl V2.4");
  ASSERT_TRUE(driver.Verbinden(kSyncPort));
  EXPECT_EQ(driver.Version_abfragen(), std::nullopt);

  // A Kyro on a Beryl's port is not a Beryl; the Kyro driver knows it.
  attach(kKyroKennung);
  ASSERT_TRUE(driver.Verbinden(kSyncPort));
  EXPECT_EQ(driver.Version_abfragen(), std::nullopt);
  machine::TKyro kyroOnLine(ui, gui, platform::systemClock());
  driver.Trennen();
  ASSERT_TRUE(kyroOnLine.Verbinden(kSyncPort));
  EXPECT_EQ(kyroOnLine.Version_abfragen(), std::optional<std::string>(kKyroKennung));
}

TEST_F(SyncRig, PositionQueryReadsTheDigitsOfTheAnswer) {
  auto& driver = beryl();
  sim->setPositions({-120, 4711, 0, 3});
  EXPECT_EQ(driver.Wert_abfragen('x'), -120);
  EXPECT_EQ(driver.Wert_abfragen('y'), 4711);
  EXPECT_EQ(sim->texts(), (std::vector<std::string>{"@Lx", "@Ly"}));
}

// A position that cannot be read is a failure, never 0: a relative move computed from it would
// miss its lift or overshoot.
TEST_F(SyncRig, APositionThatCannotBeReadIsAFailureNeverZero) {
  const struct {
    const char* name;
    std::string answer;  // what the unit answers to "@Lz"
    int code;            // -1: read
    int steps;
  } cases[] = {
      {"silence", "", machine::WAIT_TIMEOUT, 0},
      {"no end", "@Lz12", machine::WAIT_TIMEOUT, 0},
      {"another answer", "@V Korund-Beryl V2.4\r", machine::COMMUNICATION_ERROR, 0},
      {"another axis", "@Lx12\r", machine::COMMUNICATION_ERROR, 0},
      {"no number", "@Lz\r", machine::COMMUNICATION_ERROR, 0},
      {"junk after the number", "@Lz12abc\r", machine::COMMUNICATION_ERROR, 0},
      {"beyond the range", "@Lz99999999999\r", machine::COMMUNICATION_ERROR, 0},
      {"busy byte and blanks", "\x03@Lz -1500 \r", -1, -1500},
  };
  auto& driver = beryl();
  for (const auto& c : cases) {
    sim->answerWith("@Lz", c.answer);
    int steps = 0;
    EXPECT_EQ(thrownCode([&] { steps = driver.Wert_abfragen('z'); }), c.code) << c.name;
    EXPECT_EQ(steps, c.steps) << c.name;
  }
}

TEST_F(SyncRig, HomingRunsAtTheReferenceSpeedAndPutsTheWorkingSpeedBack) {
  auto& driver = beryl();
  driver.Endgeschwindigkeit_einstellen(1, 400);
  driver.ReferenzGeschwindigkeit_einstellen(300);
  sim->setPositions({10, 20, 30, 0});
  sim->clearLog();
  driver.Referenzfahrt_ausfuehren("zxy");
  EXPECT_FALSE(driver.busy());
  EXPECT_EQ(sim->received(), cr("#E1,300") + exec("$Hzxy") + cr("#E1,400"));
  EXPECT_EQ((sim->positions()), (peers::SyncSim::Positions{0, 0, 0, 0}));

  auto& k = kyro();
  k.Endgeschwindigkeit_einstellen(1, 500);
  k.Referenzgeschwindigkeit_einstellen(250);
  sim->clearLog();
  k.Referenzfahrt_ausfuehren("xy");
  EXPECT_EQ(sim->received(), cr("#E1,250") + exec("$Hxy") + cr("#E1,500"));
}

// A move of 30 s on another thread, which waits for its end; returns once the unit moves.
std::future<void> longMove(machine::TBeryl& driver, peers::SyncSim& sim) {
  sim.setMoveDuration(30s);
  auto moved = std::async(std::launch::async, [d = &driver] {
    d->Vektorfahrt_ausfuehren(1, 2, 4000, 0, 0, 1);
    d->Warten_bis_bereit();
  });
  EXPECT_TRUE(sim.waitForCommand("L2,x4000", 5s));
  EXPECT_TRUE(sim.waitForMotion(true, 5s));
  return moved;
}

TEST_F(SyncRig, AStopFromAnotherThreadReleasesTheWaitingMove) {
  auto& driver = beryl();
  auto moved = longMove(driver, *sim);
  ASSERT_FALSE(HasFailure());
  const auto start = Clock::now();
  driver.Achsen_anhalten();
  ASSERT_EQ(moved.wait_for(5s), std::future_status::ready);
  EXPECT_LT(Clock::now() - start, 3s);
  EXPECT_FALSE(driver.busy());
  // The stop was written before the wait was released; the unit reads it in its own time.
  EXPECT_TRUE(sim->waitForCommand("@B", 5s));
  EXPECT_TRUE(sim->waitForMotion(false, 5s));
}

TEST_F(SyncRig, AStopTheUnitHasNotYetTakenReleasesTheWaitAndGoesBeforeTheNextCommand) {
  // A unit that has not yet taken the stop's bytes when the stopped job sends its next command
  // (the outputs off) must still receive the stop, and before that command.
  auto& driver = beryl();
  auto moved = longMove(driver, *sim);
  ASSERT_FALSE(HasFailure());
  sim->clearLog();
  sim->holdInput(true);
  driver.Achsen_anhalten();
  ASSERT_EQ(moved.wait_for(5s), std::future_status::ready);
  driver.Ausgangssignal_setzen(1, 0);
  sim->holdInput(false);
  ASSERT_TRUE(sim->waitForCommand("A0", 5s));
  const auto texts = sim->texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "@B");
  EXPECT_TRUE(sim->waitForMotion(false, 5s));
}

// A stop that came after the caller's last check but before the write keeps an executed move or
// homing run off the line; a stored move and the settings still go, and the request is reported
// once.
TEST_F(SyncRig, AStandingStopRequestKeepsAMoveOrHomingRunOffTheLine) {
  auto& driver = beryl();
  std::atomic<bool> stop{false};
  driver.bindStopRequest(stop);
  driver.Endgeschwindigkeit_einstellen(1, 400);
  driver.ReferenzGeschwindigkeit_einstellen(300);
  sim->clearLog();
  stop = true;
  EXPECT_EQ(thrownCode([&] { driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0, 1); }), machine::USER_ABORT);
  EXPECT_FALSE(stop.load());
  EXPECT_EQ(sim->received(), "");

  stop = true;
  EXPECT_EQ(thrownCode([&] { driver.Referenzfahrt_ausfuehren("z"); }), machine::USER_ABORT);
  EXPECT_FALSE(stop.load());
  // The homing speed went into slot 1 and the working speed is back; no homing run was sent.
  EXPECT_EQ(sim->texts(), (std::vector<std::string>{"#E1,300", "#E1,400"}));

  sim->clearLog();
  stop = true;
  driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0, 13);
  EXPECT_TRUE(stop.load());
  stop = false;
  driver.Vektorfahrt_ausfuehren(1, 1, 0, 40, 0, 1);
  driver.Warten_bis_bereit();
  EXPECT_EQ(sim->received(), cr("L1,x40") + exec("L1,y40"));
}

TEST_F(SyncRig, OpeningDiscardsWaitingInputAndReportsAPortThatIsNotThere) {
  attach(kBerylKennung);
  sim->sendRaw(std::string(3000, '\x03') + "junk\r");
  machine::TBeryl driver(ui, gui, platform::systemClock());
  const auto start = Clock::now();
  ASSERT_TRUE(driver.Verbinden(kSyncPort));
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_EQ(driver.Version_abfragen(), std::optional<std::string>(kBerylKennung));

  ::setenv("VELTRIS_COM9", "/nonexistent/tty", 1);
  EXPECT_FALSE(driver.Verbinden(kSyncPort));
  EXPECT_FALSE(driver.offen());
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "COM9 kann nicht geöffnet werden!");
  EXPECT_EQ(boxes[0].caption, "Beryl Mikrocontroller-Unit");

  // A closed port sends nothing and never waits; it has no position.
  EXPECT_EQ(driver.Antwort_lesen(), "");
  EXPECT_EQ(thrownCode([&] { driver.Wert_abfragen('x'); }), machine::HANDLE_COM_PORT_ERROR);
  driver.Warten_bis_bereit();
  driver.Vektorfahrt_ausfuehren(1, 1, 1, 1, 1, 1);
  EXPECT_FALSE(driver.busy());
}

}  // namespace
}  // namespace machinetest
