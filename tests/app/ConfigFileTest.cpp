// Tests of the configuration file: defaults, the layout on disk, reading by key, tolerance of
// line ends, bad values and old encodings, failing saves, and the recent-file record.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "ProgramFolder.h"
#include "app/ConfigFile.h"
#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/ScriptedUi.h"

namespace {

using app::Konfiguration;

// Every value differs from its default, and the tool values tell tool and column apart.
Konfiguration changed() {
  Konfiguration k;
  k.Verzeichnis = "/home/jörg/Frontplatten/";
  k.File_1 = "/home/jörg/Frontplatten/Gehäuse.tvx";
  k.File_2 = "/tmp/b.tvx";
  k.File_3 = "/tmp/c.plt";
  k.File_4 = "/tmp/d.tvx";
  k.Abmessungen = false;
  k.Nutzenfertigung = true;
  k.DrawFraeswege = false;
  k.DrawNummer = true;
  k.DrawLeerfahrten = true;
  for (int n = 0; n < app::kToolCount; ++n) {
    k.ToolDef.TStartfreq[n] = 100 + n;
    k.ToolDef.TArbeitsfreq[n] = 200 + n;
    k.ToolDef.TEilfreq[n] = 300 + n;
    k.ToolDef.TRampenlaenge[n] = 10 + n;
  }
  k.ToolDef.TStartfreq[5] = -1;
  k.ToolDef.TEilfreq[6] = std::numeric_limits<std::int32_t>::min();
  k.ToolDef.TRampenlaenge[6] = std::numeric_limits<std::int32_t>::max();
  return k;
}

// changed() as it must lie on disk: UTF-8 (this source is UTF-8), CR LF after every line.
const char kChangedFile[] =
    "[Files]\r\n"
    "Verzeichnis=/home/jörg/Frontplatten/\r\n"
    "File_1=/home/jörg/Frontplatten/Gehäuse.tvx\r\n"
    "File_2=/tmp/b.tvx\r\n"
    "File_3=/tmp/c.plt\r\n"
    "File_4=/tmp/d.tvx\r\n"
    "\r\n"
    "[ToolBar]\r\n"
    "Abmessungen=0\r\n"
    "Nutzenfertigung=1\r\n"
    "\r\n"
    "[Anzeige]\r\n"
    "DrawFraeswege=0\r\n"
    "DrawNummer=1\r\n"
    "DrawLeerfahrten=1\r\n"
    "\r\n"
    "[ToolDef]\r\n"
    "TStartfreq[0]=100\r\nTArbeitsfreq[0]=200\r\nTEilfreq[0]=300\r\nTRampenlaenge[0]=10\r\n"
    "TStartfreq[1]=101\r\nTArbeitsfreq[1]=201\r\nTEilfreq[1]=301\r\nTRampenlaenge[1]=11\r\n"
    "TStartfreq[2]=102\r\nTArbeitsfreq[2]=202\r\nTEilfreq[2]=302\r\nTRampenlaenge[2]=12\r\n"
    "TStartfreq[3]=103\r\nTArbeitsfreq[3]=203\r\nTEilfreq[3]=303\r\nTRampenlaenge[3]=13\r\n"
    "TStartfreq[4]=104\r\nTArbeitsfreq[4]=204\r\nTEilfreq[4]=304\r\nTRampenlaenge[4]=14\r\n"
    "TStartfreq[5]=-1\r\nTArbeitsfreq[5]=205\r\nTEilfreq[5]=305\r\nTRampenlaenge[5]=15\r\n"
    "TStartfreq[6]=106\r\nTArbeitsfreq[6]=206\r\nTEilfreq[6]=-2147483648\r\nTRampenlaenge[6]=2147483647\r\n";

class ConfigFile : public apptest::ProgramFolderTest {
 protected:
  std::filesystem::path path() const { return folder() / "veltris_konfig.dat"; }

  void writeRaw(const std::string& bytes) const { std::ofstream(path(), std::ios::binary) << bytes; }

  std::string readRaw() const {
    std::string bytes;
    platform::readFileBytes(path(), bytes);
    return bytes;
  }

  Konfiguration load(const std::string& bytes) const {
    writeRaw(bytes);
    return app::Konfig_Laden(path());
  }

  int folderEntries() const {
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder())) ++entries;
    return entries;
  }

  testsupport::ScriptedUi ui_;
};

TEST_F(ConfigFile, MissingFileGivesTheBuiltInDefaults) {
  const Konfiguration k = app::Konfig_Laden(path());
  EXPECT_EQ(k.Verzeichnis, "");
  EXPECT_EQ(k.File_1, "");
  EXPECT_EQ(k.File_2, "");
  EXPECT_EQ(k.File_3, "");
  EXPECT_EQ(k.File_4, "");
  EXPECT_TRUE(k.Abmessungen);
  EXPECT_FALSE(k.Nutzenfertigung);
  EXPECT_TRUE(k.DrawFraeswege);
  EXPECT_FALSE(k.DrawNummer);
  EXPECT_FALSE(k.DrawLeerfahrten);
  for (int n = 0; n < app::kToolCount; ++n) {
    EXPECT_EQ(k.ToolDef.TStartfreq[n], 200) << n;
    EXPECT_EQ(k.ToolDef.TArbeitsfreq[n], 400) << n;
    EXPECT_EQ(k.ToolDef.TEilfreq[n], 600) << n;
    EXPECT_EQ(k.ToolDef.TRampenlaenge[n], 100) << n;
  }
  EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(ConfigFile, SaveWritesTheSectionsInOrderAsUtf8WithCrLf) {
  ASSERT_TRUE(app::Konfig_Speichern(path(), changed(), ui_));
  EXPECT_EQ(readRaw(), kChangedFile);
  EXPECT_TRUE(ui_.calls().empty());

  const std::vector<std::string> expectedTrace = {"Konfig_Speichern()", "[ToolDef] 0", "[ToolDef] 1",
                                                  "[ToolDef] 2",        "[ToolDef] 3", "[ToolDef] 4",
                                                  "[ToolDef] 5",        "[ToolDef] 6", "Konfig_Speichern() :: End"};
  EXPECT_EQ(platform::readTextLines(machine::Protokolldatei()).lines, expectedTrace);
}

TEST_F(ConfigFile, EveryValueSurvivesSaveAndLoad) {
  // The defaults and changed() between them give each switch both values.
  for (const Konfiguration& saved : {Konfiguration{}, changed()}) {
    ASSERT_TRUE(app::Konfig_Speichern(path(), saved, ui_));
    EXPECT_EQ(app::Konfig_Laden(path()), saved) << readRaw();
  }
  // Saving over an existing file replaces it whole.
  EXPECT_EQ(folderEntries(), 2);  // the file and the trace log
}

TEST_F(ConfigFile, KeysAreFoundByNameInAnySectionWhateverTheirCase) {
  const Konfiguration k = load(
      "[Files]\n"
      "drawnummer=1\n"
      "FILE_1=/tmp/a=b.tvx\n"
      "[Anzeige]\n"
      "DrawFraeswege\n"  // no '=': not an entry
      "DrawLeerfahrten=1\n"
      "DRAWLEERFAHRTEN=0\n"  // the first line of a key wins
      "tstartfreq[6]=77\n"
      "[ToolDef]\n");
  EXPECT_TRUE(k.DrawNummer);
  EXPECT_EQ(k.File_1, "/tmp/a=b.tvx");
  EXPECT_FALSE(k.DrawFraeswege);
  EXPECT_TRUE(k.DrawLeerfahrten);
  EXPECT_EQ(k.ToolDef.TStartfreq[6], 77);

  // Absent keys give empty texts, false and 0, the tool table too, not the built-in defaults.
  EXPECT_EQ(k.Verzeichnis, "");
  EXPECT_EQ(k.File_2, "");
  EXPECT_FALSE(k.Abmessungen);
  app::ToolTable zeros;
  zeros.TStartfreq.fill(0);
  zeros.TArbeitsfreq.fill(0);
  zeros.TEilfreq.fill(0);
  zeros.TRampenlaenge.fill(0);
  zeros.TStartfreq[6] = 77;
  EXPECT_EQ(k.ToolDef, zeros);
}

TEST_F(ConfigFile, AnyLineEndIsReadAndNoneStaysInAValue) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    const Konfiguration k = load("[Files]" + eol + "File_1=/tmp/a.tvx" + eol + "Verzeichnis=/tmp/" + eol +
                                 "DrawNummer=1" + eol + "TEilfreq[0]=5");
    EXPECT_EQ(k.File_1, "/tmp/a.tvx");
    EXPECT_EQ(k.Verzeichnis, "/tmp/");
    EXPECT_TRUE(k.DrawNummer);
    EXPECT_EQ(k.ToolDef.TEilfreq[0], 5);
  }
}

TEST_F(ConfigFile, BadValuesGiveZeroOrFalse) {
  struct IntCase {
    const char* value;
    std::int32_t expected;
  };
  const IntCase ints[] = {{"abc", 0}, {"1.5", 0}, {"", 0}, {"99999999999", 0}, {" 42 ", 42}, {"-7", -7}};
  for (const auto& c : ints) {
    EXPECT_EQ(load(std::string("TRampenlaenge[3]=") + c.value).ToolDef.TRampenlaenge[3], c.expected) << c.value;
  }

  struct BoolCase {
    const char* value;
    bool expected;
  };
  const BoolCase bools[] = {{"1", true},  {" ja ", true}, {"TRUE", true}, {"wahr", true},
                            {"0", false}, {"2", false},   {"", false},    {"yes", false}};
  for (const auto& c : bools) {
    EXPECT_EQ(load(std::string("Nutzenfertigung=") + c.value).Nutzenfertigung, c.expected) << c.value;
  }
}

TEST_F(ConfigFile, AWindows1252ValueIsReadAsUtf8BesideUtf8Values) {
  // An older file wrote the folder in Windows-1252 (ö is 0xF6); the File_1 line is UTF-8.
  const Konfiguration k = load("Verzeichnis=/home/j\xF6rg/\r\nFile_1=/home/jörg/a.tvx\r\n");
  EXPECT_EQ(k.Verzeichnis, "/home/jörg/");
  EXPECT_EQ(k.File_1, "/home/jörg/a.tvx");

  ASSERT_TRUE(app::Konfig_Speichern(path(), k, ui_));
  EXPECT_NE(readRaw().find("Verzeichnis=/home/jörg/\r\n"), std::string::npos);
}

TEST_F(ConfigFile, SaveOntoADirectoryFailsWithOneBoxAndLeavesItAlone) {
  std::filesystem::create_directory(path());
  std::ofstream(path() / "inside.txt") << "kept";

  EXPECT_FALSE(app::Konfig_Speichern(path(), changed(), ui_));

  ASSERT_EQ(ui_.calls().size(), 1u);
  const testsupport::UiCall box = ui_.calls()[0];
  EXPECT_EQ(box.kind, testsupport::UiCall::Kind::MessageBox);
  EXPECT_EQ(box.caption, "Tessaly");
  EXPECT_EQ(box.icon, platform::MsgIcon::Warning);
  EXPECT_NE(box.text.find(std::strerror(EISDIR)), std::string::npos) << box.text;
  EXPECT_TRUE(std::filesystem::is_directory(path()));
  EXPECT_TRUE(std::filesystem::exists(path() / "inside.txt"));
  EXPECT_EQ(folderEntries(), 2);  // no temporary left beside it, only the trace log
}

TEST_F(ConfigFile, SaveThatFailsPartWayKeepsTheOldFile) {
  ASSERT_TRUE(app::Konfig_Speichern(path(), Konfiguration{}, ui_));
  const std::string old = readRaw();

  // A file-size limit makes the write fail part of the way through, as a full disk would.
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = app::Konfig_Speichern(path(), changed(), ui_);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(readRaw(), old);
  EXPECT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(app::Konfig_Laden(path()), Konfiguration{});
}

TEST_F(ConfigFile, ATextWithALineBreakIsWrittenEmptyAndCannotAddLines) {
  Konfiguration k = changed();
  k.File_2 = "/tmp/b.tvx\r\nTStartfreq[0]=5";
  k.Verzeichnis = "/tmp/\n";
  ASSERT_TRUE(app::Konfig_Speichern(path(), k, ui_));

  EXPECT_EQ(platform::readTextLines(path()).lines.size(), 45u);
  const Konfiguration back = app::Konfig_Laden(path());
  EXPECT_EQ(back.File_2, "");
  EXPECT_EQ(back.Verzeichnis, "");
  EXPECT_EQ(back.File_1, k.File_1);
  EXPECT_EQ(back.ToolDef, k.ToolDef);
}

TEST(RememberRecentFile, SetsFile1AndTheFolderButRefusesLineBreaks) {
  struct Case {
    const char* path;
    bool remembered;
    const char* file1;
    const char* folder;
  };
  const Case cases[] = {
      {"/home/jörg/Platten/Gehäuse.tvx", true, "/home/jörg/Platten/Gehäuse.tvx", "/home/jörg/Platten/"},
      {"/a.plt", true, "/a.plt", "/"},
      {"a.tvx", true, "a.tvx", ""},
      {"/tmp/a\n.tvx", false, "/old/x.tvx", "/old/"},
      {"/tmp/a\r.tvx", false, "/old/x.tvx", "/old/"},
  };
  for (const auto& c : cases) {
    Konfiguration k = changed();
    k.File_1 = "/old/x.tvx";
    k.Verzeichnis = "/old/";
    EXPECT_EQ(app::rememberRecentFile(k, c.path), c.remembered) << c.path;
    EXPECT_EQ(k.File_1, c.file1) << c.path;
    EXPECT_EQ(k.Verzeichnis, c.folder) << c.path;
    // The older entries are not shifted.
    EXPECT_EQ(k.File_2, "/tmp/b.tvx") << c.path;
    EXPECT_EQ(k.File_4, "/tmp/d.tvx") << c.path;
  }
}

}  // namespace
