// Command files streamed over the line: the real command layer and protocol driver, connected
// through the real back-end factory, send the lines to the simulated controller; its log shows
// what arrived and when. The stop, the controller's error answers and the lines the driver cannot
// take end the stream, and a whole run that ends so never looks like one that completed.
#include <algorithm>
#include <atomic>

#include "ZelkoJobRig.h"
#include "formats/KdfModule.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/MainFormState.h"
#include "panel/MillingRun.h"
#include "support/QueueDispatcher.h"
#include "support/RecordingCanvas.h"

namespace machinetest {
namespace {

class KdfStream : public ZelkoJobRig {
 protected:
  KdfStream() {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(connectLayer());
    before_ = sim.commands().size();
  }

  // Streams the lines; the failure code it ended with, nullopt when it ran to the end.
  std::optional<int> stream(const std::vector<std::string>& lines) {
    formats::KdfStream s{lines, layer, motion, {}, [this](const std::string& text) { warnings.push_back(text); }};
    return codeOf([&] { formats::TKDFDataModule::KDF_Senden(s); });
  }

  // The commands the controller received from the stream.
  std::vector<std::string> streamed() const {
    const auto all = sim.commands();
    return {all.begin() + static_cast<long>(before_), all.end()};
  }

  std::vector<std::string> warnings;

 private:
  std::size_t before_ = 0;
};

TEST_F(KdfStream, SendsEveryCommandLineAsItStandsAndSkipsTheRest) {
  const std::vector<std::string> lines{"' Kommentar", "/ auch einer", "",   "   ", "#S200  ",
                                       "A1,1",        "L1,x400,y-40", "@V", "T1"};
  EXPECT_EQ(stream(lines), std::nullopt);
  EXPECT_EQ(streamed(), (std::vector<std::string>{"#S200", "A1,1", "L1,x400,y-40", "@V", "T1"}));
  // The '@' line went over the priority channel, the others over the normal one.
  for (const peers::SimLogEntry& e : sim.log()) {
    if (e.kind != peers::SimLogEntry::Kind::Command) continue;
    if (e.text == "@V") {
      EXPECT_EQ(e.channel, '@');
    }
    if (e.text == "T1") {
      EXPECT_EQ(e.channel, 'N');
    }
  }
  EXPECT_EQ(sim.positions()[0], 400);
  EXPECT_EQ(sim.positions()[1], -40);
  EXPECT_TRUE(warnings.empty());
}

struct MotionLine {
  const char* name;
  std::string line;
  std::optional<peers::SimFault> fault;  // how the controller takes the line; none: as a move
  friend std::ostream& operator<<(std::ostream& os, const MotionLine& c) { return os << c.name; }
};

class KdfMotionLine : public KdfStream, public ::testing::WithParamInterface<MotionLine> {};

// A line answered with NAK has started a motion, whatever kind of line it is: its final answer
// is awaited before the next line goes out.
TEST_P(KdfMotionLine, IsAwaitedToItsEndBeforeTheNextLine) {
  sim.setMoveDuration(150ms);
  if (GetParam().fault) sim.addFault(*GetParam().fault);
  EXPECT_EQ(stream({"#S200", GetParam().line, "A1,0"}), std::nullopt);
  EXPECT_EQ(streamed(), (std::vector<std::string>{"#S200", GetParam().line, "A1,0"}));
  EXPECT_TRUE(warnings.empty());
  const auto log = sim.log();
  const auto next = std::find_if(log.begin(), log.end(), [](const peers::SimLogEntry& e) {
    return e.kind == peers::SimLogEntry::Kind::Command && e.text == "A1,0";
  });
  ASSERT_NE(next, log.end());
  const auto nak = std::find_if(log.begin(), log.end(), [](const peers::SimLogEntry& e) {
    return e.kind == peers::SimLogEntry::Kind::Answer && e.text == std::string(1, kNak);
  });
  ASSERT_NE(nak, log.end());
  // The command after the motion comes only once the motion has run its time.
  EXPECT_GE(next->ms - nak->ms, 150.0);
  EXPECT_FALSE(sim.moving());
}

INSTANTIATE_TEST_SUITE_P(Lines, KdfMotionLine,
                         ::testing::Values(MotionLine{"AMove", "L1,x400", std::nullopt},
                                           MotionLine{"ALineOfAnotherKind", "P7,1",
                                                      peers::SimFault::motion("P7", 150ms)}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(KdfStream, AStopEndsTheStreamBeforeTheNextLine) {
  sim.setMoveDuration(60s);
  auto run = onWorker([this] {
    const std::vector<std::string> lines{"L1,x400", "A1,1"};
    formats::KdfStream s{lines, layer, motion};
    formats::TKDFDataModule::KDF_Senden(s);
  });
  ASSERT_TRUE(sim.waitForAnswer(std::string(1, kNak), kPatience));
  layer.Achsen_anhalten();
  ASSERT_EQ(run.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(run.get(), machine::USER_ABORT);
  EXPECT_FALSE(sim.moving());
  const auto sent = streamed();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "A1,1"), 0);
}

struct FailureCase {
  const char* name;
  std::vector<std::string> lines;
  int code;
  std::vector<std::string> sent;
  friend std::ostream& operator<<(std::ostream& os, const FailureCase& c) { return os << c.name; }
};

class KdfFailures : public KdfStream, public ::testing::WithParamInterface<FailureCase> {};

// A failure ends the stream with its code; nothing after it is sent.
TEST_P(KdfFailures, EndTheStream) {
  if (std::string(GetParam().name) == "ErrorAfterTheMove")
    sim.addFault([] {
      peers::SimFault f = peers::SimFault::error("L1", 4);
      f.finalAnswer = true;
      return f;
    }());
  EXPECT_EQ(stream(GetParam().lines), GetParam().code);
  EXPECT_EQ(streamed(), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KdfFailures,
    ::testing::Values(FailureCase{"ErrorAnswer", {"#S200", "QQ1", "A1,1"}, 1021, {"#S200", "QQ1"}},
                      FailureCase{"ErrorAfterTheMove", {"L1,x400", "A1,1"}, 1024, {"L1,x400"}},
                      FailureCase{
                          "LineTooLong", {"#S200", std::string(127, 'A'), "A1,1"}, machine::OUT_OF_RANGE, {"#S200"}}));

TEST_F(KdfStream, ALineTooLongIsShownWithItsNumber) {
  EXPECT_EQ(stream({"' 1", "#S200", std::string(130, 'A')}), machine::OUT_OF_RANGE);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            "Die Zeile 3 der Befehlsdatei hat 130 Zeichen; die Steuerung nimmt höchstens 126.\n"
            "Die Übertragung wurde abgebrochen.");
  // The longest line the driver takes goes out whole.
  EXPECT_EQ(stream({"#" + std::string(125, '1')}), std::nullopt);
  EXPECT_EQ(streamed().back(), "#" + std::string(125, '1'));
}

TEST_F(KdfStream, OtherControllerTypesSendNothing) {
  params.Modul = 10;
  EXPECT_EQ(stream({"#S200", "L1,x400"}), std::nullopt);
  EXPECT_TRUE(streamed().empty());
}

// A simulation never moves the machine, connected or not.
TEST_F(KdfStream, ASimulationSendsNothing) {
  const std::vector<std::string> lines{"#S200", "L1,x400"};
  formats::KdfStream s{lines, layer, motion};
  s.simulating = true;
  EXPECT_EQ(codeOf([&] { formats::TKDFDataModule::KDF_Senden(s); }), std::nullopt);
  EXPECT_TRUE(streamed().empty());
}

// The whole run of a command file: a stop asks the question after a stop; an error answer ends
// the run with its code, without the travel after machining and without the question.
class KdfRun : public KdfStream {
 protected:
  KdfRun() {
    form.Dokumenttyp = panel::DocumentKind::CommandFile;
    form.nachBearbeitungRadioGroup.ItemIndex = 1;
    // The outputs are the file's business: no check box switches them.
    form.SpindelmotorCheckBox.Checked = false;
    form.KuehlmittelpumpeCheckBox.Checked = false;
    form.AbsaugungCheckBox.Checked = false;
    params.xParkposition = 30.0;
    context.ask = [this](const std::string& text, const std::string&, platform::MsgButtons, platform::MsgIcon,
                         std::optional<platform::MsgResult>) {
      questions.push_back(text);
      sentAtQuestion = streamed();
      return platform::MsgResult::No;
    };
    context.formatRun = [this](panel::DocumentKind kind, double, double) {
      ASSERT_EQ(kind, panel::DocumentKind::CommandFile);
      // The moves before machining are quick; the stream's take as long as the test wants.
      sim.setMoveDuration(streamMoves);
      formats::KdfStream s{lines, layer, motion};
      formats::TKDFDataModule::KDF_Senden(s);
    };
  }

  panel::ObjectTypeTable types;
  panel::RunContext context{form, types, layer, motion};
  std::vector<std::string> lines;
  std::chrono::milliseconds streamMoves{1};
  std::vector<std::string> questions;
  std::vector<std::string> sentAtQuestion;
};

TEST_F(KdfRun, AnErrorAnswerEndsTheRunAsFailed) {
  lines = {"A1,1", "QQ1", "#S300"};
  EXPECT_EQ(panel::fraesenAusfuehren(context), 1021);
  EXPECT_TRUE(questions.empty());
  const auto sent = streamed();
  const auto error = std::find(sent.begin(), sent.end(), "QQ1");
  ASSERT_NE(error, sent.end());
  // After the error: no move (no travel after machining) and no further line of the file.
  EXPECT_EQ(std::count_if(error, sent.end(), [](const std::string& c) { return c[0] == 'L'; }), 0);
  EXPECT_EQ(std::count(error, sent.end(), "#S300"), 0);
  // The spindle the file switched on is off again, with the other outputs.
  for (const char* off : {"A1,0", "A2,0", "A3,0"}) EXPECT_EQ(std::count(error, sent.end(), off), 1) << off;
}

TEST_F(KdfRun, AStopAsksWhetherToTravelAfterMachining) {
  streamMoves = 60s;
  lines = {"L1,x400", "#S300"};
  auto run = onWorker([&] { EXPECT_EQ(panel::fraesenAusfuehren(context), 0); });
  ASSERT_TRUE(sim.waitForCommand("L1,x400", kPatience));
  layer.Achsen_anhalten();
  ASSERT_EQ(run.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(run.get(), std::nullopt);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], panel::abbruchFrage(1));
  const auto sent = streamed();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "#S300"), 0);
}

// A stop during the file's last line is a stop too: nothing moves after the stopped line (no
// homing run, no travel after machining) before the question has been answered, and every output
// is off by then, also one the file itself switched on.
TEST_F(KdfRun, AStopDuringTheLastLineAsksBeforeAnythingMoves) {
  streamMoves = 60s;
  lines = {"A1,1", "L1,x4000"};
  for (int nachBearbeitung : {0, 1, 2}) {
    form.nachBearbeitungRadioGroup.ItemIndex = nachBearbeitung;
    questions.clear();
    sentAtQuestion.clear();
    const std::size_t before = streamed().size();
    auto run = onWorker([&] { EXPECT_EQ(panel::fraesenAusfuehren(context), 0); });
    ASSERT_TRUE(sim.waitForCommand("L1,x4000", kPatience, nachBearbeitung + 1));
    layer.Achsen_anhalten();
    ASSERT_EQ(run.wait_for(kPatience), std::future_status::ready) << nachBearbeitung;
    EXPECT_EQ(run.get(), std::nullopt) << nachBearbeitung;
    ASSERT_EQ(questions, std::vector<std::string>{panel::abbruchFrage(nachBearbeitung)}) << nachBearbeitung;
    ASSERT_GT(sentAtQuestion.size(), before);
    const auto line = std::find(sentAtQuestion.begin() + static_cast<long>(before), sentAtQuestion.end(), "L1,x4000");
    ASSERT_NE(line, sentAtQuestion.end()) << nachBearbeitung;
    EXPECT_EQ(
        std::count_if(line + 1, sentAtQuestion.end(), [](const std::string& c) { return c[0] == 'L' || c[0] == '$'; }),
        0)
        << nachBearbeitung;
    // The spindle the file switched on is off before the question, with the other outputs.
    for (const char* off : {"A1,0", "A2,0", "A3,0"})
      EXPECT_EQ(std::count(line + 1, sentAtQuestion.end(), off), 1) << nachBearbeitung << " " << off;
    EXPECT_FALSE(sim.moving()) << nachBearbeitung;
  }
}

}  // namespace
}  // namespace machinetest
