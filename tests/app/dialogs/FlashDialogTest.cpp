// The program-memory dialog against the simulated controller's program memory: writing a job,
// the slots and their listing, erasing one slot and all of them, and the failures on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "FlashRig.h"
#include "machine/FailureCodes.h"

namespace apptest {
namespace {

const std::string kEtx(1, '\x03');
const std::string kStx(1, '\x02');

class RecordingView final : public app::TFlashDlgView {
 public:
  void showState() override { ++shown; }
  void closeDialog() override { ++closed; }
  int shown = 0;
  int closed = 0;
};

class FlashDialogTest : public FlashRig {
 protected:
  FlashDialogTest() {
    dlg.setView(&view);
    dlg.OnCreate();
  }

  // Shows the dialog as the menu command does and waits for its first operation.
  void open(bool alleLoeschen = false) {
    dlg.setAlleLoeschenModus(alleLoeschen);
    dlg.OnActivate();
    settle(dlg);
  }

  std::vector<std::string> logTexts() const {
    std::vector<std::string> texts;
    for (const auto& zeile : dlg.RichEdit) texts.push_back(zeile.Text);
    return texts;
  }

  bool logged(const std::string& text, platform::Colour farbe = app::kFarbeBefehl) const {
    return std::find(dlg.RichEdit.begin(), dlg.RichEdit.end(), app::LogZeile{text, farbe}) != dlg.RichEdit.end();
  }

  std::vector<platform::Colour> colours() const {
    std::vector<platform::Colour> out;
    for (const auto& button : dlg.SpeedButton) out.push_back(button.FontColour);
    return out;
  }

  // The bytes the controller received from the last occurrence of `from` on.
  std::string bytesFrom(const std::string& from) const {
    const std::string bytes = sim.receivedBytes();
    const auto at = bytes.rfind(from);
    return at == std::string::npos ? std::string() : bytes.substr(at);
  }

  // The commands the controller received from the last `from` on, without their CR.
  std::vector<std::string> commandsFrom(const std::string& from) const {
    const auto commands = sim.commands();
    const auto at = std::find(commands.rbegin(), commands.rend(), from);
    return at == commands.rend() ? std::vector<std::string>{} : std::vector<std::string>(at.base() - 1, commands.end());
  }

  std::string documentFile() {
    const auto path = folder.path() / "front@platte.tvx";
    std::ofstream(path) << "[Version 2.0]\r\n";
    return path.string();
  }

  std::atomic<bool> bAusgabe{false};
  RecordingView view;
  app::TFlashDlg dlg{app::FlashDlgServices{ui, gui, bAusgabe}, *this};
};

constexpr platform::Colour R = app::kFarbeBelegt;
constexpr platform::Colour G = app::kFarbeFrei;

TEST_F(FlashDialogTest, ATwoMoveJobIsWrittenIntoSlotThreeWithItsPassesHeaderAndAbsoluteMoves) {
  dokumentpfad = documentFile();
  open();
  EXPECT_TRUE(bAusgabe.load());
  job = [this] {
    // What the motion primitives send while the dialog is open: absolute targets, an axis that
    // stays given as 99999.
    recording = bAusgabe.load();
    layer.Vektorfahrt_ausfuehren(0, 2, 4000, 99999, 99999, 1);
    motion.cncLineTo(1, 5.0, 2.5, 1.0);
  };
  dlg.SpeedButtonClick(3);
  settle(dlg);
  dlg.DurchlaeufeEdit = "2";
  dlg.ProgrammSchreibenButtonClick();
  settle(dlg);

  const std::string header = app::ProgrammKopfErzeugen(dokumentpfad);
  ASSERT_GT(header.size(), 21u);
  EXPECT_EQ(header.find('@'), std::string::npos);
  EXPECT_EQ(vorbereitet, 1);
  // Erase first (an empty slot counts as erased), then the recording, ended by ETX; then the
  // seven slots are queried again.
  const std::string written =
      kEtx + "*PE3\r" + "*PW3\r" + header + "#PD,2\r" + "L2,X4000\r" + "L1,X2000,Y1000,Z400\r" + kEtx;
  EXPECT_EQ(bytesFrom(kEtx + "*PE3\r").substr(0, written.size()), written);
  EXPECT_EQ(bytesFrom("*FR1\r"), "*FR1\r*FR2\r*FR3\r*FR4\r*FR5\r*FR6\r*FR7\r");
  const auto stored = sim.program(3);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, (peers::ZelkoSim::StoredProgram{header, 2, {"L2,X4000", "L1,X2000,Y1000,Z400"}}));
  EXPECT_EQ(colours(), (std::vector<platform::Colour>{G, G, R, G, G, G, G}));

  EXPECT_EQ(logTexts().front(), "### Programm 3 schreiben! ###");
  EXPECT_TRUE(logged("...Programm löschen..."));
  EXPECT_TRUE(logged("*PW3<CR>"));
  EXPECT_TRUE(logged("<ACK>", app::kFarbeAntwort));
  EXPECT_TRUE(logged("...Durchlaufparameter: 2 ..."));
  EXPECT_TRUE(logged("...cncDaten übertragen..."));
  EXPECT_TRUE(logged("<ETX>"));
  EXPECT_EQ(logTexts().back(), "### Programm 3 schreiben - Ende ###");
  EXPECT_TRUE(ui.messageBoxes().empty());

  // Store mode is off again: the next move runs on the machine.
  const auto runsBefore = sim.positionHistory().size();
  layer.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0, 1);
  EXPECT_EQ(sim.positionHistory().size(), runsBefore + 1);
  // Run from the controller's memory, the job goes where it was told, twice.
  ASSERT_TRUE(sim.runProgram(3));
  const auto history = sim.positionHistory();
  const std::vector<peers::ZelkoSim::Positions> ran(history.end() - 4, history.end());
  EXPECT_EQ(ran, (std::vector<peers::ZelkoSim::Positions>{
                     {4000, 0, 0, 0}, {2000, 1000, 400, 0}, {4000, 1000, 400, 0}, {2000, 1000, 400, 0}}));
  dlg.OnClose();
  EXPECT_FALSE(bAusgabe.load());
}

TEST_F(FlashDialogTest, OpeningColoursTheSevenSlotsAndListsTheChosenOne) {
  sim.storeProgram(2, {"C:/a.tvx 01.02.2013 08:00:00" + kStx, 1, {"L1,X1"}});
  sim.storeProgram(5, {"D:/b.tvx 03.04.2014 09:10:11" + kStx, 3, {"A1,1", "L2,X4000,Y400"}});
  open();
  EXPECT_EQ(colours(), (std::vector<platform::Colour>{G, R, G, G, R, G, G}));
  // Slot 1 is listed first: the controller has nothing there.
  EXPECT_EQ(logTexts(),
            (std::vector<std::string>{"### Programm 1 lesen ###", "*PR1<CR>", "E3<BEL>",
                                      "### Der Programmspeicher ist leer ! ###", "### Programm 1 lesen - Ende ###"}));

  dlg.SpeedButtonClick(5);
  EXPECT_TRUE(dlg.busy());
  settle(dlg);
  EXPECT_EQ(dlg.slot(), 5);
  EXPECT_TRUE(dlg.SpeedButton[4].Down);
  EXPECT_FALSE(dlg.SpeedButton[0].Down);
  EXPECT_EQ(logTexts(), (std::vector<std::string>{"### Programm 5 lesen ###", "*PR5<CR>", "*PR5<CR>",
                                                  "D:/b.tvx 03.04.2014 09:10:11<STX>", "#PD,3<CR>", "A1,1<CR>",
                                                  "L2,X4000,Y400<CR>", "<ACK>", "### Programm 5 lesen - Ende ###"}));
  EXPECT_EQ(dlg.RichEdit[1].Farbe, app::kFarbeBefehl);
  EXPECT_EQ(dlg.RichEdit[2].Farbe, app::kFarbeAntwort);

  // "Programm auslesen" lists the chosen slot again, without querying the slots.
  const auto commandsBefore = sim.commands().size();
  dlg.ProgrammAuslesenButtonClick();
  settle(dlg);
  EXPECT_EQ(sim.commands().size(), commandsBefore + 1);
  EXPECT_EQ(logTexts().back(), "### Programm 5 lesen - Ende ###");
}

TEST_F(FlashDialogTest, ErasingOneSlotAsksFirst) {
  sim.storeProgram(2, {kStx, 1, {"L1,X1"}});
  open();
  dlg.SpeedButtonClick(2);
  settle(dlg);

  const auto commandsBefore = sim.commands().size();
  ui.pushAnswer(platform::MsgResult::No);
  dlg.ProgrammLoeschenButtonClick();
  EXPECT_FALSE(dlg.busy());
  EXPECT_EQ(logTexts(),
            (std::vector<std::string>{"### Programm 2 löschen ###", "### Programm 2 löschen - Abbruch ###"}));
  EXPECT_EQ(sim.commands().size(), commandsBefore);
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text, "Möchten Sie den Programmspeicherplatz wirklich löschen?\n");
  EXPECT_EQ(ui.messageBoxes()[0].caption, "Tessaly");
  EXPECT_EQ(ui.messageBoxes()[0].buttons, platform::MsgButtons::YesNo);
  // Return answers No.
  EXPECT_EQ(ui.messageBoxes()[0].defaultButton, platform::MsgResult::No);
  ui.pushReturn();
  dlg.ProgrammLoeschenButtonClick();
  EXPECT_FALSE(dlg.busy());
  EXPECT_EQ(sim.commands().size(), commandsBefore);
  EXPECT_TRUE(sim.program(2).has_value());

  ui.pushAnswer(platform::MsgResult::Yes);
  dlg.ProgrammLoeschenButtonClick();
  settle(dlg);
  EXPECT_FALSE(sim.program(2).has_value());
  EXPECT_EQ(logTexts(), (std::vector<std::string>{"### Programm 2 löschen ###", "<ETX>", "<ACK>", "*PE2<CR>",
                                                  "*PE2<CR>", "<ACK>", "### Programm 2 löschen - Ende ###"}));
  EXPECT_EQ(colours(), std::vector<platform::Colour>(7, G));

  // An empty slot is erased without a failure.
  ui.pushAnswer(platform::MsgResult::Yes);
  dlg.ProgrammLoeschenButtonClick();
  settle(dlg);
  EXPECT_TRUE(logged("### Der Programmspeicher ist leer ! ###"));
  EXPECT_EQ(logTexts().back(), "### Programm 2 löschen - Ende ###");
  EXPECT_EQ(ui.messageBoxes().size(), 4u);
}

TEST_F(FlashDialogTest, AWrongEchoToTheEraseCommandFailsWithABox) {
  open();
  sim.addFault(peers::SimFault::wrong("*PE1", "*PX1\r"));
  ui.pushAnswer(platform::MsgResult::Yes);
  dlg.ProgrammLoeschenButtonClick();
  settle(dlg);
  EXPECT_EQ(logTexts().back(), "### Programm 1 löschen - Fehler ###");
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "COMMUNICATION_ERROR");
  EXPECT_EQ(boxes[1].caption, "Tessaly");
  // The dialog stays usable.
  EXPECT_TRUE(dlg.ProgrammSchreibenButton.Enabled);
  EXPECT_TRUE(dlg.SchiessenBitBtn.Enabled);
}

TEST_F(FlashDialogTest, EraseAllAsksOnceErasesAndInEraseAllModeClosesAfterwards) {
  sim.storeProgram(1, {kStx, 1, {"L1,X1"}});
  sim.storeProgram(7, {kStx, 1, {"L1,X1"}});
  ui.pushAnswer(platform::MsgResult::Yes);
  open(true);
  EXPECT_EQ(sim.program(1), std::nullopt);
  EXPECT_EQ(sim.program(7), std::nullopt);
  EXPECT_EQ(logTexts(), (std::vector<std::string>{"### alle Programme löschen ###", "<ETX>", "<ACK>", "*PEa<CR>",
                                                  "*PEa<CR>", "<ACK>", "### alle Programme löschen - Ende ###"}));
  EXPECT_EQ(colours(), std::vector<platform::Colour>(7, G));
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text, "Möchten Sie wirklich den gesamten Festwertspeicher löschen?\n");
  // The timer closes the dialog once the command has ended.
  EXPECT_TRUE(dlg.CloseTimer.Enabled);
  dlg.CloseTimerTimer();
  EXPECT_EQ(view.closed, 1);
  EXPECT_FALSE(dlg.CloseTimer.Enabled);

  // Answered No, nothing is sent or logged, and the dialog still closes.
  dlg.OnClose();
  const auto commandsBefore = sim.commands().size();
  ui.pushAnswer(platform::MsgResult::No);
  dlg.OnActivate();
  EXPECT_FALSE(dlg.busy());
  EXPECT_EQ(sim.commands().size(), commandsBefore);
  EXPECT_TRUE(dlg.CloseTimer.Enabled);
  dlg.CloseTimerTimer();
  EXPECT_EQ(view.closed, 2);

  // So does Return, which answers No.
  dlg.OnClose();
  EXPECT_EQ(ui.messageBoxes()[0].defaultButton, platform::MsgResult::No);
  ui.pushReturn();
  dlg.OnActivate();
  EXPECT_FALSE(dlg.busy());
  EXPECT_EQ(sim.commands().size(), commandsBefore);
  dlg.CloseTimerTimer();
  EXPECT_EQ(view.closed, 3);
}

TEST_F(FlashDialogTest, TheTimerClosesNothingInNormalMode) {
  open();
  dlg.CloseTimerTimer();
  EXPECT_EQ(view.closed, 0);
}

// The erasure and the slot query after a write that failed once its job had begun.
const std::vector<std::string> kErneutGeloescht{kEtx, "*PE1", "*FR1", "*FR2", "*FR3", "*FR4", "*FR5", "*FR6", "*FR7"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(FlashDialogTest, AControllerErrorMidWriteEndsTheRecordingAndLeavesTheSlotEmpty) {
  // Room for one recorded command only: the second is refused with "memory full".
  sim.setProgramMemory(1, 5ms, 5ms);
  open();
  job = [this] {
    layer.Vektorfahrt_ausfuehren(0, 2, 4000, 99999, 99999, 1);
    layer.Vektorfahrt_ausfuehren(0, 2, 99999, 800, 99999, 1);
    ADD_FAILURE() << "the job went on after the refused move";
  };
  dlg.ProgrammSchreibenButtonClick();
  settle(dlg);
  EXPECT_EQ(logTexts().back(), "### Programm 1 schreiben - Fehler ###");
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ACK_ERROR");
  // The recording was ended with ETX right after the refused move; then, as after any failed
  // job, the axes were halted and the outputs switched off, and the slot erased once more.
  EXPECT_EQ(commandsFrom("L2,Y800"), joined({"L2,Y800", kEtx, "@B", "A1,0", "A2,0", "A3,0"}, kErneutGeloescht));
  EXPECT_FALSE(sim.program(1).has_value());
  // Store mode is off again.
  const auto runsBefore = sim.positionHistory().size();
  layer.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0, 1);
  EXPECT_EQ(sim.positionHistory().size(), runsBefore + 1);
  EXPECT_TRUE(dlg.SchiessenBitBtn.Enabled);
}

// A controller that does not record runs what it is given. A refused program-write or header
// ends the write before anything of the job goes out; a move that the controller starts is
// stopped at once, and once the recording is ended the outputs go off (the dialog does not know
// which ones the job's options switched on), all before the failure box waits for the user.
struct NotRecordingCase {
  const char* name;
  std::function<void(peers::ZelkoSim&)> controller;
  // The commands the controller receives from the one it refused or ran on.
  std::vector<std::string> received;
  const char* box;
};

class NotRecording : public FlashDialogTest, public ::testing::WithParamInterface<NotRecordingCase> {};

TEST_P(NotRecording, NothingOfTheJobRunsOnTheMachineOrItIsStoppedAndSwitchedOff) {
  const NotRecordingCase& c = GetParam();
  open();
  // Long enough that a move nobody stops would outlast the write.
  sim.setMoveDuration(30s);
  c.controller(sim);
  job = [this] {
    layer.Ausgangssignal_setzen(1, 1);
    layer.Ausgangssignal_setzen(3, 1);
    layer.Vektorfahrt_ausfuehren(0, 2, 4000, 99999, 99999, 1);
    ADD_FAILURE() << "the job went on after the move the controller ran";
  };
  dlg.ProgrammSchreibenButtonClick();
  std::vector<std::string> atTheBox;
  ASSERT_TRUE(gui.drainUntil([&] {
    if (atTheBox.empty() && !ui.messageBoxes().empty()) atTheBox = sim.commands();
    return !dlg.busy();
  }));

  EXPECT_EQ(commandsFrom(c.received.front()), c.received);
  EXPECT_EQ(atTheBox, sim.commands());
  EXPECT_FALSE(sim.moving());
  EXPECT_LT(sim.positions()[0], 4000);
  EXPECT_FALSE(sim.program(1).has_value());
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, c.box);
  EXPECT_EQ(logTexts().back(), "### Programm 1 schreiben - Fehler ###");
  // Store mode is off again.
  sim.setMoveDuration(1ms);
  const auto runsBefore = sim.positionHistory().size();
  layer.Vektorfahrt_ausfuehren(1, 1, 40, 0, 0, 1);
  EXPECT_EQ(sim.positionHistory().size(), runsBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, NotRecording,
    ::testing::Values(NotRecordingCase{"RefusesTheProgramWrite",
                                       [](peers::ZelkoSim& s) { s.addFault(peers::SimFault::error("*PW", 1)); },
                                       {"*PW1", kEtx},
                                       "### unbekannter Befehl ###"},
                      // The job has no document file: its header is STX alone.
                      NotRecordingCase{"RefusesTheHeader",
                                       [](peers::ZelkoSim& s) { s.addFault(peers::SimFault::error(kStx, 4)); },
                                       {kStx, kEtx},
                                       "### Speicherüberlauf ... ###"},
                      NotRecordingCase{"RunsTheJob", [](peers::ZelkoSim& s) { s.setNotRecording(true); },
                                       joined({"L2,X4000", "@B", kEtx, "@B", "A1,0", "A2,0", "A3,0"}, kErneutGeloescht),
                                       "ACK_ERROR"}),
    [](const ::testing::TestParamInfo<NotRecordingCase>& param) { return std::string(param.param.name); });

TEST_F(FlashDialogTest, APassCountThatIsNoPositiveNumberOnlyBeeps) {
  open();
  const auto commandsBefore = sim.commands().size();
  for (const char* text : {"0", "-1", "abc", ""}) {
    dlg.DurchlaeufeEdit = text;
    dlg.ProgrammSchreibenButtonClick();
    EXPECT_FALSE(dlg.busy()) << text;
    EXPECT_TRUE(dlg.ProgrammSchreibenButton.Enabled) << text;
  }
  EXPECT_EQ(sim.commands().size(), commandsBefore);
  ASSERT_EQ(ui.beeps().size(), 4u);
  EXPECT_EQ(ui.beeps()[0].hz, 440u);
  EXPECT_EQ(ui.beeps()[0].ms, 100u);
  EXPECT_EQ(vorbereitet, 0);
}

TEST_F(FlashDialogTest, TheDialogCannotCloseWhileAnOperationRuns) {
  sim.setProgramMemory(4096, 300ms, 300ms);
  open();
  dlg.ProgrammSchreibenButtonClick();
  EXPECT_TRUE(dlg.busy());
  EXPECT_FALSE(dlg.OnCloseQuery());
  EXPECT_FALSE(dlg.SchiessenBitBtn.Enabled);
  EXPECT_FALSE(dlg.SpeedButton[2].Enabled);
  dlg.SchiessenBitBtnClick();
  // Clicks while it runs start nothing.
  dlg.SpeedButtonClick(4);
  EXPECT_EQ(dlg.slot(), 1);
  settle(dlg);
  EXPECT_EQ(view.closed, 0);
  EXPECT_TRUE(dlg.OnCloseQuery());
  dlg.SchiessenBitBtnClick();
  EXPECT_EQ(view.closed, 1);
  // A job without a document file is written with STX alone as its header.
  ASSERT_TRUE(sim.program(1).has_value());
  EXPECT_EQ(sim.program(1)->header, kStx);
}

TEST_F(FlashDialogTest, WithoutALinkEveryOperationFailsWithABoxAndTheDialogStaysUsable) {
  backends.zelkoCOM->UnInit();
  open();
  EXPECT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_TRUE(dlg.ProgrammAuslesenButton.Enabled);
  dlg.ProgrammSchreibenButtonClick();
  settle(dlg);
  EXPECT_EQ(logTexts().back(), "### Programm 1 schreiben - Fehler ###");
  EXPECT_EQ(ui.messageBoxes().size(), 2u);
}

// The header names the document and its modification time; what the controller's listing would
// choke on is replaced, and a path too long for one command keeps its end.
TEST(ProgrammKopf, NamesTheDocumentFileAndItsTimeInOneCommand) {
  const testsupport::TempFolder folder;
  EXPECT_EQ(app::ProgrammKopfErzeugen(""), kStx);
  EXPECT_EQ(app::ProgrammKopfErzeugen((folder / "fehlt.tvx").string()), kStx);

  const auto write = [](const std::filesystem::path& path) {
    std::ofstream(path) << "[Version 2.0]\r\n";
    return path.string();
  };
  const std::string plain = write(folder / "Front@Platte\x01\u00e4.tvx");
  const std::string header = app::ProgrammKopfErzeugen(plain);
  const std::string expectedPath = folder.path().string() + "/Front_Platte_\xe4.tvx";
  ASSERT_EQ(header.size(), expectedPath.size() + 1 + 19 + 1);
  EXPECT_EQ(header.substr(0, expectedPath.size()), expectedPath);
  const std::string time = header.substr(expectedPath.size(), 20);
  EXPECT_TRUE(std::regex_match(time, std::regex(" [0-3][0-9]\\.[01][0-9]\\.[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]")))
      << time;
  EXPECT_EQ(header.back(), '\x02');

  const auto deep = folder / std::string(120, 'v');
  std::filesystem::create_directories(deep);
  const std::string longHeader = app::ProgrammKopfErzeugen(write(deep / "ende.tvx"));
  EXPECT_EQ(longHeader.size(), 127u);
  EXPECT_EQ(longHeader.substr(127 - 21 - 9, 9), "/ende.tvx");
}

}  // namespace
}  // namespace apptest
