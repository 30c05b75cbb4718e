// The main window's commands for the machine dialogs: the parameter dialog is shown with the
// link closed and followed by the connection step however it was closed; the homing and jogging
// dialogs get their colours and the maker mode.
#include "MainFormFixture.h"

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
