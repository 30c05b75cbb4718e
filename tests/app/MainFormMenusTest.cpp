// The main window's menus and page controls as functions of its state: the enable, visible and
// caption rules by controller type, document kind, switches, connection and run, and the menu
// commands that open dialogs.
#include <fstream>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "panel/types/TypeHpgl.h"

namespace {

using apptest::MainFormTest;
using panel::DocumentKind;
using platform::MsgResult;

class MainFormMenus : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    start();
    ui_.clear();
  }

  void setModul(int modul) {
    params_.update([modul](machine::Maschinenparameter& p) { p.Modul = modul; });
  }

  // The window for a document of `kind` (None: no document open) and the given switches.
  void gestalten(int modul, DocumentKind kind, bool entwicklung, bool verbunden) {
    setModul(modul);
    form().Dokumenttyp = kind;
    form().bEntwicklungsmodus = entwicklung;
    form().bSteuerungVerbunden = verbunden;
    form().MenuGestaltung(kind == DocumentKind::None);
  }
};

struct MenuCase {
  int modul;
  DocumentKind kind;
  bool entwicklung;
  bool verbunden;
  // Expected:
  bool kyroVisible;
  const char* kyroCaption;  // null: not looked at
  bool loeschenEnabled;
  bool ausgabeEnabled;
  bool objektKnoepfe;
  bool gummiRect;
};

TEST_F(MainFormMenus, MenuGestaltungFollowsControllerDocumentSwitchesAndConnection) {
  const MenuCase cases[] = {
      {5, DocumentKind::Panel, false, true, true, "Cobalt-Kyro", true, true, true, false},
      {6, DocumentKind::Panel, true, true, true, "USB-Beryl", true, true, true, true},
      {6, DocumentKind::None, false, true, true, "USB-Beryl", true, false, false, false},
      {5, DocumentKind::DinIso, true, false, true, "Cobalt-Kyro", false, false, false, false},
      {5, DocumentKind::Hpgl, false, true, true, "Cobalt-Kyro", true, true, false, false},
      // No program memory and no controller firmware for the other controllers.
      {7, DocumentKind::Panel, false, true, false, nullptr, true, true, true, false},
      {1, DocumentKind::Dxf, true, false, false, nullptr, false, false, false, false},
      {12, DocumentKind::Panel, true, true, false, nullptr, true, true, true, true},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE("Modul " + std::to_string(c.modul) + ", Dokument " + std::to_string(static_cast<int>(c.kind)) +
                 (c.entwicklung ? ", Entwicklung" : "") + (c.verbunden ? ", verbunden" : ""));
    gestalten(c.modul, c.kind, c.entwicklung, c.verbunden);
    const bool keinDokument = c.kind == DocumentKind::None;
    EXPECT_EQ(form().MenuCobalt_Kyro.Visible, c.kyroVisible);
    if (c.kyroCaption != nullptr) {
      EXPECT_EQ(form().MenuCobalt_Kyro.Caption, c.kyroCaption);
    }
    EXPECT_EQ(form().MenuFestwertspeicherLoeschen.Enabled, c.loeschenEnabled);
    EXPECT_EQ(form().MenuAusgabeInFestwertspeicher.Enabled, c.ausgabeEnabled);
    EXPECT_EQ(form().ObjektSpeedButtons.Visible, c.objektKnoepfe);
    EXPECT_EQ(form().AMAnpassenButton.Visible, c.objektKnoepfe);
    EXPECT_EQ(form().GummiRectSpeedButton.Visible, c.gummiRect);
    EXPECT_EQ(form().DSGSpeedButton.Visible, c.entwicklung);
    EXPECT_EQ(form().DrawNFSpeedButton.Visible, c.entwicklung);

    // The file menu offers opening without a document and saving with one.
    for (const auto* item : {&form().MenuNeu, &form().MenuOeffnen, &form().MenuFile1, &form().MenuFile4})
      EXPECT_EQ(item->Enabled, keinDokument);
    for (const auto* item : {&form().MenuImportieren, &form().MenuSpeichern, &form().MenuSpeichernUnter,
                             &form().MenuSpeichernUndSchliessen, &form().MenuSchliessen, &form().MenuAnsicht})
      EXPECT_EQ(item->Enabled, !keinDokument);
    EXPECT_TRUE(form().MenuFile1.Visible);
    EXPECT_FALSE(form().MenuFile2.Visible);
    for (const auto* panel : {&form().ControlBar, &form().LeftPanel, &form().DrawPageControl, &form().RightPageControl})
      EXPECT_EQ(panel->Visible, !keinDokument);

    // Never offered: the travels to the stored positions and the tool-length measurement.
    EXPECT_FALSE(form().MenuWerkstueckNullpunktAn.Visible);
    EXPECT_FALSE(form().MenuParkpositionAn.Visible);
    EXPECT_FALSE(form().MenuS1.Visible);
    EXPECT_FALSE(form().MenuWerkzeuglaengeMessen.Visible);
    EXPECT_FALSE(form().MenuWerkzeuglaengeMessen.Enabled);
    EXPECT_FALSE(form().MenuKyro2.Visible);
    EXPECT_FALSE(form().WZLCheckBox.Enabled);
    EXPECT_FALSE(form().WZLCheckBox.Checked);
    EXPECT_TRUE(form().MenuUSBIOFirmwareEinspielen.Visible);
  }
}

TEST_F(MainFormMenus, TheDataGridsShowOnlyWithADocumentAndTheirButtonDown) {
  gestalten(5, DocumentKind::Panel, true, false);
  EXPECT_FALSE(form().SGPageControl.Visible);
  form().DSGSpeedButtonOnClick(true);
  EXPECT_TRUE(form().SGPageControl.Visible);
  form().MenuGestaltung(false);
  EXPECT_TRUE(form().SGPageControl.Visible);
  gestalten(5, DocumentKind::None, true, false);
  EXPECT_FALSE(form().SGPageControl.Visible);
  form().DSGSpeedButtonOnClick(false);
  gestalten(5, DocumentKind::Panel, true, false);
  EXPECT_FALSE(form().SGPageControl.Visible);
}

// The grid in sight takes its format module's list; the others and the document table's page
// stay as they are.
TEST_F(MainFormMenus, APageChangeFillsTheGridInSightFromItsModule) {
  struct Element {
    std::string Befehl;
    int Stift;
    double x, y;
  };
  const std::vector<Element> plot = {{"PU", 1, 0, 0}, {"PD", 1, 5, 0}, {"PD", 1, 5, 5}};
  int fills = 0;
  form().datenlisteEinsetzen(app::SGPage::HPGL, [&](panel::StringGrid& grid) {
    ++fills;
    app::HPGLDatenEintragen(grid, plot);
  });
  form().SGPageControlSeite = app::SGPage::Daten;
  const int datenRows = form().DatenStringGrid.RowCount();
  form().DrawPageControlOnChange();
  EXPECT_EQ(fills, 0);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), datenRows);

  form().SGPageControlSeite = app::SGPage::HPGL;
  form().DrawPageControlOnChange();
  EXPECT_EQ(fills, 1);
  ASSERT_EQ(form().HPGLStringGrid.RowCount(), 4);
  EXPECT_EQ(form().HPGLStringGrid.Cells(0, 3), "PD");
  EXPECT_EQ(form().HPGLStringGrid.Cells(3, 3), "5");

  // A page whose module holds no elements keeps its grid.
  form().SGPageControlSeite = app::SGPage::DXF;
  form().DrawPageControlOnChange();
  EXPECT_EQ(form().DXFStringGrid.RowCount(), 1);
}

// The window plugs in its own modules: the grids show the opened plot, program and drawing, and
// in a panel document the plot of the selected HPGL/PLT row, refreshed when that row is drawn
// while the grids are shown.
TEST_F(MainFormMenus, TheGridsShowTheElementListsOfTheWindowsModules) {
  form().bEntwicklungsmodus = true;
  const auto open = [this](const char* name, const char* text) {
    const auto path = folder() / name;
    std::ofstream(path) << text;
    form().ZuletztGeoeffneteDateiOeffnen(path.string());
  };
  const auto show = [this](app::SGPage page) {
    form().SGPageControlSeite = page;
    form().DrawPageControlOnChange();
  };
  open("p.plt", "IN;PU0,0;PD400,0,400,400;");
  show(app::SGPage::HPGL);
  ASSERT_EQ(form().HPGLStringGrid.RowCount(), 8);
  EXPECT_EQ(form().HPGLStringGrid.Cells(0, 6), "LINETO");
  EXPECT_EQ(form().HPGLStringGrid.Cells(3, 6), "10");
  open("p.nc", "%\nG00 X10 Y5\nG01 X20\n");
  show(app::SGPage::DINISO);
  ASSERT_EQ(form().DINISOStringGrid.RowCount(), 3);
  EXPECT_EQ(form().DINISOStringGrid.Cells(0, 2), "GO1");
  EXPECT_EQ(form().DINISOStringGrid.Cells(2, 2), "20");
  open("p.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n11\n5\n0\nENDSEC\n0\nEOF\n");
  show(app::SGPage::DXF);
  ASSERT_EQ(form().DXFStringGrid.RowCount(), 3);
  EXPECT_EQ(form().DXFStringGrid.Cells(2, 2), "5");

  form().MenuNeuOnClick();
  const auto rowPlot = folder() / "zeile.plt";
  std::ofstream(rowPlot) << "IN;PU0,0;PD40,0;";
  form().iAktZeile = panel::Hpgl_Neu(form(), rowPlot.string());
  form().SGPageControlSeite = app::SGPage::HPGL;
  form().AnsichtNeuZeichnen();
  EXPECT_EQ(form().HPGLStringGrid.RowCount(), 8);  // hidden grids are not refreshed
  form().DSGSpeedButtonOnClick(true);
  form().AnsichtNeuZeichnen();
  ASSERT_EQ(form().HPGLStringGrid.RowCount(), 7);
  EXPECT_EQ(form().HPGLStringGrid.Cells(0, 5), "LINETO");
  EXPECT_EQ(form().HPGLStringGrid.Cells(2, 5), "1");
}

TEST_F(MainFormMenus, TheCaptionShowsAShortPathWholeAndALongOneByItsFileName) {
  form().Fenstertitel = "Tessaly für X   ";
  form().Dokumentpfad = "/home/a/platte.tvx";
  form().MenuGestaltung(false);
  EXPECT_EQ(form().Caption, "Tessaly für X   /home/a/platte.tvx");
  form().Dokumentpfad = "/home/anwender/projekte/frontplatten/gehaeuse-7/platte.tvx";
  form().MenuGestaltung(false);
  EXPECT_EQ(form().Caption, "Tessaly für X   platte.tvx");
}

struct EnableCase {
  int modul;
  bool verbunden;
  bool laeuft;
  bool steuerung;  // MenuSteuerung enabled
};

TEST_F(MainFormMenus, EnableWinKomponentenLocksTheWindowForARunAndTheControllerMenuByType) {
  const EnableCase cases[] = {
      {5, true, false, true}, {5, false, false, false}, {5, true, true, false},
      {7, true, false, true}, {10, true, false, false}, {13, true, false, false},
      {9, true, false, true}, {14, true, false, true},  {11, false, true, false},
  };
  for (const EnableCase& c : cases) {
    SCOPED_TRACE("Modul " + std::to_string(c.modul) + (c.verbunden ? ", verbunden" : "") + (c.laeuft ? ", Lauf" : ""));
    setModul(c.modul);
    form().bSteuerungVerbunden = c.verbunden;
    form().EnableWinKomponenten(c.laeuft);
    EXPECT_EQ(form().MenuSteuerung.Enabled, c.steuerung);
    for (const auto* menu : {&form().MenuDatei, &form().MenuAnsicht, &form().MenuEinstellungen, &form().MenuCobalt_Kyro,
                             &form().MenuInfo, &form().MenuBeenden})
      EXPECT_EQ(menu->Enabled, !c.laeuft);
    EXPECT_EQ(form().ControlBar.Enabled, !c.laeuft);
    EXPECT_EQ(form().ERTabSheet.Visible, !c.laeuft);
    EXPECT_EQ(form().FraesenStartenBitBtn.Visible, !c.laeuft);
    EXPECT_EQ(form().AnhaltenBitBtn.Visible, c.laeuft);
  }
  // The settings page belongs to panel documents.
  form().Dokumenttyp = DocumentKind::Hpgl;
  form().EnableWinKomponenten(false);
  EXPECT_FALSE(form().ERTabSheet.Visible);
}

TEST_F(MainFormMenus, TheStartButtonFollowsTheSimulationBoxAndTheConnection) {
  struct Case {
    bool simulation;
    bool verbunden;
    const char* caption;
    bool enabled;
  };
  const Case cases[] = {
      {true, false, "&Simulationslauf starten", true},
      {true, true, "&Simulationslauf starten", true},
      {false, true, "&Fräsvorgang starten", true},
      {false, false, "&Fräsvorgang starten", false},
  };
  for (const Case& c : cases) {
    form().bSteuerungVerbunden = c.verbunden;
    form().SimulationslaufCheckBox.Checked = c.simulation;
    form().SimulationslaufCheckBoxOnClick();
    EXPECT_EQ(form().FraesenStartenBitBtn.Caption, c.caption);
    EXPECT_EQ(form().FraesenStartenBitBtn.Enabled, c.enabled);
    EXPECT_EQ(form().FortschrittsanzeigeLabel.Enabled, c.verbunden);
    EXPECT_EQ(form().FortschrittsanzeigeProgressBarControl.Enabled, c.verbunden);
  }
  form().SimulationslaufTrackBar.Position = 10;
  form().SimulationslaufTrackBarOnChange();
  EXPECT_EQ(form().Simulationspause, 60);
}

TEST_F(MainFormMenus, ANewDocumentUnticksTheSimulationBoxAndTheCaptionFollows) {
  form().SimulationslaufCheckBox.Checked = true;
  form().SimulationslaufCheckBoxOnClick();
  ASSERT_EQ(form().FraesenStartenBitBtn.Caption, "&Simulationslauf starten");
  form().MenuSchliessenOnClick();
  form().MenuNeuOnClick();
  EXPECT_EQ(form().FraesenStartenBitBtn.Caption,
            form().SimulationslaufCheckBox.Checked ? "&Simulationslauf starten" : "&Fräsvorgang starten");
}

TEST_F(MainFormMenus, RecentFilesShowAnAmpersandLiterally) {
  form().File_1 = "/daten/Müller & Söhne.tvx";
  form().MenuGestaltung(form().MenuOeffnen.Enabled);
  form().ZuletztGeoeffneteDateienSpeichern();
  EXPECT_EQ(form().MenuFile1.Caption.substr(0, 3), "&1 ");
  EXPECT_NE(form().MenuFile1.Caption.find("Müller && Söhne.tvx"), std::string::npos);
}

// The dialogs of the menus, plugged in by the window: each shows its dialog; one that is not
// plugged in gives one short beep and changes nothing.
TEST_F(MainFormMenus, MenuCommandsShowTheirDialogsOrBeep) {
  struct Case {
    void (app::TMainForm::*handler)();
    app::ModalDialog dialog;
  };
  const Case cases[] = {
      {&app::TMainForm::MenuToolDefOnClick, app::ModalDialog::ToolDef},
      {&app::TMainForm::MenuReferenzfahrtOnClick, app::ModalDialog::Referenzfahrt},
      {&app::TMainForm::MenuManuelleFahrtOnClick, app::ModalDialog::ManuelleFahrt},
      {&app::TMainForm::MenuFestwertspeicherLoeschenOnClick, app::ModalDialog::FestwertspeicherLoeschen},
      {&app::TMainForm::MenuInfoOnClick, app::ModalDialog::Info},
  };
  setModul(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.dialog));
    ui_.clear();
    (form().*c.handler)();
    ASSERT_EQ(ui_.beeps().size(), 1u);
    EXPECT_EQ(ui_.beeps()[0].hz, 440u);
    EXPECT_EQ(ui_.beeps()[0].ms, 100u);

    int shown = 0;
    form().dialogEinsetzen(c.dialog, [&shown] { ++shown; });
    ui_.clear();
    (form().*c.handler)();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(ui_.beeps().empty());
    form().dialogEinsetzen(c.dialog, nullptr);
  }
}

TEST_F(MainFormMenus, TheProgramMemoryMenusActForCobaltKyroAndUsbBerylOnly) {
  int shown = 0;
  form().dialogEinsetzen(app::ModalDialog::FestwertspeicherLoeschen, [&shown] { ++shown; });
  form().dialogEinsetzen(app::ModalDialog::AusgabeInFestwertspeicher, [&shown] { ++shown; });
  setModul(7);
  form().MenuFestwertspeicherLoeschenOnClick();
  form().MenuAusgabeInFestwertspeicherOnClick();
  EXPECT_EQ(shown, 0);
  EXPECT_TRUE(ui_.calls().empty());

  // Writing into the memory asks first, with the run's options in sight.
  setModul(6);
  form().RightPageControlSeite = app::RightPage::Einstellungen;
  ui_.pushAnswer(MsgResult::No);
  form().MenuAusgabeInFestwertspeicherOnClick();
  EXPECT_EQ(form().RightPageControlSeite, app::RightPage::Fraesen);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "Wurden alle Fräsparameter richtig eingestellt?\n");
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "Tessaly");
  EXPECT_EQ(shown, 0);
  ui_.pushAnswer(MsgResult::Yes);
  form().MenuAusgabeInFestwertspeicherOnClick();
  EXPECT_EQ(shown, 1);
}

TEST_F(MainFormMenus, TheParameterDialogClosesTheLinkAndConnectsAgainAfterIt) {
  factory_.attached = true;
  form().Modul_Initialisieren();
  ASSERT_TRUE(form().bSteuerungVerbunden);
  const auto closes = [this] { return factory_.controller.callsStartingWith("UnInit").size(); };
  const auto closed = closes();

  // Without a dialog the link stays as it is.
  form().MenuParameterOnClick();
  EXPECT_EQ(ui_.beeps().size(), 1u);
  EXPECT_TRUE(form().bSteuerungVerbunden);
  EXPECT_EQ(closes(), closed);

  bool connectedWhileShown = true;
  form().dialogEinsetzen(app::ModalDialog::Parameter,
                         [this, &connectedWhileShown] { connectedWhileShown = form().bSteuerungVerbunden; });
  form().MenuParameterOnClick();
  EXPECT_FALSE(connectedWhileShown);
  EXPECT_GT(closes(), closed);
  EXPECT_TRUE(form().bSteuerungVerbunden);
}

TEST_F(MainFormMenus, NoMenuCommandActsDuringARun) {
  int shown = 0;
  for (const auto d : {app::ModalDialog::Parameter, app::ModalDialog::ToolDef, app::ModalDialog::Referenzfahrt})
    form().dialogEinsetzen(d, [&shown] { ++shown; });
  form().SimulationslaufCheckBox.Checked = true;
  form().SimulationslaufCheckBoxOnClick();
  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(form().laeuft());
  form().MenuParameterOnClick();
  form().MenuToolDefOnClick();
  form().MenuReferenzfahrtOnClick();
  EXPECT_EQ(shown, 0);
  form().AnhaltenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());
}

TEST_F(MainFormMenus, TheToolbarsShowByTheirMenuChecksAndMultiUpOnlyForPanels) {
  form().MenuAbmessungen.Checked = false;
  form().MenuAbmessungenOnClick();
  EXPECT_TRUE(form().AbmessungenToolBar.Visible);
  form().MenuAbmessungenOnClick();
  EXPECT_FALSE(form().AbmessungenToolBar.Visible);

  form().MenuNutzenfertigung.Checked = false;
  form().MenuNutzenfertigungOnClick();
  EXPECT_TRUE(form().NutzenfertigungToolBar.Visible);
  form().MenuNutzenfertigungOnClick();
  EXPECT_FALSE(form().NutzenfertigungToolBar.Visible);
  form().Dokumenttyp = DocumentKind::DinIso;
  form().MenuNutzenfertigungOnClick();
  EXPECT_FALSE(form().MenuNutzenfertigung.Checked);
  EXPECT_FALSE(form().NutzenfertigungToolBar.Visible);
}

TEST_F(MainFormMenus, TheDrawingSwitchesSetTheirFlagsAndRedraw) {
  struct Case {
    void (app::TMainForm::*handler)(bool);
    bool app::TMainForm::*flag;
  };
  const Case cases[] = {
      {&app::TMainForm::DrawNFSpeedButtonOnClick, &app::TMainForm::DrawNF},
      {&app::TMainForm::DrawFraeswegeSpeedButtonOnClick, &app::TMainForm::DrawFraeswege},
      {&app::TMainForm::DrawNummerSpeedButtonOnClick, &app::TMainForm::DrawNummer},
      {&app::TMainForm::DrawLeerfahrtenSpeedButtonOnClick, &app::TMainForm::DrawLeerfahrten},
  };
  for (const Case& c : cases) {
    for (const bool down : {true, false}) {
      const int repaints = view_->repaints;
      (form().*c.handler)(down);
      EXPECT_EQ(form().*c.flag, down);
      EXPECT_GT(view_->repaints, repaints);
    }
  }
}

}  // namespace
