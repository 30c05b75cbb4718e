// The protocol driver's commands over the line: the exact bytes of each, the arguments refused
// before anything is sent, the answers each accepts, and the queries.
#include "ZelkoRig.h"
#include "machine/FailureCodes.h"

namespace machinetest {
namespace {

using machine::TzelkoCOM;

struct CommandCase {
  const char* name;
  std::function<void(TzelkoCOM&)> call;
  std::string bytes;
};

class ZelkoCommand : public ZelkoRig, public ::testing::WithParamInterface<CommandCase> {
 protected:
  void SetUp() override {
    sim.setMoveDuration(1ms);
    connect();
  }
};

TEST_P(ZelkoCommand, SendsItsExactBytesAndTakesTheAnswer) {
  GetParam().call(driver);
  if (driver.letzteAntwortBeginn() == kNak) driver.WaitResp(-1);
  EXPECT_EQ(driver.letzterBefehl(), GetParam().bytes);
  const std::string sent = GetParam().bytes.substr(0, GetParam().bytes.size() - 1);
  EXPECT_EQ(commandsAfterProbes(), (std::vector<std::string>{sent}));
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ZelkoCommand,
    ::testing::Values(
        CommandCase{"StartSpeedAtItsLimit", [](TzelkoCOM& d) { d.Startgeschwindigkeit_einstellen(128000); },
                    "#S128000\r"},
        CommandCase{"EndSpeed", [](TzelkoCOM& d) { d.Endgeschwindigkeit_einstellen(10, 4000); }, "#E10,4000\r"},
        CommandCase{"Ramp", [](TzelkoCOM& d) { d.Rampenlaenge_einstellen(60000); }, "#R60000\r"},
        CommandCase{"HomingSpeed", [](TzelkoCOM& d) { d.Referenzgeschwindigkeit_einstellen(800); }, "#E9,800\r"},
        CommandCase{"ReferenceOffset", [](TzelkoCOM& d) { d.Referenzoffset_einstellen('z', -120); }, "#Oz,-120\r"},
        CommandCase{"SignalKind", [](TzelkoCOM& d) { d.Ansteuersignale_einstellen(1); }, "T1\r"},
        CommandCase{"HalfStepNoCurrent", [](TzelkoCOM& d) { d.Halb_Vollschrittbetrieb_einstellen(0, 0); }, "FH0\r"},
        CommandCase{"FullStepSixtyPercent", [](TzelkoCOM& d) { d.Halb_Vollschrittbetrieb_einstellen(1, 2); }, "FV6\r"},
        CommandCase{"OutputThree", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(3, 1); }, "A3,1\r"},
        CommandCase{"OutputTwelve", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(12, 1); }, "A1,1\r"},
        CommandCase{"OutputThirteen", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(13, 0); }, "A2,0\r"},
        CommandCase{"OutputL", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(76, 1); }, "AL,1\r"},
        CommandCase{"OutputR", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(82, 0); }, "AR,0\r"},
        CommandCase{"Passes", [](TzelkoCOM& d) { d.Programmdurchlaeufe_hinterlegen(3); }, "#PD,3\r"},
        CommandCase{"LongestCommand", [](TzelkoCOM& d) { d.SendenUndWarten("#S" + std::string(124, '0') + "\r", 64); },
                    "#S" + std::string(124, '0') + "\r"},
        CommandCase{"MakerSetting", [](TzelkoCOM& d) { d.SendenUndWarten("c,z120\r", 64); }, "c,z120\r"},
        CommandCase{"Homing", [](TzelkoCOM& d) { d.Referenzfahrt_ausfuehren("zxy"); }, "$Hzxy\r"},
        CommandCase{"RelativeMove", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(1, 1, 400, 0, -25); },
                    "L1,x400,z-25\r"},
        CommandCase{"RelativeNothing", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(1, 2, 0, 0, 0); }, "L2,x0,y0,z0\r"},
        CommandCase{"AbsoluteMove", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(0, 2, 100, 99999, -5); },
                    "L2,X100,Z-5\r"},
        CommandCase{"AbsoluteNoAxis", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(0, 1, 99999, 99999, 99999); },
                    "L1\r"},
        CommandCase{"AbsoluteZero", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(0, 1, 0, 0, 0); }, "L1,X0,Y0,Z0\r"}),
    [](const auto& param) { return std::string(param.param.name); });

struct RefusalCase {
  const char* name;
  std::function<void(TzelkoCOM&)> call;
};

class ZelkoRefusal : public ZelkoRig, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ZelkoRefusal, IsOutOfRangeAndSendsNothing) {
  connect();
  EXPECT_EQ(codeOf([&] { GetParam().call(driver); }), machine::OUT_OF_RANGE);
  // The next command is the only one after the probe on the line.
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(commandsAfterProbes(), (std::vector<std::string>{"#S200"}));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ZelkoRefusal,
    ::testing::Values(
        RefusalCase{"StartSpeedAboveLimit", [](TzelkoCOM& d) { d.Startgeschwindigkeit_einstellen(128001); }},
        RefusalCase{"NegativeStartSpeed", [](TzelkoCOM& d) { d.Startgeschwindigkeit_einstellen(-1); }},
        RefusalCase{"SpeedIndexEleven", [](TzelkoCOM& d) { d.Endgeschwindigkeit_einstellen(11, 100); }},
        RefusalCase{"NegativeSpeedIndex", [](TzelkoCOM& d) { d.Endgeschwindigkeit_einstellen(-1, 100); }},
        RefusalCase{"EndSpeedAboveLimit", [](TzelkoCOM& d) { d.Endgeschwindigkeit_einstellen(1, 128001); }},
        RefusalCase{"RampBeyondSixteenBits", [](TzelkoCOM& d) { d.Rampenlaenge_einstellen(70000); }},
        RefusalCase{"RampAboveLimit", [](TzelkoCOM& d) { d.Rampenlaenge_einstellen(60001); }},
        RefusalCase{"HomingSpeedAboveLimit", [](TzelkoCOM& d) { d.Referenzgeschwindigkeit_einstellen(128001); }},
        RefusalCase{"SignalKindTwo", [](TzelkoCOM& d) { d.Ansteuersignale_einstellen(2); }},
        RefusalCase{"StepModeTwo", [](TzelkoCOM& d) { d.Halb_Vollschrittbetrieb_einstellen(2, 0); }},
        RefusalCase{"HoldingCurrentThree", [](TzelkoCOM& d) { d.Halb_Vollschrittbetrieb_einstellen(0, 3); }},
        RefusalCase{"OutputNine", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(9, 1); }},
        RefusalCase{"OutputModeTwo", [](TzelkoCOM& d) { d.Ausgangssignal_setzen(1, 2); }},
        RefusalCase{"QueryOfNoAxis", [](TzelkoCOM& d) { d.Wert_lesen('q'); }},
        RefusalCase{"OffsetOfNoAxis", [](TzelkoCOM& d) { d.Referenzoffset_einstellen('\r', 5); }},
        RefusalCase{"MoveSpeedIndexAboveAByte", [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(1, 256, 1, 0, 0); }},
        RefusalCase{"NegativePasses", [](TzelkoCOM& d) { d.Programmdurchlaeufe_hinterlegen(-1); }},
        RefusalCase{"CommandOf128Bytes", [](TzelkoCOM& d) { d.SendenUndWarten(std::string(127, 'c') + "\r", 64); }},
        RefusalCase{"HomingTextTooLong", [](TzelkoCOM& d) { d.Referenzfahrt_ausfuehren(std::string(125, 'x')); }}),
    [](const auto& param) { return std::string(param.param.name); });

struct AnswerCase {
  const char* name;
  std::string command;  // the command the fault answers
  std::string answer;
  std::function<void(TzelkoCOM&)> call;
  int expected;
};

class ZelkoAnswer : public ZelkoRig, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ZelkoAnswer, OfTheWrongKindGivesItsCodeAndTheLinkGoesOn) {
  connect();
  sim.addFault(peers::SimFault::wrong(GetParam().command, GetParam().answer));
  EXPECT_EQ(codeOf([&] { GetParam().call(driver); }), GetParam().expected);
  EXPECT_EQ(driver.letzteAntwort(), GetParam().answer);
  driver.Startgeschwindigkeit_einstellen(200);
}

const std::string kUnknown = std::string("E1") + kBel;

INSTANTIATE_TEST_SUITE_P(
    Answers, ZelkoAnswer,
    ::testing::Values(AnswerCase{"SignalKindUnknown", "T", kUnknown,
                                 [](TzelkoCOM& d) { d.Ansteuersignale_einstellen(0); }, 1021},
                      AnswerCase{"StepModeUnknown", "F", kUnknown,
                                 [](TzelkoCOM& d) { d.Halb_Vollschrittbetrieb_einstellen(1, 1); }, 1021},
                      AnswerCase{"SpeedUnknown", "#S", kUnknown,
                                 [](TzelkoCOM& d) { d.Startgeschwindigkeit_einstellen(5); }, machine::ACK_ERROR},
                      AnswerCase{"OutputWithoutAck", "A", std::string("X") + kAck,
                                 [](TzelkoCOM& d) { d.Ausgangssignal_setzen(1, 1); }, machine::ACK_ERROR},
                      AnswerCase{"MoveWithoutNak", "L", std::string(1, kAck),
                                 [](TzelkoCOM& d) { d.Vektorfahrt_ausfuehren(1, 1, 5, 0, 0); }, machine::NAK_ERROR},
                      AnswerCase{"HomingRefused", "$H", kUnknown, [](TzelkoCOM& d) { d.Referenzfahrt_ausfuehren("x"); },
                                 machine::NAK_ERROR},
                      AnswerCase{"ResetWrong", "@R", std::string("@RX") + kAck, [](TzelkoCOM& d) { d.Reset(); },
                                 machine::COMMUNICATION_ERROR},
                      AnswerCase{"StopWrong", "@S", std::string("@B") + kAck,
                                 [](TzelkoCOM& d) { d.Achsen_sofort_stoppen(); }, machine::COMMUNICATION_ERROR},
                      AnswerCase{"HaltWrong", "@B", std::string("@RS") + kAck,
                                 [](TzelkoCOM& d) { d.Achsen_anhalten(); }, machine::COMMUNICATION_ERROR},
                      AnswerCase{"VersionWrong", "@V", std::string("@X1") + kAck,
                                 [](TzelkoCOM& d) { d.Version_abfragen(); }, machine::COMMUNICATION_ERROR},
                      AnswerCase{"PositionWrong", "@Lx", std::string("@Ly 5") + kAck,
                                 [](TzelkoCOM& d) { d.Wert_lesen('x'); }, machine::COMMUNICATION_ERROR}),
    [](const auto& param) { return std::string(param.param.name); });

class ZelkoQuery : public ZelkoRig {
 protected:
  void SetUp() override {
    sim.setMoveDuration(1ms);
    connect();
  }
};

TEST_F(ZelkoQuery, PositionsAreReadAsNumbers) {
  driver.Vektorfahrt_ausfuehren(1, 2, -1234, 56, 0);
  driver.WaitResp(-1);
  EXPECT_EQ(driver.Wert_lesen('x'), -1234);
  EXPECT_EQ(driver.Wert_lesen('y'), 56);
  EXPECT_EQ(driver.Wert_lesen('z'), 0);
  EXPECT_EQ(driver.Wert_abfragen('y'), std::string("56") + kAck);
  EXPECT_EQ(driver.letzterBefehl(), "@Ly\r");
}

TEST_F(ZelkoQuery, TheVersionIsTheTextAfterItsHead) {
  EXPECT_EQ(driver.Version_abfragen(), std::string("Cobalt-Kyro V1.0") + kAck);
  EXPECT_EQ(driver.letzterBefehl(), "@V\r");
}

TEST_F(ZelkoQuery, AnInputIsSetWhenTheControllerAnswersOne) {
  EXPECT_FALSE(driver.Eingang_gesetzt('5'));
  sim.setInput('5', true);
  EXPECT_TRUE(driver.Eingang_gesetzt('5'));
  EXPECT_EQ(driver.letzterBefehl(), "@I5\r");
}

TEST_F(ZelkoQuery, ResetAndStopAreAnsweredOnThePriorityChannel) {
  driver.Reset();
  driver.Achsen_sofort_stoppen();
  driver.Achsen_anhalten();
  EXPECT_EQ(driver.letzteAntwort(), std::string("@B") + kAck);
  const auto log = sim.log();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const peers::SimLogEntry& e) { return e.channel == '@'; }), 6);
}

// The program memory's listing and erasures are answered by a series: every answer is kept for
// the takers however fast they come, an '@' command may go in between, and what is left of a
// series when the next command goes never passes for that command's answer.
TEST_F(ZelkoQuery, TheProgramMemoryAnswersComeAsASeries) {
  const std::string stx(1, '\x02');
  sim.storeProgram(2, {"C:/p.tvx 01.02.2013 08:00:00" + stx, 2, {"L1,X400", "L2,Y800", "A1,1"}});
  EXPECT_EQ(driver.SendenUndWarten("*PR2\r", 512), "*PR2\r");
  std::vector<std::string> listing;
  for (int i = 0; i < 6; ++i) {
    driver.WaitResp(64);
    listing.push_back(driver.letzteAntwort());
  }
  EXPECT_EQ(listing, (std::vector<std::string>{"C:/p.tvx 01.02.2013 08:00:00" + stx, "#PD,2\r", "L1,X400\r",
                                               "L2,Y800\r", "A1,1\r", std::string(1, kAck)}));
  // Nothing more comes: the wait runs out.
  EXPECT_EQ(codeOf([&] { driver.WaitResp(64); }), machine::WAIT_TIMEOUT);

  // Half a listing taken, then a setting: its own ACK is its answer. (The priority query
  // between them comes after the whole listing on the line, so the rest of it has arrived.)
  EXPECT_EQ(driver.SendenUndWarten("*PR2\r", 512), "*PR2\r");
  driver.WaitResp(64);
  EXPECT_EQ(driver.Version_abfragen(), std::string("Cobalt-Kyro V1.0") + kAck);
  EXPECT_EQ(driver.SendenUndWarten("#S100\r", 64), std::string(1, kAck));
  EXPECT_EQ(driver.SendenUndWarten("*FR2\r", 64), "*FR2 3,2\r");

  // The erasure's echo, a query on the priority channel, then the erasure's result.
  sim.setProgramMemory(4096, 100ms, 100ms);
  EXPECT_EQ(driver.SendenUndWarten("*PE2\r", 64), "*PE2\r");
  EXPECT_EQ(driver.Version_abfragen(), std::string("Cobalt-Kyro V1.0") + kAck);
  driver.WaitResp(3000);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
  EXPECT_FALSE(sim.program(2).has_value());
  EXPECT_EQ(driver.SendenUndWarten("*PR2\r", 512), std::string("E3") + kBel);
}

}  // namespace
}  // namespace machinetest
