// Moves over the line: NAK and the final answer, error and store-mode answers, the '@' channel
// during a move (halt, stop, queries), and answers that come late, in pieces, with noise or not
// at all, after which the link must go on in step.
#include <algorithm>
#include <atomic>
#include <functional>

#include "ZelkoRig.h"
#include "machine/FailureCodes.h"

namespace machinetest {
namespace {

using peers::SimFault;

const std::string kVersion = std::string("Cobalt-Kyro V1.0") + kAck;

class ZelkoMotion : public ZelkoRig {
 protected:
  void SetUp() override {
    sim.setMoveDuration(1ms);
    connect();
  }
};

TEST_F(ZelkoMotion, AMoveIsStartedByNakAndEndedByItsTracedFinalAck) {
  driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, -25);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kNak));
  driver.WaitResp(-1);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
  EXPECT_TRUE(traced("zelkoCOM->WaitResp() :: <ACK>"));
  EXPECT_EQ(sim.positions(), (peers::ZelkoSim::Positions{400, 0, -25, 0}));
}

class FinalErrorAnswer : public ZelkoMotion, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(FinalErrorAnswer, EndsTheMoveWithItsCode) {
  sim.addFault(SimFault::error("L", GetParam().first).onFinalAnswer());
  driver.Vektorfahrt_ausfuehren(1, 1, 10, 0, 0);
  EXPECT_EQ(codeOf([&] { driver.WaitResp(-1); }), GetParam().second);
  EXPECT_TRUE(traced("zelkoCOM->WaitResp() :: E" + std::to_string(GetParam().first) + "<BEL>"));
  driver.Startgeschwindigkeit_einstellen(200);
}

INSTANTIATE_TEST_SUITE_P(Codes, FinalErrorAnswer,
                         ::testing::Values(std::pair{1, 1021}, std::pair{7, 1027}, std::pair{99, 1119}));

struct StoreCase {
  bool driverStores;
  bool controllerStores;
  std::optional<int> expected;
  // What the controller receives: a motion it runs instead of recording it is stopped at once.
  std::vector<std::string> commands;
};

class StoreMode : public ZelkoMotion, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreMode, DecidesWhichAnswerStartsAMoveAndStopsOneThatShouldHaveBeenRecorded) {
  // Long enough that a motion nobody stops would hold the line past every wait for it.
  sim.setMoveDuration(30s);
  driver.Speichermodus_setzen(GetParam().driverStores);
  sim.setStoreMode(GetParam().controllerStores);
  EXPECT_EQ(codeOf([&] { driver.Vektorfahrt_ausfuehren(0, 1, 100, 99999, 99999); }), GetParam().expected);
  EXPECT_FALSE(sim.moving());
  EXPECT_EQ(codeOf([&] { driver.Referenzfahrt_ausfuehren("x"); }), GetParam().expected);
  EXPECT_FALSE(sim.moving());
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
  const auto commands = sim.commands();
  const auto move = std::find(commands.begin(), commands.end(), "L1,X100");
  EXPECT_EQ(std::vector<std::string>(move, commands.end()), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StoreMode,
    ::testing::Values(StoreCase{true, true, std::nullopt, {"L1,X100", "$Hx", "#S200"}},
                      StoreCase{true, false, machine::ACK_ERROR, {"L1,X100", "@B", "$Hx", "@B", "#S200"}},
                      StoreCase{false, true, machine::NAK_ERROR, {"L1,X100", "$Hx", "#S200"}}));

// A stop that came after the caller's last check but before the write keeps a move or homing run
// off the line, once; settings and queries still go, and the line goes on in step.
TEST_F(ZelkoMotion, AStandingStopRequestKeepsAMoveOrHomingRunOffTheLine) {
  std::atomic<bool> stop{false};
  driver.bindStopRequest(stop);
  const auto before = sim.commands().size();
  for (const auto& motion : std::vector<std::function<void()>>{[&] { driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0); },
                                                               [&] { driver.Referenzfahrt_ausfuehren("z"); }}) {
    stop = true;
    EXPECT_EQ(codeOf(motion), machine::USER_ABORT);
    EXPECT_FALSE(stop.load());
  }
  EXPECT_EQ(sim.commands().size(), before);
  stop = true;
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.Version_abfragen(), kVersion);
  EXPECT_TRUE(stop.load());
  stop = false;
  driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0);
  driver.WaitResp(-1);
  EXPECT_EQ(sim.positions()[0], 40);
}

TEST_F(ZelkoMotion, AHaltDuringAMoveIsAnsweredAndTheFinalAckStillEndsIt) {
  startLongMove();
  auto finalAnswer = onWorker([&] { driver.WaitResp(-1); });
  driver.Achsen_anhalten();
  ASSERT_EQ(finalAnswer.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(finalAnswer.get(), std::nullopt);
  EXPECT_TRUE(traced("zelkoCOM->WaitResp() :: <ACK>"));
  EXPECT_FALSE(sim.moving());
  driver.Startgeschwindigkeit_einstellen(200);
}

TEST_F(ZelkoMotion, AStopDuringAMoveEndsItsWaitWithoutAFinalAnswer) {
  startLongMove();
  auto finalAnswer = onWorker([&] { driver.WaitResp(-1); });
  driver.Achsen_sofort_stoppen();
  ASSERT_EQ(finalAnswer.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(finalAnswer.get(), std::nullopt);
  EXPECT_TRUE(traced("zelkoCOM->WaitResp() :: !"));
  EXPECT_FALSE(sim.moving());
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
}

TEST_F(ZelkoMotion, QueriesAreAnsweredDuringAMoveWhileNormalCommandsWaitForItsEnd) {
  startLongMove();
  auto finalAnswer = onWorker([&] { driver.WaitResp(-1); });
  EXPECT_EQ(driver.Version_abfragen(), kVersion);
  EXPECT_EQ(driver.Wert_lesen('x'), 0);

  auto setting = onWorker([&] { driver.Startgeschwindigkeit_einstellen(300); });
  EXPECT_FALSE(sim.waitForCommand("#S300", 100ms));
  driver.Achsen_anhalten();
  ASSERT_EQ(finalAnswer.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(finalAnswer.get(), std::nullopt);
  ASSERT_EQ(setting.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(setting.get(), std::nullopt);
  const auto commands = sim.commands();
  EXPECT_EQ(std::vector<std::string>(commands.end() - 2, commands.end()), (std::vector<std::string>{"@B", "#S300"}));
}

struct FaultCase {
  const char* name;
  SimFault fault;
  std::function<void(machine::TzelkoCOM&)> call;
  int expected;
  std::string dropped;  // the late answer, as the receiver traces it when it drops it
};

class FaultThenRecovery : public ZelkoMotion, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultThenRecovery, GivesItsCodeAndBothChannelsWorkAfterIt) {
  const FaultCase& c = GetParam();
  sim.addFault(c.fault);
  EXPECT_EQ(codeOf([&] { c.call(driver); }), c.expected);
  // A late answer is dropped when it comes, not taken for the next command's.
  if (!c.dropped.empty()) {
    ASSERT_TRUE(waitForTrace("TzelkoCOM_thread :: Antwort verworfen: " + c.dropped));
  }
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
  EXPECT_EQ(driver.Version_abfragen(), kVersion);
  driver.Startgeschwindigkeit_einstellen(300);
}

const auto kSetSpeed = [](machine::TzelkoCOM& d) { d.Startgeschwindigkeit_einstellen(100); };
const auto kAskVersion = [](machine::TzelkoCOM& d) { d.Version_abfragen(); };

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultThenRecovery,
    ::testing::Values(FaultCase{"SilentSetting", SimFault::silence("#S"), kSetSpeed, machine::WAIT_TIMEOUT, ""},
                      FaultCase{"LateSetting", SimFault::late("#S", 150ms), kSetSpeed, machine::WAIT_TIMEOUT, "<ACK>"},
                      FaultCase{"SilentQuery", SimFault::silence("@V"), kAskVersion, machine::WAIT_TIMEOUT, ""},
                      FaultCase{"LateQuery", SimFault::late("@V", 150ms), kAskVersion, machine::WAIT_TIMEOUT,
                                "@V Cobalt-Kyro V1.0<ACK>"},
                      FaultCase{"NoisyAnswer", SimFault::noise("#S", "zz"), kSetSpeed, machine::ACK_ERROR, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ZelkoMotion, ALatePositionIsNeverTakenForTheNextQuery) {
  driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0);
  driver.WaitResp(-1);
  sim.addFault(SimFault::late("@Lx", 100ms));
  EXPECT_EQ(codeOf([&] { driver.Wert_lesen('x'); }), machine::WAIT_TIMEOUT);
  ASSERT_TRUE(waitForTrace("TzelkoCOM_thread :: Antwort verworfen: @Lx 400<ACK>"));
  driver.Vektorfahrt_ausfuehren(1, 1, 100, 0, 0);
  driver.WaitResp(-1);
  EXPECT_EQ(driver.Wert_lesen('x'), 500);
}

TEST_F(ZelkoMotion, AnAnswerInDelayedPiecesIsAssembled) {
  sim.addFault(SimFault::split("@V", 4, 2ms));
  EXPECT_EQ(driver.Version_abfragen(), kVersion);
  sim.addFault(SimFault::split("T", 3, 2ms, std::string("E1") + kBel));
  EXPECT_EQ(codeOf([&] { driver.Ansteuersignale_einstellen(1); }), 1021);
}

TEST_F(ZelkoMotion, BytesNobodyAskedForCostAtMostTheCommandTheyRunInto) {
  // Bytes still on their way through the terminal when a command goes out can pass for the start
  // of its answer; the commands after it must get their own answers.
  for (const char* noise : {"\xAB\xAB", "zz\r"}) {
    sim.sendRaw(noise);
    const auto first = codeOf([&] { driver.Startgeschwindigkeit_einstellen(200); });
    EXPECT_TRUE(!first || *first == machine::ACK_ERROR) << *first;
    EXPECT_EQ(driver.Version_abfragen(), kVersion);
    driver.Startgeschwindigkeit_einstellen(300);
    EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
  }
}

}  // namespace
}  // namespace machinetest
