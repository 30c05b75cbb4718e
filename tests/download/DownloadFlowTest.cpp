// Whole downloads against the simulated controller: a dsPIC30F and a dsPIC33F file written and
// read back from the device's memory, the wake-up's speeds and answers, every injected fault
// ending with its message (or recovered from), the port and file failures, and a cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "BootRig.h"

namespace {

using download::DownloadResult;
using downloadtest::BootRig;
using downloadtest::Firmware;
using peers::BootFault;
using peers::BootFrame;
using peers::BootSim;

constexpr std::uint32_t kOldFirmware = 0x123456;
constexpr std::uint16_t kOldEeprom = 0x5A5A;

BootSim::Options oldFirmware(BootSim::Options o = {}) {
  o.programFill = kOldFirmware;
  o.eepromFill = kOldEeprom;
  for (std::size_t i = 0; i < o.configFill.size(); ++i) o.configFill[i] = static_cast<std::uint16_t>(0xC000 + i);
  return o;
}

// Instructions in a few rows (the first one among them), EEPROM words and configuration
// registers, the eighth too.
Firmware sampleFirmware(std::uint32_t instructionsPerRow) {
  Firmware f;
  for (std::uint32_t i = 0; i < 40; ++i) f.instructions[i] = 0x010203u * (i + 1) & 0xFFFFFF;
  for (std::uint32_t i : {5 * instructionsPerRow + 3, 1535 * instructionsPerRow + instructionsPerRow - 1})
    f.instructions[i] = 0xABCDEF;
  f.eeprom = {{0, 0x1111}, {15, 0x2222}, {16, 0x3333}, {2047, 0x4444}};
  f.config = {{0, 0xF00F}, {1, 0x00AA}, {3, 0x1234}, {6, 0x0707}, {7, 0x7777}};
  return f;
}

// The device's memory holds the file: rows with data from the file have it (words the file
// leaves out erased), the first two instructions keep the bootloader's jump, rows the file does
// not touch keep the old firmware, and registers without a value keep theirs.
void expectMemoryHolds(const BootSim& sim, const Firmware& f, const BootSim::Options& o) {
  const auto ipr = static_cast<std::uint32_t>(sim.instructionsPerRow());
  std::map<std::uint32_t, bool> rowsWithData{{0, true}};
  for (const auto& [index, value] : f.instructions) rowsWithData[index / ipr] = true;
  for (std::uint32_t i = 0; i < sim.instructionCount(); ++i) {
    std::uint32_t expected = o.programFill;
    if (rowsWithData.count(i / ipr) != 0) expected = f.instructions.count(i) != 0 ? f.instructions.at(i) : 0xFFFFFF;
    if (i < 2) expected = o.resetVector[i];
    ASSERT_EQ(sim.instruction(i), expected) << "instruction " << i;
  }
  std::map<std::uint32_t, bool> eepromRows;
  for (const auto& [index, value] : f.eeprom) eepromRows[index / 16] = true;
  for (std::uint32_t i = 0; i < BootSim::kEepromWords; ++i) {
    std::uint16_t expected = o.eepromFill;
    if (eepromRows.count(i / 16) != 0) expected = f.eeprom.count(i) != 0 ? f.eeprom.at(i) : 0xFFFF;
    ASSERT_EQ(sim.eepromWord(i), expected) << "EEPROM word " << i;
  }
  for (std::uint32_t i = 0; i < 8; ++i) {
    const bool written = f.config.count(i) != 0 && static_cast<int>(i) < sim.configRegisters();
    EXPECT_EQ(sim.configRegister(i), written ? f.config.at(i) : o.configFill[i]) << "register " << i;
  }
}

void expectSuccess(const BootRig& rig, DownloadResult result) {
  EXPECT_EQ(result, DownloadResult::Success);
  const auto statuses = rig.statuses();
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), "Download beendet!");
  const auto messages = rig.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Datenübertragung erfolgreich beendet!");
  EXPECT_EQ(messages[0].icon, platform::MsgIcon::Information);
  // The bootloader was left last, and the controller runs its firmware again.
  EXPECT_TRUE(rig.leftBootloader());
  EXPECT_EQ(rig.sim.state(), BootSim::State::Firmware);
}

TEST(Download, AdsPIC30FFileEndsUpInTheDevicesMemoryBehindTheBootloadersJump) {
  const BootSim::Options options = oldFirmware();
  BootRig rig(options);
  const Firmware firmware = sampleFirmware(32);
  const auto result = rig.run(rig.write("fw.hex", downloadtest::hexFile(firmware)));
  expectSuccess(rig, result);
  EXPECT_EQ(rig.statuses(), (std::vector<std::string>{"Reading HexFile", "Reading Target Device", "Found Device.",
                                                      "Übertragung läuft! Bitte warten ... ", "Reading Target",
                                                      "Programming Device ", "Done.", "Download beendet!"}));
  expectMemoryHolds(rig.sim, firmware, options);
  // Rows 0, 1, 5 and 1535; EEPROM rows 0, 1 and 127; seven registers, none twice.
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::WriteProgram).size(), 4u);
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::WriteEeprom).size(), 3u);
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::ConfigRegister).size(), 7u);
}

TEST(Download, AdsPIC33FFileUsesTheLargeRowsAndTheEighthRegister) {
  const BootSim::Options options = oldFirmware(downloadtest::family1());
  BootRig rig(options);
  const Firmware firmware = sampleFirmware(512);
  // Line ends as some tool chains write them.
  expectSuccess(rig, rig.run(rig.write("fw.hex", downloadtest::hexFile(firmware, "\n"))));
  expectMemoryHolds(rig.sim, firmware, options);
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::WriteProgram).size(), 3u);
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::ConfigRegister).size(), 8u);
}

struct WakeCase {
  const char* name;
  std::string probeAnswer;
  int firmwareBaud;
  int silentProbes;
  std::size_t probes;  // CR probes the firmware took
};

// The case by its name in test listings.
void PrintTo(const WakeCase& c, std::ostream* os) { *os << c.name; }

class WakeUp : public ::testing::TestWithParam<WakeCase> {};

TEST_P(WakeUp, FindsTheFirmwareAndEntersTheBootloader) {
  BootSim::Options options;
  options.probeAnswer = GetParam().probeAnswer;
  options.firmwareBaud = GetParam().firmwareBaud;
  options.bootBaud = 9600;
  BootRig rig(options);
  if (GetParam().silentProbes > 0)
    rig.sim.addFault(
        BootFault{.kind = BootFault::Kind::Silence, .frame = BootFrame::Kind::Probe, .times = GetParam().silentProbes});
  expectSuccess(rig, rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32)))));
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::Probe).size(), GetParam().probes);
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::Jump).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, WakeUp,
                         ::testing::Values(WakeCase{"AckAt115200", std::string(1, 0x06), 0, 0, 1},
                                           // A text-protocol firmware answers a bare CR with its error text.
                                           WakeCase{"ErrorTextCountsAsAwake", "E1\x07", 0, 0, 1},
                                           // Nothing arrives at 115200 baud: the same at 9600.
                                           WakeCase{"FallsBackTo9600", std::string(1, 0x06), 9600, 0, 1},
                                           // An answer in the last of the ten rounds is not trusted.
                                           WakeCase{"AnswerInTheTenthRoundIsNone", std::string(1, 0x06), 0, 9, 11}),
                         [](const auto& param) { return std::string(param.param.name); });

struct FaultCase {
  const char* name;
  std::vector<BootFault> faults;
  DownloadResult result;
  const char* status;  // the last status text
  const char* box;     // the failure box begins with it
  bool rowsWritten;    // the box says the firmware is incomplete, and the bootloader stays
};

// The case by its name in test listings.
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Fault : public ::testing::TestWithParam<FaultCase> {};

// Each fault ends the download with its status and one box, never a success text; a download
// that stopped before the first row lets the controller start its firmware again.
TEST_P(Fault, EndsWithItsMessage) {
  BootRig rig;
  for (const BootFault& f : GetParam().faults) rig.sim.addFault(f);
  const auto result = rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32))));
  EXPECT_EQ(result, GetParam().result);
  ASSERT_FALSE(rig.statuses().empty());
  EXPECT_EQ(rig.statuses().back(), GetParam().status);
  const auto messages = rig.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind(GetParam().box, 0), 0u) << messages[0].text;
  EXPECT_EQ(messages[0].caption, "F E H L E R");
  EXPECT_EQ(messages[0].text.find("nicht vollständig") != std::string::npos, GetParam().rowsWritten);
  downloadtest::expectNoSuccess(rig);
  EXPECT_EQ(rig.anyRowWritten(), GetParam().rowsWritten);
  if (!GetParam().rowsWritten && !rig.sim.frames(BootFrame::Kind::Enter).empty()) {
    EXPECT_TRUE(rig.leftBootloader());
  } else {
    EXPECT_TRUE(rig.sim.frames(BootFrame::Kind::Leave).empty());
  }
}

BootFault fault(BootFault::Kind kind, BootFrame::Kind frame, int times = 1, int skip = 0, int registerIndex = -1) {
  return BootFault{.kind = kind, .frame = frame, .skip = skip, .times = times, .registerIndex = registerIndex};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Fault,
    ::testing::Values(FaultCase{"SilentFirmware",
                                {fault(BootFault::Kind::Silence, BootFrame::Kind::Probe, -1)},
                                DownloadResult::NoAnswer,
                                "No answer from Target",
                                "Die Steuerung antwortet nicht!",
                                false},
                      FaultCase{"SilentBootloader",
                                {fault(BootFault::Kind::Silence, BootFrame::Kind::BootProbe, -1)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                false},
                      FaultCase{"ShortIdentification",
                                {fault(BootFault::Kind::ShortAnswer, BootFrame::Kind::ReadId)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                false},
                      FaultCase{"ShortResetVector",
                                {fault(BootFault::Kind::ShortAnswer, BootFrame::Kind::ReadProgram)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                false},
                      FaultCase{"EveryRowRefused",
                                {fault(BootFault::Kind::Reject, BootFrame::Kind::WriteProgram, -1)},
                                DownloadResult::WriteRefused,
                                "Programming failed",
                                "Die Steuerung hat die Daten nicht angenommen!",
                                true},
                      // A device that falls silent did not refuse anything: it is reported silent.
                      FaultCase{"EepromRowNeverAnswered",
                                {fault(BootFault::Kind::Silence, BootFrame::Kind::WriteEeprom, -1)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                true},
                      FaultCase{"RegisterNeverAnswered",
                                {fault(BootFault::Kind::Silence, BootFrame::Kind::ConfigRegister, -1, 0, 4)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                true},
                      // Refused, then silent at the last attempt: the last answer tells. (The second
                      // fault counts only the frames the first lets pass.)
                      FaultCase{"RowRefusedThenNeverAnswered",
                                {fault(BootFault::Kind::Reject, BootFrame::Kind::WriteProgram, 2, 1),
                                 fault(BootFault::Kind::Silence, BootFrame::Kind::WriteProgram, -1, 1)},
                                DownloadResult::BootloaderSilent,
                                "No answer from Bootloader",
                                "Der Bootloader antwortet nicht!",
                                true},
                      FaultCase{"RegisterAlwaysRefused",
                                {fault(BootFault::Kind::Reject, BootFrame::Kind::ConfigRegister, -1, 0, 5)},
                                DownloadResult::WriteRefused,
                                "Programming failed",
                                "Die Steuerung hat die Daten nicht angenommen!",
                                true},
                      FaultCase{"LineHangsUp",
                                {fault(BootFault::Kind::HangUp, BootFrame::Kind::WriteProgram, 1, 1)},
                                DownloadResult::WriteError,
                                "Write Error",
                                "Schreibfehler auf der seriellen Schnittstelle!",
                                true}),
    [](const auto& param) { return std::string(param.param.name); });

struct RecoveryCase {
  const char* name;
  BootFault fault;
  BootFrame::Kind kind;
  std::size_t frames;  // frames of that kind the device took
};

// The case by its name in test listings.
void PrintTo(const RecoveryCase& c, std::ostream* os) { *os << c.name; }

class Recovery : public ::testing::TestWithParam<RecoveryCase> {};

// A refused, lost or disturbed answer sends the row again; for the configuration registers,
// which carry no address, the whole register sequence again, so none lands in the wrong place.
TEST_P(Recovery, SendsAgainAndEndsWithTheFileInTheDevice) {
  const BootSim::Options options = oldFirmware();
  BootRig rig(options);
  rig.sim.addFault(GetParam().fault);
  const Firmware firmware = sampleFirmware(32);
  expectSuccess(rig, rig.run(rig.write("fw.hex", downloadtest::hexFile(firmware))));
  expectMemoryHolds(rig.sim, firmware, options);
  EXPECT_EQ(rig.sim.frames(GetParam().kind).size(), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Recovery,
    ::testing::Values(
        RecoveryCase{"RowRefusedOnce", fault(BootFault::Kind::Reject, BootFrame::Kind::WriteProgram, 1, 1),
                     BootFrame::Kind::WriteProgram, 5},
        RecoveryCase{"RowAnswerLost", fault(BootFault::Kind::Silence, BootFrame::Kind::WriteProgram, 1, 2),
                     BootFrame::Kind::WriteProgram, 5},
        RecoveryCase{"StrayByteBeforeTheAnswer", fault(BootFault::Kind::StrayByte, BootFrame::Kind::WriteEeprom),
                     BootFrame::Kind::WriteEeprom, 4},
        // Registers 0-3, then 0-6 again.
        RecoveryCase{"RegisterRefused", fault(BootFault::Kind::Reject, BootFrame::Kind::ConfigRegister, 1, 0, 3),
                     BootFrame::Kind::ConfigRegister, 11},
        RecoveryCase{"RegisterAnswerLost", fault(BootFault::Kind::Silence, BootFrame::Kind::ConfigRegister, 1, 0, 2),
                     BootFrame::Kind::ConfigRegister, 10},
        RecoveryCase{"StrayByteBeforeARegistersAnswer",
                     fault(BootFault::Kind::StrayByte, BootFrame::Kind::ConfigRegister, 1, 0, 6),
                     BootFrame::Kind::ConfigRegister, 14}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Download, AnUnknownPartStopsBeforeAnyWriteAndStartsTheFirmwareAgain) {
  BootSim::Options options;
  options.id = 0x0555;
  BootRig rig(options);
  EXPECT_EQ(rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32)))), DownloadResult::UnknownDevice);
  EXPECT_EQ(rig.statuses().back(), "Unknown Device");
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text,
            "Unbekannter Mikrocontroller (Kennung 0x0555, Revision 1)!\nEs wurde nichts übertragen.");
  EXPECT_TRUE(rig.leftBootloader());
  EXPECT_FALSE(rig.anyRowWritten());
  EXPECT_TRUE(rig.sim.frames(BootFrame::Kind::ReadProgram).empty());
  downloadtest::expectNoSuccess(rig);
}

TEST(Download, AFileBeyondThePartsMemoryIsABadFileAndNothingIsWritten) {
  BootRig rig;  // a dsPIC30F: its program rows end at word address 0x18000
  Firmware firmware;
  firmware.instructions[0x18000 / 2] = 0x000001;
  EXPECT_EQ(rig.run(rig.write("big.hex", downloadtest::hexFile(firmware))), DownloadResult::BadHexFile);
  EXPECT_EQ(rig.statuses().back(), "Bad HexFile");
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text,
            "Die Hex-Datei passt nicht zum Mikrocontroller dsPIC30F6014!\nEs wurde nichts übertragen.");
  EXPECT_TRUE(rig.leftBootloader());
  EXPECT_FALSE(rig.anyRowWritten());
}

TEST(Download, ABadFileIsRefusedBeforeTheControllerIsDisturbed) {
  BootRig rig;
  const std::string text = downloadtest::hexFile(sampleFirmware(32));
  // One digit of the last data record changed: its checksum no longer matches.
  std::string bad = text;
  bad[bad.rfind(":0200000") + 10] ^= 1;
  EXPECT_EQ(rig.run(rig.write("bad.hex", bad)), DownloadResult::BadHexFile);
  EXPECT_EQ(rig.statuses(), (std::vector<std::string>{"Reading HexFile", "Bad HexFile"}));
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text.rfind("Die Hex-Datei ist fehlerhaft (Zeile ", 0), 0u);
  EXPECT_TRUE(rig.sim.frames().empty());
}

TEST(Download, AFileThatCannotBeOpenedEndsThatDownloadOnlyAndTheNextSucceeds) {
  BootRig rig;
  EXPECT_EQ(rig.run(rig.folder / "missing.hex"), DownloadResult::HexFileNotOpened);
  EXPECT_EQ(rig.statuses(), (std::vector<std::string>{"Reading HexFile", "Cannot open HexFile"}));
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text, "Hex-Datei kann nicht geöffnet werden!");
  EXPECT_TRUE(rig.sim.frames().empty());
  downloadtest::expectNoSuccess(rig);

  rig.reporter.clear();
  expectSuccess(rig, rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32)))));
}

TEST(Download, APortThatCannotBeOpenedShowsItsMessageOnceAndEnds) {
  BootRig rig;
  ::setenv("VELTRIS_COM202", "/dev/veltris-no-such-port", 1);
  EXPECT_EQ(rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32))), "COM202"),
            DownloadResult::PortNotOpened);
  EXPECT_EQ(rig.statuses(), (std::vector<std::string>{"Reading HexFile", "Cannot open Port COM202"}));
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text,
            "\nSerielle Schnittstelle COM/dev/veltris-no-such-port kann nicht geöffnet werden !\n");
  EXPECT_EQ(rig.messages()[0].caption, "F E H L E R");

  // A port that another program holds, and a name that is no port at all.
  rig.reporter.clear();
  auto held = platform::SerialPort::open(rig.sim.devicePath(), 9600);
  ASSERT_NE(held.port, nullptr);
  EXPECT_EQ(rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32)))), DownloadResult::PortNotOpened);
  EXPECT_EQ(rig.messages().size(), 1u);
  rig.reporter.clear();
  EXPECT_EQ(rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32))), ""), DownloadResult::PortNotOpened);
  EXPECT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.statuses().back(), "Cannot open Port");
  EXPECT_TRUE(rig.sim.frames().empty());
  downloadtest::expectNoSuccess(rig);
}

TEST(Download, APortLostBeforeTheBootloaderIsEnteredShowsBothBoxes) {
  BootRig rig;
  std::unique_ptr<platform::SerialPort> held;
  // Between the wake-up and the bootloader's stage another program takes the port.
  rig.clock.onSleep = [&](std::int64_t) {
    if (!held && !rig.link.isOpen() && !rig.sim.frames(BootFrame::Kind::Jump).empty())
      held = std::move(platform::SerialPort::open(rig.sim.devicePath(), 9600).port);
  };
  EXPECT_EQ(rig.run(rig.write("fw.hex", downloadtest::hexFile(sampleFirmware(32)))), DownloadResult::PortNotOpened);
  ASSERT_NE(held, nullptr);
  const auto messages = rig.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(rig.statuses().back(), "Cannot open Port COM201");
  EXPECT_EQ(messages[0].caption, "F E H L E R");
  EXPECT_EQ(messages[1].text, "Schnittstelle kann nicht geöffnet werden!");
  downloadtest::expectNoSuccess(rig);
}

TEST(Download, ACancelDuringTheWriteStopsAtTheNextRow) {
  // The cancel comes from another thread, the device's, as it takes the third row.
  std::atomic<download::ComLink*> link{nullptr};
  std::atomic<int> rows{0};
  BootSim::Options options;
  options.onFrame = [&](const BootFrame& frame) {
    if (frame.kind == BootFrame::Kind::WriteProgram && ++rows == 3) link.load()->cancel();
  };
  BootRig rig(options);
  link = &rig.link;
  Firmware firmware;
  for (std::uint32_t row = 0; row < 50; ++row) firmware.instructions[row * 32] = row;
  const auto path = rig.write("fw.hex", downloadtest::hexFile(firmware));
  const auto result = rig.run(path);
  EXPECT_EQ(result, DownloadResult::Cancelled);
  EXPECT_EQ(rig.statuses().back(), "Cancelled");
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].text,
            "Der Download wurde abgebrochen!\nDie Firmware wurde nicht vollständig übertragen!");
  EXPECT_EQ(rig.sim.frames(BootFrame::Kind::WriteProgram).size(), 3u);
  EXPECT_TRUE(rig.sim.frames(BootFrame::Kind::Leave).empty());
  downloadtest::expectNoSuccess(rig);
}

}  // namespace
