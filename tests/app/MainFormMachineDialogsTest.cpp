// The main window's commands for the machine dialogs: the parameter dialog is shown with the
// link closed and followed by the connection step however it was closed; the homing and jogging
// dialogs get their colours and the maker mode.
#include "MainFormFixture.h"
#include "SimulatedParallelPort.h"
#include "machine/lpt/TTaktRicht.h"

namespace apptest {
namespace {

TEST_F(MainFormTest, TheParameterDialogClosesTheLinkAndTheConnectionStepFollowsOkOrCancel) {
  factory_.attached = true;
  start();
  ASSERT_TRUE(form().bSteuerungVerbunden);
  factory_.controller.clearCalls();

  bool verbundenWaehrendDesDialogs = true;
  form().dialogEinsetzen(app::ModalDialog::Parameter, [&] {
    verbundenWaehrendDesDialogs = form().bSteuerungVerbunden;
    EXPECT_EQ(factory_.controller.callsStartingWith("UnInit").size(), 1u);
    EXPECT_EQ(form().ParameterDlg.Farben, (std::array<int, 6>{0x00CC00, 0xFF8000, 0, 0xFFFFFF, 0, 0xFFFFFF}));
    form().ParameterDlg.OnActivate();
    form().ParameterDlg.modulOKBitBtnClick();
  });
  form().MenuParameterOnClick();
  EXPECT_FALSE(verbundenWaehrendDesDialogs);
  EXPECT_TRUE(form().bSteuerungVerbunden);
  EXPECT_EQ(factory_.controller.callsStartingWith("Connect").size(), 1u);

  // Cancel after choosing a type without a driver here: the type stays, the connection step
  // runs with it and the program is not connected.
  form().dialogEinsetzen(app::ModalDialog::Parameter, [&] {
    form().ParameterDlg.OnActivate();
    form().ParameterDlg.Beryl_RadioButtonClick();
    form().ParameterDlg.AbbrechenBitBtnClick();
  });
  form().MenuParameterOnClick();
  EXPECT_EQ(params_.snapshot().Modul, 2);
  EXPECT_FALSE(form().bSteuerungVerbunden);
  EXPECT_EQ(form().StatusBar[1], "COM1");
}

TEST_F(MainFormTest, AfterTheParameterDialogTheSameParallelPortControllerGoesOnFromWhereItStands) {
  // A step/direction controller of type 7 at LPT1, and a second card at LPT2.
  peers::SimulatedParallelPort lpt1(clock_, 0x378);
  peers::SimulatedParallelPort lpt2(clock_, 0x278);
  machine::ParallelPortBackend* current = nullptr;
  factory_.taktRicht = [&]() -> std::unique_ptr<machine::ParallelPortBackend> {
    auto& card = params_.snapshot().LPTAdresse == 0x278 ? lpt2 : lpt1;
    auto backend = std::make_unique<machine::TTaktRicht>(card.connection(), clock_, ui_, gui_);
    current = backend.get();
    return backend;
  };
  const struct {
    const char* name;
    std::function<void(machine::TParameterDlg&)> choose;
    bool kept;
  } cases[] = {
      {"OK", [](auto& dlg) { dlg.modulOKBitBtnClick(); }, true},
      {"Cancel", [](auto& dlg) { dlg.AbbrechenBitBtnClick(); }, true},
      {"OK with Takt/Richtung",
       [](auto& dlg) {
         dlg.TaktRicht_RadioButtonClick();
         dlg.modulOKBitBtnClick();
       },
       false},
      {"OK with LPT2",
       [](auto& dlg) {
         dlg.lptRadioButton1.Checked = false;
         dlg.lptRadioButton2.Checked = true;
         dlg.modulOKBitBtnClick();
       },
       false},
  };
  for (const auto& c : cases) {
    start();
    params_.update([](machine::Maschinenparameter& p) {
      p.Modul = 7;
      p.LPTAdresse = 0x378;
    });
    form().Modul_Initialisieren();
    ASSERT_TRUE(form().bSteuerungVerbunden) << c.name;
    // The machine is moved 1 mm in x and 2 mm down in z (400 steps per mm).
    current->Startgeschwindigkeit_einstellen(400);
    current->Endgeschwindigkeit_einstellen(1, 400);
    ASSERT_EQ(current->Vektorfahrt_ausfuehren(1, 1, 400, 0, -800), machine::MoveOutcome::Done) << c.name;
    form().StatusBarAktualisieren();
    const std::string moved = form().StatusBar[2];
    const auto* before = current;

    form().dialogEinsetzen(app::ModalDialog::Parameter, [&] {
      form().ParameterDlg.OnActivate();
      c.choose(form().ParameterDlg);
    });
    form().MenuParameterOnClick();
    ASSERT_TRUE(form().bSteuerungVerbunden) << c.name;
    EXPECT_NE(current, before) << c.name;
    EXPECT_EQ(current->Position_abfragen('x'), c.kept ? 400 : 0) << c.name;
    EXPECT_EQ(current->Position_abfragen('z'), c.kept ? -800 : 0) << c.name;
    if (c.kept) {
      EXPECT_EQ(form().StatusBar[2], moved) << c.name;
    }
    form_.reset();
  }
}

TEST_F(MainFormTest, TheHomingAndJoggingDialogsGetTheirColoursAndTheMakerMode) {
  start({"veltris", "/zelko"});
  bool gezeigt = false;
  form().dialogEinsetzen(app::ModalDialog::Referenzfahrt, [&] { gezeigt = true; });
  form().dialogEinsetzen(app::ModalDialog::ManuelleFahrt, [] {});
  form().MenuReferenzfahrtOnClick();
  EXPECT_TRUE(gezeigt);
  EXPECT_EQ(form().ReferenzfahrtForm.Hintergrundfarbe, 0x3535FF);
  EXPECT_EQ(form().ReferenzfahrtForm.Schriftfarbe, 0xFFFFFF);
  EXPECT_TRUE(form().ReferenzfahrtForm.bHerstellermodus);
  form().MenuManuelleFahrtOnClick();
  EXPECT_EQ(form().ManuelleFahrtForm.Hintergrundfarbe, 0x80FFFF);
  EXPECT_TRUE(form().ManuelleFahrtForm.bHerstellermodus);
}

}  // namespace
}  // namespace apptest
