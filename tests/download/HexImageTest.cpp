// The Intel-HEX reader: good files and the words they give (joined files whole), and every kind
// of bad line, a pad byte that shows a file for another chip among them, each reported with its
// line number and nothing kept.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "HexText.h"
#include "download/HexImage.h"

namespace {

using download::HexBlock;
using download::readHexImage;
using downloadtest::dataRecord;
using downloadtest::endRecord;
using downloadtest::extendedRecord;
using downloadtest::record;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct Block {
  std::uint64_t wordAddress;
  std::vector<std::uint16_t> words;
};

struct GoodCase {
  const char* name;
  std::string text;
  std::vector<Block> blocks;
};

// The case by its name in test listings.
void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

class HexGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(HexGood, GivesItsWordsAtTheirWordAddresses) {
  const auto result = readHexImage(GetParam().text);
  ASSERT_TRUE(result.ok) << "line " << result.line << ": " << result.reason;
  ASSERT_EQ(result.blocks.size(), GetParam().blocks.size());
  for (std::size_t i = 0; i < result.blocks.size(); ++i) {
    EXPECT_EQ(result.blocks[i].wordAddress, GetParam().blocks[i].wordAddress) << "block " << i;
    EXPECT_EQ(result.blocks[i].words, GetParam().blocks[i].words) << "block " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexGood,
    ::testing::Values(
        // Each group of four digits is one number: file bytes 00 04 give 0x0004.
        GoodCase{"CrLf", ":0400000000040000F8\r\n:00000001FF\r\n", {{0, {0x0004, 0x0000}}}},
        GoodCase{"LowerCaseDigits",
                 lower(dataRecord(0, {0xA1, 0xB2, 0xC3, 0x00}) + "\n" + endRecord()),
                 {{0, {0xA1B2, 0xC300}}}},
        GoodCase{"NoLineEndAfterTheEndRecord", ":0400000000040000F8\n:00000001FF", {{0, {0x0004, 0x0000}}}},
        // A record of 16 bytes fills eight consecutive word addresses, from half its byte address.
        GoodCase{"SixteenBytes",
                 dataRecord(0x0020, {0, 1, 2, 0, 4, 5, 6, 0, 8, 9, 10, 0, 12, 13, 14, 0}) + "\n" + endRecord(),
                 {{0x10, {0x0001, 0x0200, 0x0405, 0x0600, 0x0809, 0x0A00, 0x0C0D, 0x0E00}}}},
        GoodCase{"ExtendedAddress",
                 extendedRecord(0x0001) + "\n" + dataRecord(0x0010, {0x12, 0x34}) + "\n" + endRecord(),
                 {{0x8008, {0x1234}}}},
        // 0x01F0 shifted is the configuration area: word address 0xF80000 + a / 2.
        GoodCase{"ConfigurationArea",
                 extendedRecord(0x01F0) + "\n" + dataRecord(0x0004, {0xAA, 0xBB}) + "\n" + endRecord(),
                 {{0xF80002, {0xAABB}}}},
        // The extended address may step down again; each record uses the one before it.
        GoodCase{"ExtendedAddressStepsDown",
                 extendedRecord(0x0002) + "\n" + dataRecord(0x000E, {1, 0}) + "\n" + extendedRecord(0x0001) + "\n" +
                     dataRecord(0x000E, {3, 0}) + "\n" + endRecord(),
                 {{0x10007, {0x0100}}, {0x8007, {0x0300}}}},
        GoodCase{"EmptyDataRecordGivesNothing", dataRecord(0x0000, {}) + "\n" + endRecord(), {}},
        // The pad byte is the one at byte address 3 modulo 4, wherever the record starts: here
        // its second byte.
        GoodCase{"PadByteOfARecordAtAddressTwo",
                 dataRecord(0x0002, {1, 0, 3, 4}) + "\n" + endRecord(),
                 {{0x0001, {0x0100, 0x0304}}}},
        // Two images joined: the second is read too, from extended address 0 although the first
        // ended in the configuration area.
        GoodCase{"JoinedImages",
                 extendedRecord(0x01F0) + "\n" + dataRecord(0x0004, {0xAA, 0xBB}) + "\n" + endRecord() + "\n" +
                     dataRecord(0x0010, {1, 2, 3, 0}) + "\n" + endRecord() + "\n",
                 {{0xF80002, {0xAABB}}, {0x0008, {0x0102, 0x0300}}}},
        GoodCase{"BlankLinesAfterTheEndRecord",
                 dataRecord(0, {1, 2}) + "\r\n" + endRecord() + "\r\n\r\n \t\r\n\x1A",
                 {{0, {0x0102}}}}),
    [](const auto& param) { return std::string(param.param.name); });

struct BadCase {
  const char* name;
  std::string text;
  int line;  // 0: the file as a whole
};

// The case by its name in test listings.
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class HexBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(HexBad, IsRefusedWithItsLineAndKeepsNothing) {
  const auto result = readHexImage(GetParam().text);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.line, GetParam().line) << result.reason;
  EXPECT_FALSE(result.reason.empty());
  EXPECT_TRUE(result.blocks.empty());
}

const std::string kGood = dataRecord(0x0000, {1, 2, 3, 0}) + "\r\n";
const std::string kEnd = endRecord() + "\r\n";

std::string withChecksum(std::string line, const char* checksum) {
  line.replace(line.size() - 2, 2, checksum);
  return line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexBad,
    ::testing::Values(
        BadCase{"NoColon", kGood + "0400000000040000F8\r\n" + kEnd, 2},
        BadCase{"NotAHexDigit", kGood + ":04000000000G0000F1\r\n" + kEnd, 2},
        BadCase{"CountLongerThanTheData", kGood + ":0500000000040000F7\r\n" + kEnd, 2},
        BadCase{"CountShorterThanTheData", kGood + ":0300000000040000F9\r\n" + kEnd, 2},
        BadCase{"OddNumberOfDigits", kGood + ":0400000000040000F80\r\n" + kEnd, 2},
        BadCase{"TooShortForAHeader", ":00000001\r\n", 1},
        BadCase{"Checksum", kGood + withChecksum(dataRecord(0x0010, {1, 2}), "00") + "\r\n" + kEnd, 2},
        BadCase{"OddAddress", dataRecord(0x0001, {1, 2}) + "\r\n" + kEnd, 1},
        BadCase{"OddByteCount", dataRecord(0x0000, {1, 2, 3}) + "\r\n" + kEnd, 1},
        BadCase{"ExtendedSegmentAddress", kGood + record(0, 0x02, {0x30, 0x00}) + "\r\n" + kEnd, 2},
        BadCase{"StartSegmentAddress", kGood + record(0, 0x03, {0, 0, 0x7E, 0}) + "\r\n" + kEnd, 2},
        BadCase{"StartLinearAddress", kGood + record(0, 0x05, {0, 0, 0x01, 0}) + "\r\n" + kEnd, 2},
        BadCase{"UnknownRecordType", kGood + record(0, 0x0A, {1, 2}) + "\r\n" + kEnd, 2},
        BadCase{"ExtendedAddressOfWrongLength", record(0, 0x04, {0x01}) + "\r\n" + kEnd, 1},
        BadCase{"EndRecordWithData", kGood + record(0, 0x01, {0}) + "\r\n", 2},
        BadCase{"EmptyLine", kGood + "\r\n" + kEnd, 2},
        // Reading goes on behind an end record, to the last line.
        BadCase{"NonsenseAfterTheEndRecord", kGood + kEnd + "nonsense\r\n", 3},
        BadCase{"ChecksumInASecondImage", kGood + kEnd + withChecksum(dataRecord(0x0010, {1, 2}), "00") + "\r\n" + kEnd,
                3},
        // Every fourth byte of an image for these parts is 0; other chips put code there.
        BadCase{"PadByteNotZero", kGood + dataRecord(0x0010, {1, 2, 3, 4}) + "\r\n" + kEnd, 2},
        BadCase{"PadByteOfARecordAtAddressTwo", kGood + dataRecord(0x0002, {1, 2, 3, 0}) + "\r\n" + kEnd, 2},
        BadCase{"PadByteInTheEepromArea",
                extendedRecord(0x00FF) + "\r\n" + dataRecord(0xE000, {0x11, 0x22, 0, 0x33}) + "\r\n" + kEnd, 2},
        BadCase{"LineTooLong", ":" + std::string(600, '0') + "\r\n" + kEnd, 1},
        // A file cut short (as by a failed copy) has no end record, or none behind its
        // last image.
        BadCase{"NoEndRecord", kGood + kGood, 0}, BadCase{"SecondImageCutShort", kGood + kEnd + kGood, 0},
        BadCase{"Empty", "", 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(HexFile, AFileThatCannotBeOpenedIsToldFromABadOne) {
  EXPECT_FALSE(download::loadHexFile("/nonexistent/firmware.hex").opened);

  const auto folder = std::filesystem::path(::testing::TempDir()) / "hex-file-test";
  std::filesystem::create_directories(folder);
  const auto path = folder / "bad.hex";
  std::ofstream(path, std::ios::binary) << "garbage";
  const auto bad = download::loadHexFile(path);
  EXPECT_TRUE(bad.opened);
  EXPECT_FALSE(bad.hex.ok);

  std::ofstream(path, std::ios::binary | std::ios::trunc) << kGood << kEnd;
  const auto good = download::loadHexFile(path);
  EXPECT_TRUE(good.opened);
  EXPECT_TRUE(good.hex.ok);
  std::filesystem::remove_all(folder);
}

}  // namespace
