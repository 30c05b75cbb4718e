// The main window's side of the program memory and of the tool-length measurement: the menu
// commands, a job recorded through the program-memory dialog, and the measurement on the run
// worker.
#include <algorithm>

#include "MainFormFixture.h"
#include "machine/FailureCodes.h"

namespace apptest {
namespace {

class MainFormFlash : public MainFormTest {
 protected:
  // A controller that answers the program-memory commands as an empty memory does.
  void startAttached() {
    factory_.attached = true;
    factory_.controller.answerFor = [](const std::string& command) {
      if (command.rfind("*PE", 0) == 0) return command.substr(0, 4) + "\r";
      if (command.rfind("*FR", 0) == 0) return command.substr(0, 4) + " -,-\r";
      return std::string(1, '\x06');
    };
    start();
    ASSERT_TRUE(form().bSteuerungVerbunden.load());
  }

  void settle() {
    ASSERT_TRUE(gui_.drainUntil([this] { return !form().FlashDlg.busy(); }));
  }
};

TEST_F(MainFormFlash, TheMenuCommandsSetTheDialogsModeBeforeTheyShowIt) {
  startAttached();
  int shown = 0;
  form().dialogEinsetzen(app::ModalDialog::FestwertspeicherLoeschen, [&] {
    ++shown;
    EXPECT_TRUE(form().FlashDlg.alleLoeschenModus());
  });
  form().dialogEinsetzen(app::ModalDialog::AusgabeInFestwertspeicher, [&] {
    ++shown;
    EXPECT_FALSE(form().FlashDlg.alleLoeschenModus());
  });
  form().dialogEinsetzen(app::ModalDialog::Werkzeuglaenge, [&] {
    ++shown;
    EXPECT_EQ(form().WZLMessungForm.Memo.front(), "xWZLMessposition = 0.00");
  });
  form().MenuFestwertspeicherLoeschenOnClick();
  ui_.pushAnswer(platform::MsgResult::Yes);
  form().MenuAusgabeInFestwertspeicherOnClick();
  form().MenuWerkzeuglaengeMessenOnClick();
  EXPECT_EQ(shown, 3);
}

TEST_F(MainFormFlash, AJobIsRecordedAsALiveRunWithAbsoluteMovesEvenWhenSimulationIsChecked) {
  startAttached();
  TestPointType::appendRows(form(), 2);
  const long before = traceCount("[2] PUNKT");
  form().SimulationslaufCheckBox.Checked = true;
  app::TFlashDlg& dlg = form().FlashDlg;
  dlg.setAlleLoeschenModus(false);
  dlg.OnActivate();
  EXPECT_TRUE(form().bAusgabeInFestwertspeicher.load());
  settle();
  factory_.controller.clearCalls();

  dlg.DurchlaeufeEdit = "4";
  dlg.ProgrammSchreibenButtonClick();
  settle();
  EXPECT_EQ(dlg.RichEdit.back().Text, "### Programm 1 schreiben - Ende ###");

  const auto calls = factory_.controller.calls();
  const auto on = std::find(calls.begin(), calls.end(), "Speichermodus_setzen 1");
  const auto off = std::find(calls.begin(), calls.end(), "Speichermodus_setzen 0");
  ASSERT_NE(on, calls.end());
  ASSERT_NE(off, calls.end());
  EXPECT_LT(on, off);
  EXPECT_NE(std::find(calls.begin(), on, "Programmdurchlaeufe_hinterlegen 4"), on);
  // The whole run was recorded live: its settings, and moves that are all absolute, the axes a
  // move leaves alone given as 99999.
  EXPECT_NE(std::find(on, off, "Startgeschwindigkeit_einstellen 200"), off);
  long moves = 0;
  long unmoved = 0;
  for (auto it = on; it != off; ++it) {
    if (it->rfind("Vektorfahrt_ausfuehren ", 0) != 0) continue;
    ++moves;
    if (it->find("99999") != std::string::npos) ++unmoved;
    EXPECT_EQ(it->rfind("Vektorfahrt_ausfuehren 0 ", 0), 0u) << *it;
  }
  EXPECT_GT(moves, 4);
  EXPECT_GT(unmoved, 0);
  EXPECT_EQ(traceCount("[2] PUNKT"), before + 1);
  // The window still simulates its own runs.
  EXPECT_TRUE(form().SimulationslaufCheckBox.Checked);

  dlg.OnClose();
  EXPECT_FALSE(form().bAusgabeInFestwertspeicher.load());
}

// A recorded job used to leave the document's copy counts as they were, where a normal run sets
// both to 1 with multi-up production off. It now leaves them as a normal run does, also when the
// recording fails part way; with multi-up production on, every copy is recorded.
TEST_F(MainFormFlash, AJobLeavesTheCopyCountsAsANormalRunDoes) {
  struct Case {
    bool nutzenfertigung;
    bool fehler;
    int anzahl[2];
    long kopien;
    const char* ende;
  };
  const Case cases[] = {
      {false, false, {1, 1}, 1, "### Programm 1 schreiben - Ende ###"},
      {true, false, {3, 2}, 6, "### Programm 1 schreiben - Ende ###"},
      {false, true, {1, 1}, 1, "### Programm 1 schreiben - Fehler ###"},
  };
  startAttached();
  TestPointType::appendRows(form(), 1);
  app::TFlashDlg& dlg = form().FlashDlg;
  dlg.setAlleLoeschenModus(false);
  dlg.OnActivate();
  settle();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.nutzenfertigung << " " << c.fehler);
    form().MenuNutzenfertigung.Checked = c.nutzenfertigung;
    form().Nutzenfertigung.xNFAnzahl = 3;
    form().Nutzenfertigung.yNFAnzahl = 2;
    TestPointType::onMill = nullptr;
    if (c.fehler) TestPointType::onMill = [](int) { throw machine::WAIT_TIMEOUT; };
    const long before = traceCount("[1] PUNKT");
    dlg.DurchlaeufeEdit = "1";
    dlg.ProgrammSchreibenButtonClick();
    settle();
    EXPECT_EQ(dlg.RichEdit.back().Text, c.ende);
    EXPECT_EQ(traceCount("[1] PUNKT") - before, c.kopien);
    EXPECT_EQ(form().Nutzenfertigung.xNFAnzahl, c.anzahl[0]);
    EXPECT_EQ(form().Nutzenfertigung.yNFAnzahl, c.anzahl[1]);
  }
  dlg.OnClose();
}

TEST_F(MainFormFlash, TheMeasurementRunsOnTheRunWorkerAndItsDifferenceIsKept) {
  startAttached();
  params_.update([](machine::Maschinenparameter& p) {
    p.zWZLMessposition = 2.0;
    p.zWZLdelta = 9.0;
  });
  form().WZLMessungForm.OnActivate(params_.snapshot());
  form().WZLMessungForm.StartenBitBtnClick();
  // The double's probe never switches: the measurement ends at its travel limit with a box.
  ASSERT_TRUE(gui_.drainUntil([this] { return ui_.messageBoxes().size() == 1; }));
  ASSERT_TRUE(gui_.drainUntil([this] { return form().WZLMessungForm.StartenBitBtn.Enabled; }));
  EXPECT_EQ(ui_.messageBoxes()[0].text, machine::Fehlertext_Steuerung(machine::PROBE_TRAVEL_LIMIT));
  EXPECT_EQ(factory_.controller.callsStartingWith("Referenzfahrt_ausfuehren").size(), 3u);
  // Nothing was measured, so the stored difference stands.
  EXPECT_EQ(params_.snapshot().zWZLdelta, 9.0);
}

}  // namespace
}  // namespace apptest
