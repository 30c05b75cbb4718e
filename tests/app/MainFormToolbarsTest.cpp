// The toolbars' input checks, their fit buttons and the status bar texts.
#include <string>

#include "MainFormFixture.h"

namespace {

using apptest::MainFormTest;
using panel::DocumentKind;
using platform::MsgResult;

class MainFormToolbars : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    start();
    ui_.clear();
  }

  void typeAbmessungen(const char* breite, const char* hoehe, const char* tiefe, const char* durchmesser,
                       const char* sicherheit) {
    form().xAMEdit.Text = breite;
    form().yAMEdit.Text = hoehe;
    form().zAMEdit.Text = tiefe;
    form().AMFDurchmesserEdit.Text = durchmesser;
    form().zAMSicherEdit.Text = sicherheit;
    form().AbmessungenOnExit();
  }
};

TEST_F(MainFormToolbars, TheSizeToolbarTakesValuesInRangeAndDefaultsForTheRest) {
  struct Case {
    const char* texts[5];
    const char* shown[5];  // the edits afterwards
    double radius;
  };
  const Case cases[] = {
      {{"120.5", "80", "-1.5", "3", "2"}, {"120.50", "80.00", "-1.50", "3.00", "2.00"}, 1.5},
      {{"0", "-20", "1.5", "0", "-1"}, {"100.00", "100.00", "0.00", "2.00", "0.00"}, 1.0},
      {{"12,25", "abc", "-0,5", "1,5", "0"}, {"12.25", "100.00", "-0.50", "1.50", "0.00"}, 0.75},
      {{"", "", "", "", ""}, {"100.00", "100.00", "0.00", "2.00", "0.00"}, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.texts[0]) + " " + c.texts[1] + " " + c.texts[2] + " " + c.texts[3] + " " + c.texts[4]);
    ui_.pushAnswer(MsgResult::No);
    typeAbmessungen(c.texts[0], c.texts[1], c.texts[2], c.texts[3], c.texts[4]);
    EXPECT_EQ(form().xAMEdit.Text, c.shown[0]);
    EXPECT_EQ(form().yAMEdit.Text, c.shown[1]);
    EXPECT_EQ(form().zAMEdit.Text, c.shown[2]);
    EXPECT_EQ(form().AMFDurchmesserEdit.Text, c.shown[3]);
    EXPECT_EQ(form().zAMSicherEdit.Text, c.shown[4]);
    EXPECT_DOUBLE_EQ(form().Abmessungen.Fraeserradius, c.radius);
    EXPECT_TRUE(form().xAMEdit.Enabled);
  }
}

TEST_F(MainFormToolbars, AChangedDefaultDepthOfAPanelAsksToSetAllDepths) {
  typeAbmessungen("100", "100", "-2", "2", "0");
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "Möchten Sie 'alle Tiefen neu setzen'?\n");
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "Tessaly");
  EXPECT_EQ(ui_.messageBoxes()[0].buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(ui_.messageBoxes()[0].icon, platform::MsgIcon::Question);
  EXPECT_TRUE(form().bGeaendert);

  // Leaving it as it is asks nothing.
  ui_.clear();
  typeAbmessungen("90", "100", "-2.00", "2", "0");
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

TEST_F(MainFormToolbars, AForeignDocumentKeepsItsPanelSizeWhenAToolbarIsLeft) {
  form().Dokumenttyp = DocumentKind::Hpgl;
  form().Abmessungen.Plattenbreite = 250.0;
  form().Abmessungen.Plattenhoehe = 180.0;
  form().AbmessungenInitialize();
  EXPECT_EQ(form().xAMEdit.Text, "");
  EXPECT_FALSE(form().xAMEdit.Enabled);
  EXPECT_FALSE(form().yAMEdit.Enabled);

  typeAbmessungen("", "", "-3", "2", "1");
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, 250.0);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenhoehe, 180.0);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Standardtiefe, -3.0);
  // Only a panel document is asked about its rows' depths.
  EXPECT_TRUE(ui_.messageBoxes().empty());

  form().xNFAnzahlEdit.Text = "3";
  form().NutzenfertigungOnExit();
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, 250.0);
  form().ABAnpassenButtonOnClick();
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenhoehe, 180.0);
}

TEST_F(MainFormToolbars, TheMultiUpToolbarTakesPositiveSpacingsAndCountsFromTwo) {
  struct Case {
    const char* abstand;
    const char* anzahl;
    const char* abstandShown;
    const char* anzahlShown;
  };
  const Case cases[] = {
      {"12.5", "4", "12.50", "4"}, {"12,5", "2", "12.50", "2"}, {"-5", "1", "0.00", "1"},
      {"0", "0", "0.00", "1"},     {"x", "-3", "0.00", "1"},    {"3", "zwei", "3.00", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.abstand) + " / " + c.anzahl);
    form().xNFAbstandEdit.Text = c.abstand;
    form().yNFAbstandEdit.Text = c.abstand;
    form().xNFAnzahlEdit.Text = c.anzahl;
    form().yNFAnzahlEdit.Text = c.anzahl;
    form().NutzenfertigungOnExit();
    EXPECT_EQ(form().xNFAbstandEdit.Text, c.abstandShown);
    EXPECT_EQ(form().yNFAbstandEdit.Text, c.abstandShown);
    EXPECT_EQ(form().xNFAnzahlEdit.Text, c.anzahlShown);
    EXPECT_EQ(form().yNFAnzahlEdit.Text, c.anzahlShown);
    EXPECT_GE(form().Nutzenfertigung.xNFAnzahl, 1);
  }
}

TEST_F(MainFormToolbars, TheFitButtonsTakeTheDrawingsExtent) {
  apptest::TestPointType::appendRows(form(), 2);
  form().AnsichtNeuZeichnen();
  form().Ausdehnung.xMax = 140.0;
  form().Ausdehnung.yMax = 60.0;
  form().ABAnpassenButtonOnClick();
  EXPECT_EQ(form().xAMEdit.Text, "140.00");
  EXPECT_EQ(form().yAMEdit.Text, "60.00");

  form().AusdehnungEinzeln.xMax = 45.5;
  form().AusdehnungEinzeln.yMax = 30.0;
  form().xNFAnzahlEdit.Text = "2";
  form().NFAnpassenButtonOnClick();
  EXPECT_EQ(form().xNFAbstandEdit.Text, "45.50");
  EXPECT_EQ(form().yNFAbstandEdit.Text, "30.00");
  EXPECT_DOUBLE_EQ(form().Nutzenfertigung.xNFAbstand, 45.5);
  EXPECT_EQ(form().Nutzenfertigung.xNFAnzahl, 2);
}

TEST_F(MainFormToolbars, TheStatusBarShowsConnectionPortAndStoredPositions) {
  struct Case {
    const char* verbindung;
    double x, y, z, delta;
    const char* panel0;
    const char* panel3;
  };
  const Case cases[] = {
      {"", 0, 0, 0, 0, "--- keine Verbindung ---", " Werkstücknullpunkt:     0.00     0.00     0.00    [0.00]"},
      {"", 12.5, -3.25, 100, 0.1, "--- keine Verbindung ---",
       " Werkstücknullpunkt:    12.50    -3.25   100.00    [0.10]"},
      // Texts longer than the panel's 63 characters are cut, never inside a character.
      {"", 1e12, 2e12, 3e12, 0, "--- keine Verbindung ---",
       " Werkstücknullpunkt:   1000000000000.00   2000000000000.00   30"},
  };
  for (const Case& c : cases) {
    params_.update([&c](machine::Maschinenparameter& p) {
      p.Verbindungstext = c.verbindung;
      p.xWerkstücknullpunkt = c.x;
      p.yWerkstücknullpunkt = c.y;
      p.zWerkstücknullpunkt = c.z;
      p.zWZLdelta = c.delta;
      p.xParkposition = c.x;
      p.yParkposition = c.y;
      p.zParkposition = c.z;
    });
    form().StatusBarAktualisieren();
    EXPECT_EQ(form().StatusBar[0], c.panel0);
    EXPECT_EQ(form().StatusBar[2], " akt. Position:   -  -  -");
    EXPECT_EQ(form().StatusBar[3], c.panel3);
    EXPECT_EQ(form().StatusBar[4].rfind(" Parkposition:   ", 0), 0u);
  }
}

}  // namespace
