// The jogging dialog with its worker: step widths and their step counts, the keyboard control
// with a held key and its release, the stop, travel to each stored position, teaching and typing
// in positions, the relay, and the close rules.
#include <array>
#include <iterator>
#include <new>

#include "MachineDialogRig.h"
#include "RecordingBackends.h"
#include "SimulatedParallelPort.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/dialogs/JoggingDialog.h"

namespace machinetest {
namespace {

class JoggingDialog : public MachineDialogRig {
 protected:
  // Runs the GUI thread until the worker has handed the controls back.
  bool settled() {
    return until([&] { return !form.faehrt(); });
  }
  // The moves the unit received, without settings and queries.
  std::vector<std::string> moves() const {
    std::vector<std::string> out;
    for (const auto& c : sim->commands())
      if (!c.text.empty() && c.text[0] == 'L') out.push_back(c.text);
    return out;
  }

  machine::TManuelleFahrtForm form{services()};
};

TEST_F(JoggingDialog, ShowingInitialisesTheControllerAndShowsPositionsAndSpeedRange) {
  store.update([](machine::Maschinenparameter& p) {
    p.xParkposition = 12.5;
    p.zWZWechselposition = -3.0;
  });
  sim->setPositions({800, -400, 0, 0});
  form.Top = 300;
  form.OnActivate();
  EXPECT_EQ(form.Top, 120);
  EXPECT_EQ(form.SpeedScrollBar.Min, 200);
  EXPECT_EQ(form.SpeedScrollBar.Max, 600);
  EXPECT_EQ(form.SpeedScrollBar.Position, 600);
  EXPECT_EQ(form.SpeedAnzeigeLabel, "600 Hz");
  EXPECT_EQ(form.aktStringGrid[1], (std::array<std::string, 4>{"  akt. Position", "  2.00", "  -1.00", "  0.00"}));
  EXPECT_EQ(form.posStringGrid[2][1], "  12.50");
  EXPECT_EQ(form.posStringGrid[4][3], "  -3.00");
  EXPECT_EQ(form.posStringGrid[0][0], " Bezeichnung");
  EXPECT_TRUE(form.SchliessenBitBtn.Visible);
  EXPECT_FALSE(form.AbbrechenBitBtn.Visible);
  EXPECT_EQ(sim->texts().front(), "#S200");
}

TEST_F(JoggingDialog, EachJogMovesOneStepWidthRoundedUpToWholeSteps) {
  struct Case {
    const char* name;
    int item;  // step width item; 3 with `frei`
    const char* frei;
    double uebersetz;
    int motStep;
    void (machine::TManuelleFahrtForm::*knopf)();
    std::vector<std::string> moves;
  };
  const Case cases[] = {
      {"1 mm x+", 2, "", 4.0, 400, &machine::TManuelleFahrtForm::xPosBitBtn_OnClick, {"L8,x100"}},
      {"0.1 mm y-", 1, "", 3.0, 400, &machine::TManuelleFahrtForm::yNegBitBtn_OnClick, {"L8,y-14"}},
      {"0.05 mm z+", 0, "", 1.0, 400, &machine::TManuelleFahrtForm::zPosBitBtn_OnClick, {"L8,z20"}},
      {"free 2.5 mm z-", 3, "2,5", 1.0, 400, &machine::TManuelleFahrtForm::zNegBitBtn_OnClick, {"L8,z-1000"}},
      {"gear ratio 0", 2, "", 0.0, 400, &machine::TManuelleFahrtForm::xNegBitBtn_OnClick, {}},
  };
  for (const auto& c : cases) {
    store.update([&](machine::Maschinenparameter& p) {
      p.xUebersetz = p.yUebersetz = p.zUebersetz = c.uebersetz;
      p.xMotStep = p.yMotStep = p.zMotStep = c.motStep;
    });
    form.OnActivate();
    form.SpeedScrollBar_OnChange(450);
    form.SchrittweiteMaskEdit.Text = c.frei;
    form.SchrittweiteRadioGroup_OnClick(c.item);
    sim->clearLog();
    (form.*c.knopf)();
    ASSERT_TRUE(settled()) << c.name;
    EXPECT_EQ(moves(), c.moves) << c.name;
    // The jogging speed goes first, the position is read afterwards, moved or not.
    const auto texts = sim->texts();
    ASSERT_GE(texts.size(), 4u) << c.name;
    EXPECT_EQ(texts.front(), "#E8,450") << c.name;
    EXPECT_EQ((std::vector<std::string>(texts.end() - 3, texts.end())), (std::vector<std::string>{"@Lx", "@Ly", "@Lz"}))
        << c.name;
    ASSERT_TRUE(form.OnClose()) << c.name;
  }
}

TEST_F(JoggingDialog, KeysJogWhileKeyboardControlIsOnAndAHeldKeyEndsWithItsStep) {
  form.OnActivate();
  form.SchrittweiteRadioGroup_OnClick(2);
  // Keyboard control off: keys do nothing.
  form.OnShortCut(static_cast<int>(machine::JogKey::Up));
  EXPECT_FALSE(form.faehrt());

  form.TastaturCheckBoxOnClick(true);
  EXPECT_TRUE(form.KeyPreview);
  const std::pair<machine::JogKey, std::string> keys[] = {
      {machine::JogKey::Up, "L8,y-400"},     {machine::JogKey::Down, "L8,y400"},
      {machine::JogKey::Left, "L8,x-400"},   {machine::JogKey::Right, "L8,x400"},
      {machine::JogKey::PageUp, "L8,z-400"}, {machine::JogKey::PageDown, "L8,z400"},
  };
  for (const auto& [key, move] : keys) {
    sim->clearLog();
    form.OnShortCut(static_cast<int>(key));
    ASSERT_TRUE(settled());
    EXPECT_EQ(moves(), std::vector<std::string>{move});
  }
  EXPECT_TRUE(form.KeyPreview);

  // A held key repeats; the repeats that come while the step runs are dropped, and with the key
  // let go nothing further moves.
  sim->setMoveDuration(1500ms);
  sim->clearLog();
  form.OnShortCut(static_cast<int>(machine::JogKey::Right));
  ASSERT_TRUE(sim->waitForMotion(true, 5s));
  for (int repeat = 0; repeat < 4; ++repeat) form.OnShortCut(static_cast<int>(machine::JogKey::Right));
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves(), std::vector<std::string>{"L8,x400"});
  EXPECT_FALSE(sim->moving());

  // While editing the stored positions the keys are off.
  form.EditierenSpeedButton_OnClick(true);
  form.OnShortCut(static_cast<int>(machine::JogKey::Right));
  EXPECT_FALSE(form.faehrt());
  form.EditierenSpeedButton_OnClick(false);
}

TEST_F(JoggingDialog, ARepeatJogsOnlyWhileItsKeyIsStillDown) {
  form.OnActivate();
  form.TastaturCheckBoxOnClick(true);
  form.SchrittweiteRadioGroup_OnClick(2);
  const int right = static_cast<int>(machine::JogKey::Right);
  const int left = static_cast<int>(machine::JogKey::Left);

  // The machine stands and the key is held: its repeats make one step, once the events queued
  // with them have been served.
  sim->clearLog();
  form.OnShortCut(right, true);
  form.OnShortCut(right, true);
  EXPECT_FALSE(form.faehrt());
  ASSERT_TRUE(until([&] { return form.faehrt(); }));
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves(), std::vector<std::string>{"L8,x400"});

  // Repeats queued before their key came up move nothing; the release of another key does not
  // count.
  const struct {
    const char* name;
    int released;
    std::vector<std::string> moves;
  } cases[] = {{"its key up", right, {}}, {"another key up", left, {"L8,x400"}}};
  for (const auto& c : cases) {
    sim->clearLog();
    form.OnShortCut(right, true);
    form.OnShortCut(right, true);
    form.OnKeyUp(c.released);
    gui.drain();
    ASSERT_TRUE(settled()) << c.name;
    EXPECT_EQ(moves(), c.moves) << c.name;
  }

  // Repeats while a step runs are dropped, and so is everything queued with the release.
  sim->setMoveDuration(1500ms);
  sim->clearLog();
  form.OnShortCut(right);
  ASSERT_TRUE(sim->waitForMotion(true, 5s));
  for (int repeat = 0; repeat < 4; ++repeat) form.OnShortCut(right, true);
  ASSERT_TRUE(settled());
  form.OnShortCut(right, true);
  form.OnKeyUp(right);
  gui.drain();
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves(), std::vector<std::string>{"L8,x400"});
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(JoggingDialog, AFreeWidthIsANumberAboveZero) {
  form.OnActivate();
  form.SchrittweiteMaskEdit.Text = "2,5";
  form.SchrittweiteRadioGroup_OnClick(3);
  ASSERT_EQ(form.Schrittweite, 2.5);
  const char* refused[] = {"-2", "0", "0,00", "abc", ""};
  for (const char* text : refused) {
    form.SchrittweiteMaskEdit_OnExit(text);
    EXPECT_EQ(form.Schrittweite, 2.5) << text;
    EXPECT_EQ(form.SchrittweiteMaskEdit.Text, "2.50") << text;
  }
  EXPECT_EQ(ui.beeps().size(), std::size(refused));
  // The jog goes the width that stayed, in the button's direction.
  sim->clearLog();
  form.xPosBitBtn_OnClick();
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves(), std::vector<std::string>{"L8,x1000"});

  // Chosen with a refused text in the edit, the free width keeps the width in force.
  form.SchrittweiteRadioGroup_OnClick(1);
  form.SchrittweiteMaskEdit.Text = "-1";
  form.SchrittweiteRadioGroup_OnClick(3);
  EXPECT_EQ(form.Schrittweite, 0.10);
  EXPECT_EQ(form.SchrittweiteMaskEdit.Text, "0.10");
  EXPECT_EQ(ui.beeps().size(), std::size(refused) + 1);
  form.SchrittweiteMaskEdit_OnExit("0,5");
  EXPECT_EQ(form.Schrittweite, 0.5);
  EXPECT_TRUE(form.OnClose());
}

// A fault that is no failure code during a jog halts the axes, is shown in the program's box,
// and gives the buttons back.
TEST_F(JoggingDialog, AFaultThatIsNoFailureCodeHaltsTheAxesAndIsShown) {
  form.OnActivate();
  CallLog log;
  log.onCall = [](const std::string& line) {
    if (line.rfind("Beryl Vektorfahrt_ausfuehren", 0) == 0) throw std::bad_alloc();
  };
  backends.Beryl = std::make_unique<RecordingSyncSerialBackend>("Beryl", log);
  ui.clear();
  form.xPosBitBtn_OnClick();
  ASSERT_TRUE(settled());
  EXPECT_EQ(log.lines.back(), "Beryl Achsen_anhalten");
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::bad_alloc().what());
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_TRUE(form.SchliessenBitBtn.Visible);
  EXPECT_FALSE(form.AbbrechenBitBtn.Visible);
}

TEST_F(JoggingDialog, EscapeStopsOnlyAMoveUnderWay) {
  form.OnActivate();
  form.TastaturCheckBoxOnClick(true);
  form.OnShortCut(static_cast<int>(machine::JogKey::Escape));
  EXPECT_EQ(sim->received().find(cr("@B")), std::string::npos);
  EXPECT_FALSE(store.bAbbruch);

  sim->setMoveDuration(30s);
  form.SchrittweiteRadioGroup_OnClick(2);
  form.xPosBitBtn_OnClick();
  ASSERT_TRUE(sim->waitForMotion(true, 5s));
  ASSERT_TRUE(until([&] { return form.AbbrechenBitBtn.Visible; }));
  EXPECT_FALSE(form.Panel.Enabled);
  EXPECT_FALSE(form.KeyPreview);
  EXPECT_FALSE(form.OnClose());

  form.OnShortCut(static_cast<int>(machine::JogKey::Escape));
  ASSERT_TRUE(settled());
  EXPECT_NE(sim->received().find(cr("@B")), std::string::npos);
  EXPECT_FALSE(sim->moving());
  // The stop is no failure: the position is shown, and nothing is reported for this type.
  EXPECT_EQ(form.aktStringGrid[1][1], "  0.00");
  EXPECT_TRUE(form.AktPositionGueltig);
  EXPECT_FALSE(store.bAbbruch);
  EXPECT_TRUE(form.Panel.Enabled);
  EXPECT_TRUE(form.OnClose());
}

TEST_F(JoggingDialog, AClickWhileATravelRunsTakesNoStopAwayFromIt) {
  store.update([](machine::Maschinenparameter& p) {
    p.xWerkstücknullpunkt = 0.0;
    p.yWerkstücknullpunkt = 0.0;
    p.zWerkstücknullpunkt = -1.0;
  });
  form.OnActivate();
  sim->setPositions({400, 800, 200, 0});
  sim->clearLog();
  sim->setMoveDuration(30s);
  ASSERT_TRUE(form.posStringGridSelectCell(0, 1));
  form.AnfahrenBitBtn_OnClick();
  ASSERT_TRUE(sim->waitForMotion(true, 5s));
  ASSERT_TRUE(until([&] { return form.AbbrechenBitBtn.Visible; }));
  // Were the stop lost, the rest of the travel would not keep the test waiting.
  sim->setMoveDuration(20ms);
  form.AbbrechenBitBtn_OnClick();
  // The worker is busy: the jog is dropped, and with it nothing else happens.
  form.xPosBitBtn_OnClick();
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves(), (std::vector<std::string>{"L8,z-200"}));
  EXPECT_FALSE(store.bAbbruch);

  // The next click is a new command: the stop was the travel's and is gone.
  form.xPosBitBtn_OnClick();
  ASSERT_TRUE(settled());
  EXPECT_EQ(moves().size(), 2u);
}

// The jogging dialog on a step/direction controller (type 7 unless given) at the simulated
// parallel port, connected as the main window connects it.
class ParallelPortJogging : public MachineDialogRig {
 protected:
  explicit ParallelPortJogging(int modul = 7) {
    // The Zircon's one limit input is pin 11, active high: released.
    if (modul == 1) port.setPinLevel(11, false);
    store.update([modul](machine::Maschinenparameter& p) {
      p.Modul = modul;
      p.xMotStep = 8000;  // 1 mm: 8000 steps
    });
    machine::Maschinenparameter p = store.snapshot();
    machine::CommandLayer steuerung(p, backends, store.bAbbruch);
    steuerung.Steuerung_erzeugen(factory);
    steuerung.Schnittstelle_anzeigen();
    EXPECT_TRUE(steuerung.Steuerung_verbinden(p.Schnittstellentext));
  }
  ~ParallelPortJogging() override { backends.TaktRicht.reset(); }

  bool settled() {
    return until([&] { return !form.faehrt(); });
  }

  peers::SimulatedParallelPort port{clock};
  machine::DefaultBackendFactory factory{ui, gui, clock, [this] { return port.connection(); }};
  machine::TManuelleFahrtForm form{services()};
};

TEST_F(ParallelPortJogging, EscapeEndsAJogThroughItsRampAndTheNextJogGoesItsWholeWidth) {
  form.OnActivate();
  form.TastaturCheckBoxOnClick(true);
  form.SchrittweiteRadioGroup_OnClick(2);
  // The user presses Escape when x has made 1000 of its steps; the generator waits for the GUI
  // thread to have served the key.
  port.onceWhen([](const peers::AxisPositions& p) { return p[0] == 1000; },
                [&] { gui.invokeAndWait([&] { form.OnShortCut(static_cast<int>(machine::JogKey::Escape)); }); });
  form.OnShortCut(static_cast<int>(machine::JogKey::Right));
  ASSERT_TRUE(settled());
  // 200 to 600 steps per second in 200 ms: 120 steps to slow down.
  EXPECT_EQ(port.positions()[0], 1120);
  EXPECT_EQ(form.aktStringGrid[1][1], "  0.14");
  EXPECT_FALSE(store.bAbbruch);
  EXPECT_TRUE(ui.messageBoxes().empty());

  form.OnShortCut(static_cast<int>(machine::JogKey::Right));
  ASSERT_TRUE(settled());
  EXPECT_EQ(port.positions()[0], 9120);
  EXPECT_EQ(form.aktStringGrid[1][1], "  1.14");
}

class StepDirectionTravel : public ParallelPortJogging, public ::testing::WithParamInterface<int> {
 protected:
  StepDirectionTravel() : ParallelPortJogging(GetParam()) {}
};

TEST_P(StepDirectionTravel, GoesWithoutABoxWhileTheRelayStillSaysItsOutputIsMissing) {
  // These controllers have no output of the travel: nothing is said about it before or after.
  store.update([](machine::Maschinenparameter& p) {
    p.xParkposition = 0.25;
    p.yParkposition = 0.5;
  });
  form.OnActivate();
  ASSERT_TRUE(form.posStringGridSelectCell(0, 2));
  form.AnfahrenBitBtn_OnClick();
  ASSERT_TRUE(settled());
  EXPECT_EQ(port.positions()[0], 2000);
  EXPECT_EQ(port.positions()[1], 200);
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_EQ(form.aktStringGrid[1][1], "  0.25");

  // Output 10 of the relay buttons is missing as well, and that box tells the truth.
  form.RelaisONBitBtn_OnClick();
  ASSERT_TRUE(settled());
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Ausgangssignal_setzen()");
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
}

INSTANTIATE_TEST_SUITE_P(Types, StepDirectionTravel, ::testing::Values(1, 4, 7));

TEST_F(JoggingDialog, TravelToEachStoredPositionGoesUpAcrossAndDown) {
  struct Case {
    int zeile;
    std::vector<std::string> moves;
  };
  // From (x 400, y 800, z 200) steps; 400 steps per mm.
  const Case cases[] = {
      {1, {"L8,z-200", "L8,x-400", "L8,y-800", "L8,z-400"}},
      {2, {"L8,z-200", "L8,x400", "L8,y-400"}},
      {3, {"L8,z-200", "L8,x4000", "L8,y-800", "L8,z4"}},
      // Already above the target: only z moves.
      {4, {"L8,z-400"}},
  };
  store.update([](machine::Maschinenparameter& p) {
    p.xWerkstücknullpunkt = 0.0;
    p.yWerkstücknullpunkt = 0.0;
    p.zWerkstücknullpunkt = -1.0;
    p.xParkposition = 2.0;
    p.yParkposition = 1.0;
    p.zParkposition = 0.0;
    p.xWZLMessposition = 11.0;
    p.yWZLMessposition = 0.0;
    p.zWZLMessposition = 0.01;
    p.xWZWechselposition = 1.0;
    p.yWZWechselposition = 2.0;
    p.zWZWechselposition = -0.5;
  });
  form.OnActivate();
  for (const auto& c : cases) {
    sim->setPositions({400, 800, 200, 0});
    sim->clearLog();
    ASSERT_TRUE(form.posStringGridSelectCell(0, c.zeile));
    form.AnfahrenBitBtn_OnClick();
    ASSERT_TRUE(settled()) << c.zeile;
    EXPECT_EQ(moves(), c.moves) << "row " << c.zeile;
  }
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(JoggingDialog, AssigningTeachesTheCurrentPositionAndCloseSavesIt) {
  sim->setPositions({1000, -200, 40, 0});
  form.OnActivate();
  ASSERT_TRUE(form.posStringGridSelectCell(2, 2));
  EXPECT_EQ(form.PositionsZeile, 2);
  form.ZuweisenBitBtn_OnClick();
  EXPECT_EQ(form.posStringGrid[2], (std::array<std::string, 4>{" Parkposition", "  2.50", "  -0.50", "  0.10"}));
  EXPECT_TRUE(form.SchliessenBitBtn_OnClick());
  EXPECT_TRUE(form.OnClose());
  EXPECT_TRUE(fileHas("xParkposition=2.50"));
  EXPECT_TRUE(fileHas("yParkposition=-0.50"));
  EXPECT_TRUE(fileHas("zParkposition=0.10"));

  form.OnActivate();
  ASSERT_TRUE(form.posStringGridSelectCell(1, 2));
  form.LoeschenBitBtn_OnClick();
  EXPECT_EQ(store.snapshot().xParkposition, 0.0);
  EXPECT_EQ(form.posStringGrid[2][1], "  0.00");
  EXPECT_TRUE(form.OnClose());
}

TEST_F(JoggingDialog, AssignAfterAFailedPositionReadStoresNothingAndBeeps) {
  // No driver behind the type: the initialisation fails and no position is known.
  backends.Beryl.reset();
  store.update([](machine::Maschinenparameter& p) { p.xWerkstücknullpunkt = 7.0; });
  form.OnActivate();
  EXPECT_FALSE(form.AktPositionGueltig);
  EXPECT_EQ(form.aktStringGrid[1][1], "- - -");
  ASSERT_TRUE(form.posStringGridSelectCell(0, 1));
  form.ZuweisenBitBtn_OnClick();
  EXPECT_EQ(store.snapshot().xWerkstücknullpunkt, 7.0);
  EXPECT_EQ(ui.beeps().size(), 2u);
}

TEST_F(JoggingDialog, TypedPositionsAreStoredWhenEditingEnds) {
  form.OnActivate();
  form.EditierenSpeedButton_OnClick(true);
  EXPECT_FALSE(form.Panel.Enabled);
  EXPECT_FALSE(form.SpeedScrollBar.Enabled);
  // Column 0 holds the names and cannot be selected while editing.
  EXPECT_FALSE(form.posStringGridSelectCell(0, 3));
  ASSERT_TRUE(form.posStringGridSelectCell(1, 3));
  EXPECT_TRUE(form.posGridEditieren);
  EXPECT_FALSE(form.posGridZeilenauswahl);
  form.posStringGridSetEditText(1, 3, "12,5");
  form.posStringGridSetEditText(3, 3, "junk");
  form.posStringGridSetEditText(2, 4, "-7.25");
  form.EditierenSpeedButton_OnClick(false);
  EXPECT_TRUE(form.Panel.Enabled);
  EXPECT_TRUE(form.posGridZeilenauswahl);
  const auto p = store.snapshot();
  EXPECT_EQ(p.xWZLMessposition, 12.5);
  EXPECT_EQ(p.zWZLMessposition, 0.0);
  EXPECT_EQ(p.yWZWechselposition, -7.25);
  EXPECT_TRUE(fileHas("xWZLMessposition=12.50"));
  EXPECT_EQ(form.posStringGrid[4][2], "  -7.25");
}

TEST_F(JoggingDialog, TheRelayButtonsSwitchAndExecute) {
  form.OnActivate();
  sim->clearLog();
  form.RelaisONBitBtn_OnClick();
  ASSERT_TRUE(settled());
  form.RelaisOFFBitBtn_OnClick();
  ASSERT_TRUE(settled());
  // Beryl has no output 10: only the execute commands reach it.
  EXPECT_EQ(sim->received(), exec("") + exec(""));
  EXPECT_TRUE(ui.messageBoxes().empty());
}

}  // namespace
}  // namespace machinetest
