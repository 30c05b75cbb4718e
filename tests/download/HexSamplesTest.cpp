// Intel-HEX files made by other tool chains (../shared/samples/hex): the images for these parts
// give their rows for the families whose memory holds them; every other one is a bad file (those
// for other chips by the first pad byte that is not 0), and the download shows "Bad HexFile" and
// does nothing else. Skipped when the folder is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "BootRig.h"
#include "download/HexImage.h"
#include "download/MemoryRow.h"

namespace {

using download::DownloadResult;

const std::filesystem::path kSamples = "/work/shared/samples/hex";

struct SampleCase {
  const char* file;
  // Records 00, 01 and 04 only, each whole, in word units and with every pad byte 0, and an end
  // record last.
  bool wellFormed;
  bool fitsDsPic30F;
  bool fitsDsPic33F;
  int badLine = 0;  // the line a file that is not well formed is refused at
};

void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.file; }

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Data words of all the file's data records, counted from the text alone.
std::size_t dataWords(const std::string& text) {
  std::istringstream lines(text);
  std::size_t words = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.size() < 9) continue;
    const int count = std::stoi(line.substr(1, 2), nullptr, 16);
    if (line.substr(7, 2) == "00") words += static_cast<std::size_t>(count) / 2;
  }
  return words;
}

class Sample : public ::testing::TestWithParam<SampleCase> {
 protected:
  void SetUp() override {
    path_ = kSamples / GetParam().file;
    if (!std::filesystem::exists(path_)) GTEST_SKIP() << path_ << " is not there";
  }
  std::filesystem::path path_;
};

TEST_P(Sample, IsReadIntoTheRowsOfTheFamiliesItFitsOrRefused) {
  const auto file = download::loadHexFile(path_);
  ASSERT_TRUE(file.opened);
  EXPECT_EQ(file.hex.ok, GetParam().wellFormed) << "line " << file.hex.line << ": " << file.hex.reason;
  if (!file.hex.ok) {
    EXPECT_EQ(file.hex.line, GetParam().badLine) << file.hex.reason;
    return;
  }

  std::size_t words = 0;
  for (const auto& block : file.hex.blocks) words += block.words.size();
  EXPECT_EQ(words, dataWords(slurp(path_)));

  for (const auto& [family, fits] : {std::pair{0, GetParam().fitsDsPic30F}, std::pair{1, GetParam().fitsDsPic33F}}) {
    auto rows = download::createRows(static_cast<std::uint8_t>(family));
    EXPECT_EQ(download::storeBlocks(rows, file.hex.blocks), fits) << "family " << family;
    if (!fits) continue;
    std::size_t filled = 0;
    for (const auto& row : rows) filled += row.empty() ? 0 : 1;
    EXPECT_GT(filled, 0u);
  }
}

// A file the dsPIC30F takes ends up in its memory; any other gives "Bad HexFile" and nothing
// else.
TEST_P(Sample, IsWrittenIntoADsPic30FOrRefusedWithBadHexFileAlone) {
  downloadtest::BootRig rig;
  const DownloadResult result = rig.run(path_);
  if (GetParam().wellFormed && GetParam().fitsDsPic30F) {
    ASSERT_EQ(result, DownloadResult::Success);
    // Each word's bytes as the file has them: low and middle byte at an even word address, the
    // high byte at the odd one after it; the first two instructions stay the bootloader's.
    std::map<std::uint32_t, std::uint32_t> expected;
    for (const auto& block : download::loadHexFile(path_).hex.blocks) {
      for (std::size_t i = 0; i < block.words.size(); ++i) {
        const std::uint64_t wordAddress = block.wordAddress + i;
        const std::uint16_t w = block.words[i];
        std::uint32_t& instruction =
            expected.try_emplace(static_cast<std::uint32_t>(wordAddress / 2), 0xFFFFFF).first->second;
        if (wordAddress % 2 == 0) {
          instruction = (instruction & 0xFF0000) | (w >> 8) | ((w & 0xFFu) << 8);
        } else {
          instruction = (instruction & 0x00FFFF) | (static_cast<std::uint32_t>(w >> 8) << 16);
        }
      }
    }
    for (const auto& [index, value] : expected) {
      if (index < 2) continue;
      ASSERT_EQ(rig.sim.instruction(index), value) << "instruction " << index;
    }
    return;
  }
  EXPECT_EQ(result, DownloadResult::BadHexFile);
  EXPECT_EQ(rig.statuses().back(), "Bad HexFile");
  EXPECT_EQ(rig.messages().size(), 1u);
  EXPECT_FALSE(rig.anyRowWritten());
  downloadtest::expectNoSuccess(rig);
  // A malformed file is refused before the controller is woken.
  if (!GetParam().wellFormed) {
    EXPECT_TRUE(rig.sim.frames().empty());
  } else {
    EXPECT_TRUE(rig.leftBootloader());
  }
}

INSTANTIATE_TEST_SUITE_P(Files, Sample,
                         ::testing::Values(
                             // 16-bit PIC images: instructions of four bytes, word addresses half the byte addresses.
                             SampleCase{"mcbootflash-flash-test.hex", true, true, true},
                             SampleCase{"mcbootflash-no_data-test.hex", true, false, true},
                             SampleCase{"pilow-dsPIC33-Boot.production.hex", true, false, true},
                             // Well formed, but made for other chips: code where the pad bytes are.
                             // 32-bit PIC images, at addresses no row of these parts has.
                             SampleCase{"chipkit-HelveKIT32robot.hex", false, false, false, 3},
                             SampleCase{"chipkit-Lenny-bootloader.hex", false, false, false, 3},
                             SampleCase{"bincopy-in_16bits_word_padding.hex", false, false, false, 3},
                             // AVR and nRF51 images low in memory, where the rows would take them.
                             SampleCase{"arduino-Caterina-Leonardo.hex", false, false, false, 1},
                             SampleCase{"microbit-1-duck-umbrella-16.hex", false, false, false, 14},
                             // Record types 02, 03, 05 and 0A-0D; odd byte counts; pad bytes.
                             SampleCase{"arduino-stk500boot_v2_mega2560.hex", false, false, false, 1},
                             SampleCase{"arduino-optiboot_atmega328.hex", false, false, false, 1},
                             SampleCase{"bincopy-empty_main.hex", false, false, false, 2},
                             SampleCase{"bincopy-issue_4_in.hex", false, false, false, 2},
                             SampleCase{"microbit-2-ghost-music-32.hex", false, false, false, 1},
                             SampleCase{"microbit-combined-16-blocks.hex", false, false, false, 2}),
                         [](const auto& param) {
                           std::string name = param.param.file;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
