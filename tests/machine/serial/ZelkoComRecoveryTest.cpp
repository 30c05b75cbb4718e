// One bad answer never kills the link: after a wrong, noisy, late, split or unwanted answer, or a
// controller that falls silent after a stop, the failing call reports its code and both channels
// go on in step: a setting, a query, a move and another setting all get their own answers.
#include "ZelkoRig.h"
#include "machine/FailureCodes.h"

namespace machinetest {
namespace {

using peers::SimFault;

const std::string kNakText(1, kNak);
const std::string kAckText(1, kAck);

// What a case may use of the fixture.
struct Line {
  machine::TzelkoCOM& driver;
  peers::ZelkoSim& sim;
  std::function<bool(const std::string&)> waitForTrace;
};

struct BadAnswerCase {
  const char* name;
  // Meets the fault; returns the code of the call that met it.
  std::function<std::optional<int>(Line&)> meet;
  std::optional<int> expected;
};

class BadAnswer : public ZelkoRig, public ::testing::WithParamInterface<BadAnswerCase> {
 protected:
  void SetUp() override {
    sim.setMoveDuration(1ms);
    connect();
  }
};

TEST_P(BadAnswer, ReportsItsCodeAndTheLinkGoesOnInStep) {
  Line line{driver, sim, [this](const std::string& l) { return waitForTrace(l); }};
  EXPECT_EQ(GetParam().meet(line), GetParam().expected);
  sim.setMoveDuration(1ms);

  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.letzteAntwort(), kAckText);
  EXPECT_EQ(driver.Version_abfragen(), "Cobalt-Kyro V1.0" + kAckText);
  const auto before = sim.positions();
  driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0);
  ASSERT_EQ(driver.letzteAntwortBeginn(), kNak);
  driver.WaitResp(-1);
  EXPECT_EQ(sim.positions()[0], before[0] + 40);
  EXPECT_EQ(driver.Wert_lesen('x'), before[0] + 40);
  driver.Rampenlaenge_einstellen(100);
  EXPECT_EQ(driver.letzteAntwort(), kAckText);
  EXPECT_EQ(sim.commands().back(), "#R100");
}

const auto kMove = [](Line& l) { return codeOf([&] { l.driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0); }); };

INSTANTIATE_TEST_SUITE_P(
    Faults, BadAnswer,
    ::testing::Values(BadAnswerCase{"NakToASetting",
                                    [](Line& l) {
                                      // The NAK starts a motion all the same; the next command waits for its
                                      // final answer instead of taking it for its own.
                                      l.sim.addFault(SimFault::motion("#S", 100ms));
                                      return codeOf([&] { l.driver.Startgeschwindigkeit_einstellen(100); });
                                    },
                                    machine::ACK_ERROR},
                      BadAnswerCase{"NoiseBeforeAMovesNak",
                                    [](Line& l) {
                                      // The move runs all the same; its final answer is nobody's.
                                      l.sim.addFault(SimFault::noise("L", std::string(1, '\0')));
                                      return kMove(l);
                                    },
                                    machine::NAK_ERROR},
                      BadAnswerCase{"AMovesNakTooLate",
                                    [](Line& l) {
                                      l.sim.setMoveDuration(300ms);
                                      l.sim.addFault(SimFault::late("L", 100ms));
                                      const auto code = kMove(l);
                                      // The late NAK is dropped when it comes, and the move's final answer with it.
                                      EXPECT_TRUE(l.waitForTrace("TzelkoCOM_thread :: Antwort verworfen: <NAK>"));
                                      return code;
                                    },
                                    machine::WAIT_TIMEOUT},
                      // The setting right after a move that timed out waits until it is known whether
                      // the move started: a late NAK and its final answer, or a late refusal.
                      BadAnswerCase{"AMovesNakTooLateThenASettingAtOnce",
                                    [](Line& l) {
                                      l.sim.setMoveDuration(300ms);
                                      l.sim.addFault(SimFault::late("L", 100ms));
                                      return kMove(l);
                                    },
                                    machine::WAIT_TIMEOUT},
                      BadAnswerCase{"AHomingRunsNakTooLateThenASettingAtOnce",
                                    [](Line& l) {
                                      l.sim.setMoveDuration(300ms);
                                      l.sim.addFault(SimFault::late("$H", 100ms));
                                      return codeOf([&] { l.driver.Referenzfahrt_ausfuehren("x"); });
                                    },
                                    machine::WAIT_TIMEOUT},
                      BadAnswerCase{"AHomingRunRefusedTooLateThenASettingAtOnce",
                                    [](Line& l) {
                                      // "$Hq" names no axis: the controller refuses it with E1, late.
                                      l.sim.addFault(SimFault::late("$H", 100ms));
                                      return codeOf([&] { l.driver.Referenzfahrt_ausfuehren("q"); });
                                    },
                                    machine::WAIT_TIMEOUT},
                      BadAnswerCase{
                          "AMoveNeverAnswered",
                          [](Line& l) {
                            // The move's answers are lost: the command after it waits its whole send
                            // time in vain and fails, and the one after that goes at once.
                            l.sim.setSilent(true);
                            const auto code = kMove(l);
                            l.sim.setSilent(false);
                            EXPECT_EQ(codeOf([&] { l.driver.Rampenlaenge_einstellen(100); }), machine::WAIT_TIMEOUT);
                            EXPECT_TRUE(l.waitForTrace("TzelkoCOM_thread :: Antwort der Fahrt nicht erhalten"));
                            EXPECT_FALSE(l.sim.waitForCommand("#R100", 0ms));
                            return code;
                          },
                          machine::WAIT_TIMEOUT},
                      BadAnswerCase{"AFinalAckNobodyWaitsFor",
                                    [](Line& l) {
                                      const auto code = kMove(l);
                                      EXPECT_TRUE(l.sim.waitForAnswer(kAckText, kPatience));
                                      return code;
                                    },
                                    std::nullopt},
                      BadAnswerCase{"AnAckNobodyAskedFor",
                                    [](Line& l) {
                                      l.sim.sendRaw(kAckText);
                                      return std::optional<int>();
                                    },
                                    std::nullopt},
                      BadAnswerCase{"ASplitPositionAnswer",
                                    [](Line& l) {
                                      l.sim.addFault(SimFault::split("@Lx", 3, 2ms));
                                      EXPECT_EQ(l.driver.Wert_lesen('x'), 0);
                                      return std::optional<int>();
                                    },
                                    std::nullopt},
                      BadAnswerCase{"APositionAnswerSplitBeyondItsWait",
                                    [](Line& l) {
                                      // The rest comes after the query gave up, and must not pass for the
                                      // setting's answer that follows at once.
                                      l.sim.addFault(SimFault::split("@Lx", 2, 80ms));
                                      return codeOf([&] { l.driver.Wert_lesen('x'); });
                                    },
                                    machine::WAIT_TIMEOUT}),
    [](const auto& param) { return std::string(param.param.name); });

// A controller that falls silent during a move while a stop is sent: the stop reports that it was
// not answered, the move's wait ends once the stop's bound has run out, the link is closed, and a
// reconnect brings everything back.
TEST_F(BadAnswer, AControllerSilentAfterAStopEndsTheMoveAndTheLink) {
  driver.setStopAnswerLimit(300ms);
  sim.setMoveDuration(60s);
  auto move = onWorker([&] {
    driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0);
    driver.WaitResp(-1);
  });
  ASSERT_TRUE(sim.waitForAnswer(kNakText, kPatience));
  sim.setSilent(true);
  EXPECT_EQ(codeOf([&] { driver.Achsen_anhalten(); }), machine::WAIT_TIMEOUT);
  ASSERT_EQ(move.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(move.get(), machine::WAIT_FAILED);
  EXPECT_FALSE(driver.linkOpen());
  EXPECT_TRUE(traced("zelkoCOM->WaitResp() :: keine Endantwort nach dem Anhalten"));
  // Another stop fails at once: there is no link to send it on.
  EXPECT_EQ(codeOf([&] { driver.Achsen_anhalten(); }), machine::HANDLE_COM_PORT_ERROR);

  sim.setSilent(false);
  sim.setMoveDuration(1ms);
  connect();
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.Version_abfragen(), "Cobalt-Kyro V1.0" + kAckText);
  driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0);
  driver.WaitResp(-1);
  driver.Rampenlaenge_einstellen(100);
  EXPECT_EQ(driver.letzteAntwort(), kAckText);
}

// A stopped move decelerates along its ramp before its final answer comes: a controller still
// within ramp and bound is not taken for silent, one beyond both still is.
TEST_F(BadAnswer, AStopIsAwaitedForTheRampLengthAndThenItsBound) {
  driver.setStopAnswerLimit(300ms);
  driver.Rampenlaenge_einstellen(1000);
  sim.setMoveDuration(60s);
  int moves = 0;
  for (const auto& [rampDown, expected] :
       {std::pair{800ms, std::optional<int>()}, std::pair{2500ms, std::optional<int>(machine::WAIT_FAILED)}}) {
    sim.setStopDuration(rampDown);
    auto move = onWorker([&] {
      driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0);
      driver.WaitResp(-1);
    });
    ASSERT_TRUE(sim.waitForAnswer(kNakText, kPatience, ++moves));
    EXPECT_EQ(codeOf([&] { driver.Achsen_anhalten(); }), std::nullopt);
    ASSERT_EQ(move.wait_for(kPatience), std::future_status::ready) << rampDown.count();
    EXPECT_EQ(move.get(), expected) << rampDown.count();
    EXPECT_EQ(driver.linkOpen(), !expected.has_value()) << rampDown.count();
  }
}

// A stop sent after a move's final answer has come, but before the thread that started the move
// waits for it, leaves that answer to it.
TEST_F(BadAnswer, AStopLeavesAFinalAnswerThatCameToTheMovesThread) {
  driver.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0);
  ASSERT_TRUE(sim.waitForAnswer(kAckText, kPatience));
  driver.Achsen_anhalten();
  EXPECT_EQ(codeOf([&] { driver.WaitResp(-1); }), std::nullopt);
  EXPECT_EQ(driver.letzteAntwort(), kAckText);
}

// A '@B' answer taken on the GUI thread between a move's NAK and its check must not be taken for
// the move's answer.
TEST_F(BadAnswer, EachChannelChecksTheAnswerItTook) {
  sim.setMoveDuration(200ms);
  for (int i = 0; i < 20; ++i) {
    auto move = onWorker([&] {
      driver.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0);
      driver.WaitResp(-1);
    });
    ASSERT_TRUE(sim.waitForCommand("L1,x1", kPatience, i + 1));
    driver.Achsen_anhalten();
    ASSERT_EQ(move.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(move.get(), std::nullopt) << i;
  }
}

}  // namespace
}  // namespace machinetest
