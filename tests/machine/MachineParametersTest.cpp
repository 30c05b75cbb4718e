// Tests of the machine parameter record: defaults, file names, the parameter file's layout on
// disk, reading (keys, conversions, range checks) and failing writes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

#include "machine/MachineParameters.h"
#include "platform/TextFile.h"
#include "support/ScriptedUi.h"
#include "support/TempFolder.h"

namespace {

using machine::Maschinenparameter;

struct IntField {
  const char* key;
  std::int32_t Maschinenparameter::*member;
};
struct DoubleField {
  const char* key;
  double Maschinenparameter::*member;
};

// Every persisted field with its key. RefAktiv is an array and is checked on its own.
const IntField kIntFields[] = {
    {"Modul", &Maschinenparameter::Modul},
    {"LPTAdresse", &Maschinenparameter::LPTAdresse},
    {"ComPort", &Maschinenparameter::ComPort},
    {"Baudrate", &Maschinenparameter::Baudrate},
    {"Startfreq", &Maschinenparameter::Startfreq},
    {"Arbeitsfreq", &Maschinenparameter::Arbeitsfreq},
    {"Eilfreq", &Maschinenparameter::Eilfreq},
    {"Rampenlaenge", &Maschinenparameter::Rampenlaenge},
    {"xMotStep", &Maschinenparameter::xMotStep},
    {"yMotStep", &Maschinenparameter::yMotStep},
    {"zMotStep", &Maschinenparameter::zMotStep},
    {"uMotStep", &Maschinenparameter::uMotStep},
    {"Steuersignal", &Maschinenparameter::Steuersignal},
    {"Schrittbetrieb", &Maschinenparameter::Schrittbetrieb},
    {"Ruhestrom", &Maschinenparameter::Ruhestrom},
    {"ZBetrieb", &Maschinenparameter::ZBetrieb},
    {"UBetrieb", &Maschinenparameter::UBetrieb},
    {"RefFreq", &Maschinenparameter::RefFreq},
    {"xRefNr", &Maschinenparameter::xRefNr},
    {"yRefNr", &Maschinenparameter::yRefNr},
    {"zRefNr", &Maschinenparameter::zRefNr},
    {"uRefNr", &Maschinenparameter::uRefNr},
};
const DoubleField kDoubleFields[] = {
    {"xUebersetz", &Maschinenparameter::xUebersetz},
    {"yUebersetz", &Maschinenparameter::yUebersetz},
    {"zUebersetz", &Maschinenparameter::zUebersetz},
    {"uUebersetz", &Maschinenparameter::uUebersetz},
    {"xRefOffset", &Maschinenparameter::xRefOffset},
    {"yRefOffset", &Maschinenparameter::yRefOffset},
    {"zRefOffset", &Maschinenparameter::zRefOffset},
    {"uRefOffset", &Maschinenparameter::uRefOffset},
    {"xWerkstücknullpunkt", &Maschinenparameter::xWerkstücknullpunkt},
    {"yWerkstücknullpunkt", &Maschinenparameter::yWerkstücknullpunkt},
    {"zWerkstücknullpunkt", &Maschinenparameter::zWerkstücknullpunkt},
    {"uWerkstücknullpunkt", &Maschinenparameter::uWerkstücknullpunkt},
    {"xParkposition", &Maschinenparameter::xParkposition},
    {"yParkposition", &Maschinenparameter::yParkposition},
    {"zParkposition", &Maschinenparameter::zParkposition},
    {"uParkposition", &Maschinenparameter::uParkposition},
    {"xWZLMessposition", &Maschinenparameter::xWZLMessposition},
    {"yWZLMessposition", &Maschinenparameter::yWZLMessposition},
    {"zWZLMessposition", &Maschinenparameter::zWZLMessposition},
    {"zWZLdelta", &Maschinenparameter::zWZLdelta},
    {"xWZWechselposition", &Maschinenparameter::xWZWechselposition},
    {"yWZWechselposition", &Maschinenparameter::yWZWechselposition},
    {"zWZWechselposition", &Maschinenparameter::zWZWechselposition},
    {"uWZWechselposition", &Maschinenparameter::uWZWechselposition},
};

void expectSamePersisted(const Maschinenparameter& actual, const Maschinenparameter& expected) {
  for (const auto& f : kIntFields) EXPECT_EQ(actual.*f.member, expected.*f.member) << f.key;
  for (const auto& f : kDoubleFields) EXPECT_DOUBLE_EQ(actual.*f.member, expected.*f.member) << f.key;
  EXPECT_EQ(actual.RefAktiv, expected.RefAktiv);
}

Maschinenparameter defaults() {
  Maschinenparameter p;
  machine::Parameter_Vorbelegen(p);
  return p;
}

// The defaults as they must lie on disk: Windows-1252 (ü is 0xFC), CR LF, groups separated by
// one empty line and no empty line at the end.
const char kDefaultFile[] =
    "Modul=5\r\n"
    "\r\n"
    "LPTAdresse=888\r\nComPort=1\r\nBaudrate=115200\r\n"
    "\r\n"
    "Startfreq=200\r\nArbeitsfreq=400\r\nEilfreq=600\r\nRampenlaenge=200\r\n"
    "\r\n"
    "xUebersetz=1.00\r\nyUebersetz=1.00\r\nzUebersetz=1.00\r\nuUebersetz=1.00\r\n"
    "\r\n"
    "xMotStep=400\r\nyMotStep=400\r\nzMotStep=400\r\nuMotStep=400\r\n"
    "\r\n"
    "Steuersignal=0\r\nSchrittbetrieb=0\r\nRuhestrom=1\r\nZBetrieb=1\r\nUBetrieb=0\r\n"
    "\r\n"
    "xRefOffset=0.25\r\nyRefOffset=0.25\r\nzRefOffset=0.25\r\nuRefOffset=0.25\r\n"
    "\r\n"
    "xRefNr=2\r\nyRefNr=3\r\nzRefNr=1\r\nuRefNr=4\r\n"
    "\r\n"
    "RefFreq=400\r\n"
    "\r\n"
    "RefAktiv[0]=1\r\nRefAktiv[1]=1\r\nRefAktiv[2]=1\r\nRefAktiv[3]=0\r\n"
    "\r\n"
    "xWerkst\xFC"
    "cknullpunkt=0.00\r\nyWerkst\xFC"
    "cknullpunkt=0.00\r\n"
    "zWerkst\xFC"
    "cknullpunkt=0.00\r\nuWerkst\xFC"
    "cknullpunkt=0.00\r\n"
    "\r\n"
    "xParkposition=0.00\r\nyParkposition=0.00\r\nzParkposition=0.00\r\nuParkposition=0.00\r\n"
    "\r\n"
    "xWZLMessposition=0.00\r\nyWZLMessposition=0.00\r\nzWZLMessposition=0.00\r\nzWZLdelta=0.00\r\n"
    "\r\n"
    "xWZWechselposition=0.00\r\nyWZWechselposition=0.00\r\nzWZWechselposition=0.00\r\nuWZWechselposition=0.00\r\n";

class ParameterFile : public ::testing::Test {
 protected:
  std::string path() const { return (folder_ / "veltris_param.dat").string(); }

  void writeRaw(const std::string& bytes) const { std::ofstream(path(), std::ios::binary) << bytes; }

  std::string readRaw() const {
    std::string bytes;
    platform::readFileBytes(path(), bytes);
    return bytes;
  }

  // Loads `bytes` as the parameter file into a record that held something else before.
  Maschinenparameter load(const std::string& bytes) const {
    writeRaw(bytes);
    Maschinenparameter p = defaults();
    p.Parameterdatei = path();
    EXPECT_TRUE(machine::Parameter_Laden(p));
    return p;
  }

  testsupport::TempFolder folder_;
  testsupport::ScriptedUi ui_;
};

TEST(ParamDateiname, LowerCaseNameWithoutExtensionAndSuffix) {
  struct Case {
    std::string program;
    std::string param;
    std::string konfig;
  };
  const Case cases[] = {
      {"veltris", "veltris_param.dat", "veltris_konfig.dat"},
      {"veltris.exe", "veltris_param.dat", "veltris_konfig.dat"},
      {"Veltris.EXE", "veltris_param.dat", "veltris_konfig.dat"},
      {"Fräse.exe", "fräse_param.dat", "fräse_konfig.dat"},
      {"my.tool.exe", "my.tool_param.dat", "my.tool_konfig.dat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(machine::ParamDateiname(c.program), c.param) << c.program;
    EXPECT_EQ(machine::KonfigDateiname(c.program), c.konfig) << c.program;
  }
}

TEST(SetVerbindungstext, CutsAtFortyOneBytesOnACharacterBoundary) {
  Maschinenparameter p;
  machine::setVerbindungstext(p, "Korund-Steuerung V2.13");
  EXPECT_EQ(p.Verbindungstext, "Korund-Steuerung V2.13");
  machine::setVerbindungstext(p, std::string(50, 'a'));
  EXPECT_EQ(p.Verbindungstext, std::string(41, 'a'));
  // "ä" is two bytes at 41 and 42: keeping the first alone would leave broken UTF-8.
  machine::setVerbindungstext(p, std::string(40, 'a') + "äbc");
  EXPECT_EQ(p.Verbindungstext, std::string(40, 'a'));
  machine::setVerbindungstext(p, std::string(39, 'a') + "äbc");
  EXPECT_EQ(p.Verbindungstext, std::string(39, 'a') + "ä");
  machine::setVerbindungstext(p, "Cobalt-Kyro V3.1\x06");  // a controller's answer ends in ACK
  EXPECT_EQ(p.Verbindungstext, "Cobalt-Kyro V3.1");
}

TEST_F(ParameterFile, DefaultsAreWrittenInTheFileLayout) {
  Maschinenparameter p = defaults();
  p.Parameterdatei = path();
  ASSERT_TRUE(machine::Parameter_Speichern(p, ui_));
  EXPECT_EQ(readRaw(), kDefaultFile);
  EXPECT_TRUE(ui_.calls().empty());
}

TEST_F(ParameterFile, EveryFieldSurvivesSaveAndLoad) {
  Maschinenparameter saved;
  saved.Parameterdatei = path();
  std::int32_t next = 6;  // Modul 6 keeps zWZLdelta
  for (const auto& f : kIntFields) saved.*f.member = next++;
  saved.Steuersignal = 1;
  saved.Schrittbetrieb = 1;
  saved.Ruhestrom = 2;
  saved.ZBetrieb = 2;
  saved.UBetrieb = 1;
  saved.LPTAdresse = -1;
  saved.Baudrate = std::numeric_limits<std::int32_t>::max();
  saved.RefAktiv = {0, 1, 0, 1};
  double value = -3.25;
  for (const auto& f : kDoubleFields) {
    saved.*f.member = value;
    value += 1.5;
  }
  saved.xParkposition = 1000000.0;  // must not be written in exponent form
  saved.yParkposition = -12.5;
  ASSERT_TRUE(machine::Parameter_Speichern(saved, ui_));

  Maschinenparameter loaded;
  loaded.Parameterdatei = path();
  loaded.Verbindungstext = "Korund";
  ASSERT_TRUE(machine::Parameter_Laden(loaded));
  expectSamePersisted(loaded, saved);
  EXPECT_EQ(loaded.Verbindungstext, "Korund");

  const std::string bytes = readRaw();
  EXPECT_NE(bytes.find("\r\nxParkposition=1000000.00\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nyParkposition=-12.50\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nLPTAdresse=-1\r\n"), std::string::npos);
}

TEST_F(ParameterFile, DoublesAreRoundedToTwoDecimalsAndSixDigits) {
  Maschinenparameter saved = defaults();
  saved.Parameterdatei = path();
  saved.xUebersetz = 2.345678;
  saved.yUebersetz = 12345.678;
  saved.zUebersetz = -0.001;
  saved.uUebersetz = 0.004;
  ASSERT_TRUE(machine::Parameter_Speichern(saved, ui_));
  const std::string bytes = readRaw();
  EXPECT_NE(bytes.find("xUebersetz=2.35\r\nyUebersetz=12345.70\r\nzUebersetz=0.00\r\nuUebersetz=0.00\r\n"),
            std::string::npos);
}

// A parameter of 4e28 was written as a text longer than the number reader takes and came back
// as 0. It is written at the bound of 1e9 now, as is one read from the file, and reads back so.
TEST_F(ParameterFile, AHugeValueIsWrittenAtTheBoundAndReadsBackAsItself) {
  Maschinenparameter saved = defaults();
  saved.Parameterdatei = path();
  saved.xUebersetz = 4e28;
  saved.zWerkstücknullpunkt = -4e28;
  ASSERT_TRUE(machine::Parameter_Speichern(saved, ui_));
  const std::string bytes = readRaw();
  EXPECT_NE(bytes.find("\r\nxUebersetz=1000000000.00\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nzWerkst\xFC"
                       "cknullpunkt=-1000000000.00\r\n"),
            std::string::npos);
  const Maschinenparameter loaded = load(bytes);
  EXPECT_DOUBLE_EQ(loaded.xUebersetz, 1e9);
  EXPECT_DOUBLE_EQ(loaded.zWerkstücknullpunkt, -1e9);
  EXPECT_DOUBLE_EQ(load("yUebersetz=9999999999999999999999999999999\r\n").yUebersetz, 1e9);
}

TEST_F(ParameterFile, MissingFileGivesDefaultsAndWritesNothing) {
  Maschinenparameter p;
  for (const auto& f : kIntFields) p.*f.member = 77;
  p.Parameterdatei = path();
  p.Schnittstellentext = "COM3";
  ASSERT_TRUE(machine::Parameter_Laden(p));
  expectSamePersisted(p, defaults());
  EXPECT_EQ(p.Schnittstellentext, "COM3");
  EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(ParameterFile, MissingKeysGiveZeroThenTheRangeChecks) {
  const Maschinenparameter p = load("Modul=2\r\n");
  Maschinenparameter expected;
  expected.Modul = 2;
  expected.ZBetrieb = 1;
  expectSamePersisted(p, expected);
}

TEST_F(ParameterFile, RangeChecksOfTheDriveSettings) {
  struct Case {
    std::string line;
    std::int32_t Maschinenparameter::*member;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"Steuersignal=7", &Maschinenparameter::Steuersignal, 1},
      {"Steuersignal=-1", &Maschinenparameter::Steuersignal, 1},
      {"Steuersignal=0", &Maschinenparameter::Steuersignal, 0},
      {"Schrittbetrieb=2", &Maschinenparameter::Schrittbetrieb, 1},
      {"Schrittbetrieb=-1", &Maschinenparameter::Schrittbetrieb, 1},
      {"Schrittbetrieb=0", &Maschinenparameter::Schrittbetrieb, 0},
      {"Ruhestrom=-1", &Maschinenparameter::Ruhestrom, 0},
      {"Ruhestrom=3", &Maschinenparameter::Ruhestrom, 0},
      {"Ruhestrom=2", &Maschinenparameter::Ruhestrom, 2},
      {"ZBetrieb=0", &Maschinenparameter::ZBetrieb, 1},
      {"ZBetrieb=3", &Maschinenparameter::ZBetrieb, 1},
      {"ZBetrieb=2", &Maschinenparameter::ZBetrieb, 2},
      {"UBetrieb=3", &Maschinenparameter::UBetrieb, 0},
      {"UBetrieb=-1", &Maschinenparameter::UBetrieb, 0},
      {"UBetrieb=1", &Maschinenparameter::UBetrieb, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(load(c.line + "\r\n").*c.member, c.expected) << c.line;
}

TEST_F(ParameterFile, ValuesAreReadTolerantly) {
  struct Case {
    std::string line;
    double expected;
    double (*get)(const Maschinenparameter&);
  };
  const auto xUebersetz = [](const Maschinenparameter& p) { return p.xUebersetz; };
  const auto xRefNr = [](const Maschinenparameter& p) { return double(p.xRefNr); };
  const auto baud = [](const Maschinenparameter& p) { return double(p.Baudrate); };
  const auto lpt = [](const Maschinenparameter& p) { return double(p.LPTAdresse); };
  const Case cases[] = {
      {"xUebersetz=2,5", 2.5, xUebersetz},
      {"xUebersetz=2.5", 2.5, xUebersetz},
      {"xUebersetz= 2 , 5 ", 2.5, xUebersetz},
      {"xUebersetz=2.5mm", 0.0, xUebersetz},
      {"xUebersetz=1e6", 0.0, xUebersetz},
      {"xRefNr=2.9", 2, xRefNr},
      {"xRefNr=2,9", 2, xRefNr},
      {"xRefNr=-2.9", -2, xRefNr},
      {"xRefNr=99999999999", 1e9, xRefNr},
      {"Baudrate=115 200", 115200, baud},
      {"Baudrate=19200.0", 0, baud},
      {"LPTAdresse=0x378", 0, lpt},
      {"LPTAdresse=", 0, lpt},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.get(load(c.line + "\r\n")), c.expected) << c.line;
}

TEST_F(ParameterFile, ToolLengthDifferenceOnlyForControllerTypesFiveAndSix) {
  struct Case {
    std::string file;
    double expected;
  };
  const Case cases[] = {
      {"Modul=5\r\nzWZLdelta=1.50\r\n", 1.5},  {"Modul=6\r\nzWZLdelta=1.50\r\n", 1.5},
      {"zWZLdelta=1.50\r\nModul=6\r\n", 1.5},  {"Modul=0\r\nzWZLdelta=1.50\r\n", 0.0},
      {"Modul=1\r\nzWZLdelta=1.50\r\n", 0.0},  {"Modul=2\r\nzWZLdelta=1.50\r\n", 0.0},
      {"Modul=10\r\nzWZLdelta=1.50\r\n", 0.0}, {"zWZLdelta=1.50\r\n", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(load(c.file).zWZLdelta, c.expected) << c.file;
}

TEST_F(ParameterFile, EveryLineEndLeavesCleanValues) {
  // A CR left on "5" would read as 0 and select another controller type.
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    const Maschinenparameter p = load("Modul=5" + eol + "zWZLdelta=1,25" + eol + "RefAktiv[3]=1" + eol);
    EXPECT_EQ(p.Modul, 5);
    EXPECT_DOUBLE_EQ(p.zWZLdelta, 1.25);
    EXPECT_EQ(p.RefAktiv[3], 1);
  }
}

TEST_F(ParameterFile, KeysMatchWithoutRegardToCaseAndTheFirstLineWins) {
  EXPECT_EQ(load("modul=3\r\nModul=4\r\n").Modul, 3);
  EXPECT_EQ(load("MODUL=4\r\nmodul=3\r\n").Modul, 4);
  EXPECT_EQ(load("Modul\r\nModul=6\r\n").Modul, 6);  // a line without '=' holds no key
  EXPECT_EQ(load("Modul=5=6\r\nModul=6\r\n").Modul, 0);
  EXPECT_EQ(load("Modul =5\r\nComPort=2\r\n").Modul, 0);
  // Ü and ü differ in their byte; the key still matches, from a Windows-1252 or a UTF-8 file.
  EXPECT_DOUBLE_EQ(load("XWERKST\xDC"
                        "CKNULLPUNKT=1,5\r\n")
                       .xWerkstücknullpunkt,
                   1.5);
  EXPECT_DOUBLE_EQ(load("yWerkstücknullpunkt=-2.5\r\n").yWerkstücknullpunkt, -2.5);
}

// A parameter file that cannot be read used to leave the record at zeros (controller type 0 at
// port 0x0), which the next save wrote over the user's file. It gives the defaults instead, and
// the first save keeps the file under a name of its own; every later save replaces only the file
// the program wrote.
TEST_F(ParameterFile, AFileThatCannotBeReadGivesTheDefaultsAndIsKeptBeforeTheFirstSave) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
  };
  const std::string utf16(
      "M\0o\0d\0u\0l\0=\0"
      "2\0\r\0\n\0",
      18);
  const Case cases[] = {
      {"a folder", [](const fs::path& at) { fs::create_directory(at); }},
      {"over 1 GiB",
       [](const fs::path& at) {
         std::ofstream(at, std::ios::binary) << "Modul=2\r\n";
         fs::resize_file(at, platform::kMaxReadBytes + 1);  // sparse
       }},
      {"empty", [](const fs::path& at) { std::ofstream(at, std::ios::binary); }},
      {"UTF-16", [&](const fs::path& at) { std::ofstream(at, std::ios::binary) << utf16; }},
      {"no key",
       [](const fs::path& at) {
         std::ofstream(at, std::ios::binary) << "\x7F"
                                                "ELF\x01\x02=\x03\r\n";
       }},
  };
  // What a file is, compared before and after: its kind, size and (when small) its bytes.
  const auto fingerprint = [](const fs::path& at) {
    std::string text = fs::is_directory(at) ? "folder" : std::to_string(fs::file_size(at));
    std::string bytes;
    if (!fs::is_directory(at) && fs::file_size(at) < 1024 && platform::readFileBytes(at, bytes)) text += ":" + bytes;
    return text;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(path());
    fs::remove_all(path() + ".unlesbar");
    c.make(path());
    const std::string before = fingerprint(path());

    Maschinenparameter p;
    p.Parameterdatei = path();
    std::string error;
    EXPECT_FALSE(machine::Parameter_Laden(p, &error));
    EXPECT_FALSE(error.empty());
    expectSamePersisted(p, defaults());
    EXPECT_EQ(p.unreadableFileBackup, path() + ".unlesbar");
    EXPECT_EQ(fingerprint(path()), before);

    ASSERT_TRUE(machine::Parameter_Speichern(p, ui_));
    EXPECT_EQ(fingerprint(path() + ".unlesbar"), before);
    EXPECT_EQ(readRaw(), kDefaultFile);
    p.Modul = 2;
    ASSERT_TRUE(machine::Parameter_Speichern(p, ui_));
    EXPECT_EQ(fingerprint(path() + ".unlesbar"), before);
    EXPECT_EQ(readRaw().substr(0, 9), "Modul=2\r\n");
    EXPECT_TRUE(ui_.calls().empty());
  }
  // A file kept in an earlier session stays; the next one gets a name of its own.
  std::ofstream(path(), std::ios::binary);
  Maschinenparameter p;
  p.Parameterdatei = path();
  EXPECT_FALSE(machine::Parameter_Laden(p));
  EXPECT_EQ(p.unreadableFileBackup, path() + ".unlesbar-2");
}

TEST_F(ParameterFile, AFileThatCannotBeKeptIsNotReplaced) {
  // A name so long that the name it would be kept under is too long for the file system.
  const std::string longPath = (folder_ / std::string(250, 'p')).string();
  std::ofstream(longPath, std::ios::binary) << "nichts";
  Maschinenparameter p;
  p.Parameterdatei = longPath;
  EXPECT_FALSE(machine::Parameter_Laden(p));
  EXPECT_FALSE(machine::Parameter_Speichern(p, ui_));
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "Tessaly");
  std::string bytes;
  ASSERT_TRUE(platform::readFileBytes(longPath, bytes));
  EXPECT_EQ(bytes, "nichts");
}

TEST_F(ParameterFile, FailedWriteShowsTheErrorAndKeepsWhatWasThere) {
  // Tests run as root, which permissions do not stop; so the target is made impossible instead.
  const std::filesystem::path inFile = folder_ / "plain" / "veltris_param.dat";
  std::ofstream(folder_ / "plain") << "x";
  const std::filesystem::path isDirectory = folder_ / "directory";
  std::filesystem::create_directory(isDirectory);

  for (const auto& target : {inFile, isDirectory}) {
    testsupport::ScriptedUi ui;
    Maschinenparameter p = defaults();
    p.Parameterdatei = target.string();
    EXPECT_FALSE(machine::Parameter_Speichern(p, ui)) << target;
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << target;
    EXPECT_EQ(boxes[0].caption, "Tessaly");
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::Ok);
    EXPECT_EQ(boxes[0].text.rfind(target.string() + "\n", 0), 0u) << boxes[0].text;
    EXPECT_GT(boxes[0].text.size(), target.string().size() + 1) << "no system error text";
  }
  EXPECT_TRUE(std::filesystem::is_directory(isDirectory));
  EXPECT_TRUE(std::filesystem::is_empty(isDirectory));
}

TEST_F(ParameterFile, WriteFailingHalfwayKeepsTheOldFile) {
  writeRaw(kDefaultFile);
  Maschinenparameter p = defaults();
  p.Parameterdatei = path();
  p.Modul = 2;

  // A file-size limit makes the write fail part of the way through, as a full disk would.
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = machine::Parameter_Speichern(p, ui_);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(readRaw(), kDefaultFile);
  EXPECT_EQ(ui_.messageBoxes().size(), 1u);
  // Nothing but the parameter file is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

}  // namespace
