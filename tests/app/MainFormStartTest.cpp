// The main window's start and close: the one-time initialisation with and without a controller,
// the status bar, the configuration it loads and saves, data files it cannot read, where its
// files go, and the close query and close steps.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "MainFormFixture.h"
#include "app/ConfigFile.h"
#include "machine/FailureCodes.h"
#include "platform/ProgramPath.h"

namespace {

using apptest::MainFormTest;
using platform::MsgResult;

constexpr const char* kKeinePosition = " akt. Position:   -  -  -";

TEST_F(MainFormTest, WithoutAControllerTheInitialisationRunsOnceAndShowsNoConnection) {
  create();
  EXPECT_TRUE(form().OnActivate());
  EXPECT_EQ(form().Caption, "Tessaly");
  // Another activation before the timer has fired arms nothing more and keeps the bare name.
  EXPECT_FALSE(form().OnActivate());
  EXPECT_EQ(form().Caption, "Tessaly");
  EXPECT_FALSE(form().bInitFertig);

  form().InitTimerTimer();
  EXPECT_TRUE(form().bInitFertig);
  EXPECT_FALSE(form().bSteuerungVerbunden);
  EXPECT_EQ(form().Fenstertitel, "Tessaly für Cobalt-Kyro   22.01.13         ");
  EXPECT_EQ(form().Caption, "Tessaly für Cobalt-Kyro   22.01.13         neu.tvx");
  EXPECT_EQ(form().StatusBar[0], "--- keine Verbindung ---");
  EXPECT_EQ(form().StatusBar[2], kKeinePosition);
  EXPECT_EQ(form().StatusBar[3], " Werkstücknullpunkt:     0.00     0.00     0.00    [0.00]");
  // Not connected and not simulating: nothing can be started.
  EXPECT_FALSE(form().FraesenStartenBitBtn.Enabled);
  EXPECT_TRUE(ui_.messageBoxes().empty());

  // A later tick connects no second time; every activation shows the bare program name again.
  form().InitTimerTimer();
  EXPECT_FALSE(form().OnActivate());
  EXPECT_EQ(factory_.created, 1);
  EXPECT_EQ(form().Caption, "Tessaly");
}

TEST_F(MainFormTest, WithAControllerTheStatusBarShowsItsVersionPortAndPosition) {
  factory_.attached = true;
  factory_.controller.setPosition(400, 800, -1200);
  start({"veltris", "/zelko"});
  EXPECT_TRUE(form().bSteuerungVerbunden);
  EXPECT_EQ(form().Fenstertitel, "Tessaly für Cobalt-Kyro   22.01.13      /ZELKO    ");
  EXPECT_EQ(form().StatusBar[0], "Cobalt-Kyro V1.0");
  EXPECT_EQ(form().StatusBar[1], "COM1");
  EXPECT_EQ(form().StatusBar[2], " akt. Position:     1.00     2.00    -3.00");
  EXPECT_TRUE(form().FraesenStartenBitBtn.Enabled);
  EXPECT_EQ(factory_.controller.callsStartingWith("Connect").size(), 1u);
}

TEST_F(MainFormTest, AFailingPositionReadShowsDashesAndATraceLineWithoutABox) {
  factory_.attached = true;
  start();
  factory_.positionFailure = machine::WAIT_TIMEOUT;
  form().RightPageControlOnChange();
  EXPECT_EQ(form().StatusBar[2], kKeinePosition);
  EXPECT_EQ(form().StatusBar[0], "Cobalt-Kyro V1.0");
  EXPECT_EQ(traceCount("StatusBarAktualisieren(): Position nicht lesbar, Fehlercode 1012"), 1);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

// The open and save dialogs start in the folder of the last document, or in the program's folder
// before there is one.
TEST_F(MainFormTest, TheFileDialogsStartInTheLastDocumentsFolder) {
  const auto openedIn = [this] {
    ui_.clear();
    form().MenuSchliessenOnClick();
    form().MenuOeffnenOnClick();
    for (const auto& call : ui_.calls()) {
      if (call.kind == testsupport::UiCall::Kind::OpenDialog) return call.dialog.initialDir;
    }
    return std::string("(kein Dialog)");
  };
  start();
  EXPECT_EQ(openedIn(), folder().string());

  const auto documents = folder() / "dokumente";
  std::filesystem::create_directories(documents);
  {
    std::ofstream file(folder() / "veltris_konfig.dat", std::ios::binary);
    file << "[Files]\r\nVerzeichnis=" << documents.string() << "\r\n";
  }
  form_.reset();
  start();
  EXPECT_EQ(openedIn(), documents.string());
}

TEST_F(MainFormTest, TheConfigurationIsLoadedIntoTheWindowAndSavedBackAtClose) {
  {
    std::ofstream file(folder() / "veltris_konfig.dat", std::ios::binary);
    file << "[Files]\r\nFile_1=/daten/gehaeuse.tvx\r\n[Anzeige]\r\nDrawNummer=1\r\nNutzenfertigung=1\r\n"
            "TStartfreq[0]=123\r\n";
  }
  start();
  EXPECT_EQ(form().MenuFile1.Caption, "&1 /daten/gehaeuse.tvx");
  EXPECT_TRUE(form().DrawNummer);
  EXPECT_FALSE(form().DrawFraeswege);
  EXPECT_TRUE(form().MenuNutzenfertigung.Checked);
  EXPECT_TRUE(form().NutzenfertigungToolBar.Visible);
  EXPECT_FALSE(form().AbmessungenToolBar.Visible);
  EXPECT_EQ(form().ToolDef.TStartfreq[0], 123);
  EXPECT_EQ(form().ToolDef.TArbeitsfreq[0], 0);

  form().ToolDef.TEilfreq[6] = 777;
  form().MenuAbmessungenOnClick();
  form().OnClose();
  const app::Konfiguration saved = app::Konfig_Laden(folder() / "veltris_konfig.dat");
  EXPECT_EQ(saved.ToolDef.TEilfreq[6], 777);
  EXPECT_EQ(saved.File_1, "/daten/gehaeuse.tvx");
  EXPECT_TRUE(saved.Abmessungen);
  EXPECT_TRUE(saved.DrawNummer);
}

// A FIFO in place of the configuration file used to block the start for good, and a folder in
// place of the parameter file was noted only in the trace log. Both are refused at once, each
// with a box saying why, and the program starts on the defaults.
TEST_F(MainFormTest, DataFilesThatCannotBeReadAreReportedAndTheDefaultsTaken) {
  ASSERT_EQ(::mkfifo((folder() / "veltris_konfig.dat").c_str(), 0600), 0);
  std::filesystem::create_directories(folder() / "veltris_param.dat");
  start();
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, (folder() / "veltris_konfig.dat").string() + "\nkeine gewöhnliche Datei");
  const std::string param = (folder() / "veltris_param.dat").string();
  EXPECT_EQ(boxes[1].text, param + "\n" + std::strerror(EISDIR) +
                               "\n\nEs gelten die Vorgabewerte der Maschinenparameter. Die Datei bleibt erhalten: "
                               "bevor die Parameter gespeichert werden, wird sie umbenannt in\n" +
                               param + ".unlesbar");
  EXPECT_EQ(boxes[1].caption, "Tessaly");
  EXPECT_EQ(boxes[1].icon, platform::MsgIcon::Warning);
  EXPECT_TRUE(form().DrawFraeswege);  // the built-in defaults
  EXPECT_EQ(form().ToolDef.TStartfreq[0], 200);
  EXPECT_EQ(params_.snapshot().Modul, 5);
  EXPECT_EQ(params_.snapshot().LPTAdresse, 0x378);
  EXPECT_TRUE(form().bInitFertig);
}

// The port used to open at 9600, 19200 and 115200 only; any other rate left the program
// unconnected without a word. Every rate the serial port has now opens; one it has not is named
// in a box at the connection step, and nothing is opened. The synchronous modules run at their
// own rate whatever the file holds.
TEST_F(MainFormTest, TheParameterFilesBaudRateOpensOrIsNamedInABox) {
  struct Case {
    const char* datei;
    bool verbunden;
    const char* init;  // the driver's Init, or empty when none was made
    const char* box;   // the rate named, or empty for no box
  };
  const Case cases[] = {
      {"Modul=5\r\nComPort=1\r\nBaudrate=57600\r\n", true, "Init 1 57600", ""},
      {"Modul=6\r\nComPort=2\r\nBaudrate=230400\r\n", true, "Init 2 230400", ""},
      {"Modul=5\r\nComPort=1\r\nBaudrate=12345\r\n", false, "", "12345"},
      {"Modul=10\r\nComPort=1\r\n", false, "", "0"},
      {"Modul=2\r\nComPort=1\r\nBaudrate=12345\r\n", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.datei);
    form_.reset();
    { std::ofstream(folder() / "veltris_param.dat", std::ios::binary) << c.datei; }
    ui_.clear();
    factory_.attached = true;
    factory_.controller.clearCalls();
    start();
    EXPECT_EQ(form().bSteuerungVerbunden.load(), c.verbunden);
    const auto inits = factory_.controller.callsStartingWith("Init");
    EXPECT_EQ(inits, std::string(c.init).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.init});
    const auto boxes = ui_.messageBoxes();
    if (std::string(c.box).empty()) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Baudrate " + std::string(c.box) + " "), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, "Tessaly");
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
    // The port texts are shown as for any other rate.
    EXPECT_EQ(form().StatusBar[0], "--- keine Verbindung ---");
    EXPECT_EQ(form().StatusBar[1], "COM1");
  }
}

// A parameter file the program cannot read (here one an editor saved as UTF-16) used to leave
// every parameter at 0, and the parameter dialog's OK wrote those zeros over it. Now the start
// takes the defaults and says so once; the file stays as it is, and the OK keeps it beside the
// new one under the name the box gave.
TEST_F(MainFormTest, AnUnreadableParameterFileOutlivesTheStartAndTheParameterDialogsOk) {
  const std::filesystem::path param = folder() / "veltris_param.dat";
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Modul=6\r\nComPort=3\r\n")) utf16 += std::string{c, '\0'};
  const auto write = [](const std::filesystem::path& at, const std::string& bytes) {
    std::ofstream(at, std::ios::binary) << bytes;
  };
  const auto bytesOf = [](const std::filesystem::path& at) {
    std::string bytes;
    return platform::readFileBytes(at, bytes) ? bytes : std::string("(nicht lesbar)");
  };
  write(param, utf16);

  factory_.attached = true;
  start();
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_NE(ui_.messageBoxes()[0].text.find(param.string() + ".unlesbar"), std::string::npos);
  EXPECT_EQ(params_.snapshot().Modul, 5);
  EXPECT_TRUE(form().bSteuerungVerbunden);
  EXPECT_EQ(bytesOf(param), utf16);

  form().dialogEinsetzen(app::ModalDialog::Parameter, [&] {
    form().ParameterDlg.OnActivate();
    form().ParameterDlg.modulOKBitBtnClick();
  });
  form().MenuParameterOnClick();
  EXPECT_EQ(bytesOf(param.string() + ".unlesbar"), utf16);
  EXPECT_EQ(bytesOf(param).substr(0, 9), "Modul=5\r\n");
  EXPECT_EQ(ui_.messageBoxes().size(), 1u);

  // The next start reads the new file and says nothing.
  form_.reset();
  ui_.clear();
  start();
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_EQ(bytesOf(param.string() + ".unlesbar"), utf16);
}

TEST_F(MainFormTest, FilesLieBesideTheProgramAndTheTraceLogGoesAtClose) {
  factory_.attached = true;
  start();
  EXPECT_EQ(form().Konfigdatei, folder() / "veltris_konfig.dat");
  EXPECT_EQ(params_.snapshot().Parameterdatei, (folder() / "veltris_param.dat").string());
  EXPECT_TRUE(std::filesystem::exists(machine::Protokolldatei()));

  form().OnClose();
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
  EXPECT_TRUE(std::filesystem::exists(folder() / "veltris_konfig.dat"));
  EXPECT_FALSE(form().FraesThreadLaeuft());
  EXPECT_EQ(factory_.controller.callsStartingWith("UnInit").size(), 1u);
}

TEST_F(MainFormTest, AProgramFolderThatIsNotWritableMovesTheFilesToTheFallbackFolder) {
  fallback_ = folder() / "config" / "veltris";
  writable_ = [](const std::filesystem::path&) { return false; };
  start();
  EXPECT_EQ(form().Programmordner, fallback_);
  EXPECT_EQ(platform::programFolder(), fallback_);
  EXPECT_EQ(params_.snapshot().Parameterdatei, (fallback_ / "veltris_param.dat").string());
  EXPECT_EQ(machine::Protokolldatei(), fallback_ / "~protokoll.log");
  EXPECT_EQ(traceCount("Programmordner: " + fallback_.string() + " (XDG)"), 1);

  form().OnClose();
  EXPECT_TRUE(std::filesystem::exists(fallback_ / "veltris_konfig.dat"));
  EXPECT_FALSE(std::filesystem::exists(folder() / "veltris_konfig.dat"));
}

TEST_F(MainFormTest, TheTimeSwitchStampsTheDevelopmentFilesInTheProgramFolder) {
  { std::ofstream(folder() / "notizen.txt") << "x"; }
  create({"veltris", "/time"});
  struct stat st {};
  ASSERT_EQ(::stat((folder() / "notizen.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1358841600);  // 2013-01-22 08:00:00 UTC
  EXPECT_EQ(st.st_atim.tv_sec, 1358841600);
}

struct CloseQueryCase {
  std::vector<std::string> args;
  std::vector<MsgResult> answers;
  bool expectQuestion;
  bool expectClose;
  friend std::ostream& operator<<(std::ostream& os, const CloseQueryCase& c) {
    os << c.args.back();
    for (MsgResult answer : c.answers) os << (answer == MsgResult::Yes ? " Yes" : " No");
    return os;
  }
};

class CloseQuery : public MainFormTest, public ::testing::WithParamInterface<CloseQueryCase> {};

TEST_P(CloseQuery, AsksUnlessInDevelopmentMode) {
  const CloseQueryCase& c = GetParam();
  for (MsgResult answer : c.answers) ui_.pushAnswer(answer);
  start(c.args);
  EXPECT_EQ(form().OnCloseQuery(), c.expectClose);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), c.expectQuestion ? 1u : 0u);
  if (c.expectQuestion) {
    EXPECT_EQ(boxes[0].text, "Möchten Sie das Programm wirklich beenden?\n");
    EXPECT_EQ(boxes[0].caption, "Tessaly");
    EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Question);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseQuery,
                         ::testing::Values(CloseQueryCase{{"veltris"}, {MsgResult::Yes}, true, true},
                                           CloseQueryCase{{"veltris"}, {MsgResult::No}, true, false},
                                           CloseQueryCase{{"veltris", "/Entwicklung"}, {}, false, true}));

// The close leaves nothing switched on: spindle, coolant pump and extraction go off before the
// link closes, whatever the check boxes say (a command file's own lines may have switched them).
// Without a controller nothing is sent.
TEST_F(MainFormTest, TheCloseSwitchesEveryOutputOffBeforeTheLinkCloses) {
  factory_.attached = true;
  start();
  form().SpindelmotorCheckBox.Checked = false;
  form().KuehlmittelpumpeCheckBox.Checked = false;
  form().AbsaugungCheckBox.Checked = false;
  factory_.controller.clearCalls();
  form().OnClose();
  const auto calls = factory_.controller.calls();
  const auto unInit = std::find(calls.begin(), calls.end(), "UnInit");
  ASSERT_NE(unInit, calls.end());
  EXPECT_EQ(std::vector<std::string>(calls.begin(), unInit),
            (std::vector<std::string>{"Ausgangssignal_setzen 1 0", "Ausgangssignal_setzen 2 0",
                                      "Ausgangssignal_setzen 3 0"}));
}

TEST_F(MainFormTest, EachCloseStepRunsWhateverTheOthersDo) {
  factory_.attached = true;
  start();
  // The configuration cannot be replaced (a folder holds its name) and the link fails to close.
  std::filesystem::create_directory(form().Konfigdatei);
  factory_.controller.onCall = [](const std::string& call, int) {
    if (call == "UnInit") throw machine::RS_ERROR;
  };

  EXPECT_NO_THROW(form().OnClose());
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
  EXPECT_EQ(factory_.controller.callsStartingWith("UnInit").size(), 1u);
  EXPECT_FALSE(form().FraesThreadLaeuft());
  EXPECT_FALSE(form().bSteuerungVerbunden);
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
}

}  // namespace
