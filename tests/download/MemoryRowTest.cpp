// Memory rows: the layout of each family, which addresses a row takes, the byte order of the
// packed rows, their frames, and which rows go to the device.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "download/HexImage.h"
#include "download/MemoryRow.h"

namespace {

using download::createRows;
using download::HexBlock;
using download::MemoryRow;
using download::RowKind;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

struct LayoutCase {
  std::uint8_t family;
  int instructions;
  int registersSent;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << "family " << int(c.family); }

class RowLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(RowLayout, ProgramThenEepromThenConfigurationAtTheirAddresses) {
  const auto [family, instructions, registersSent] = GetParam();
  const auto rows = createRows(family);
  ASSERT_EQ(rows.size(), 1672u);
  const auto programWords = static_cast<std::uint32_t>(2 * instructions);
  for (int i : {0, 1, 1535}) {
    const MemoryRow& row = rows[static_cast<std::size_t>(i)];
    EXPECT_EQ(row.kind(), RowKind::Program);
    EXPECT_EQ(row.address(), static_cast<std::uint32_t>(i) * programWords);
    EXPECT_EQ(row.size(), instructions);
    EXPECT_EQ(row.outputBytes().size(), 3u * static_cast<std::size_t>(instructions));
    EXPECT_TRUE(row.empty());
  }
  for (int i : {0, 127}) {
    const MemoryRow& row = rows[1536 + static_cast<std::size_t>(i)];
    EXPECT_EQ(row.kind(), RowKind::Eeprom);
    EXPECT_EQ(row.address(), 0x7FF000u + static_cast<std::uint32_t>(i) * 32);
    EXPECT_EQ(row.outputBytes().size(), 32u);
  }
  int sent = 0;
  for (int i = 0; i < 8; ++i) {
    const MemoryRow& row = rows[1664 + static_cast<std::size_t>(i)];
    EXPECT_EQ(row.kind(), RowKind::Config);
    EXPECT_EQ(row.index(), i);
    EXPECT_EQ(row.address(), 0xF80000u + static_cast<std::uint32_t>(i) * 2);
    sent += row.Sent() ? 1 : 0;
  }
  // Empty configuration registers are sent (with their skip flag); the dsPIC30F has no eighth.
  EXPECT_EQ(sent, registersSent);
}

INSTANTIATE_TEST_SUITE_P(Families, RowLayout,
                         ::testing::Values(LayoutCase{0, 32, 7}, LayoutCase{1, 512, 8}, LayoutCase{2, 512, 8},
                                           LayoutCase{3, 512, 8}));

TEST(MemoryRow, TakesOnlyTheWordAddressesItHolds) {
  MemoryRow program(RowKind::Program, 64, 1, 0);
  EXPECT_FALSE(program.StoreWord(63, 1));
  EXPECT_TRUE(program.StoreWord(64, 1));
  EXPECT_TRUE(program.StoreWord(127, 1));
  EXPECT_FALSE(program.StoreWord(128, 1));

  MemoryRow eeprom(RowKind::Eeprom, 0x7FF020, 1, 0);
  EXPECT_FALSE(eeprom.StoreWord(0x7FF01F, 1));
  EXPECT_TRUE(eeprom.StoreWord(0x7FF03F, 1));
  EXPECT_FALSE(eeprom.StoreWord(0x7FF040, 1));

  MemoryRow config(RowKind::Config, 0xF80002, 1, 0);
  EXPECT_FALSE(config.StoreWord(0xF80001, 1));
  EXPECT_TRUE(config.StoreWord(0xF80003, 1));
  EXPECT_FALSE(config.StoreWord(0xF80004, 1));
}

TEST(MemoryRow, ProgramRowsSendEachInstructionLowByteFirstAndFillTheRestWithFF) {
  MemoryRow row(RowKind::Program, 64, 1, 0);
  EXPECT_FALSE(row.Sent());
  // File bytes 11 22 33 00: the instruction 0x332211, sent 11 22 33; the pad byte is dropped.
  row.StoreWord(64, 0x1122);
  row.StoreWord(65, 0x3300);
  row.PackBytes();
  EXPECT_TRUE(row.Sent());
  const std::string frame = row.Frame();
  ASSERT_EQ(frame.size(), 4u + 96u);
  EXPECT_EQ(frame.substr(0, 7), bytes({0x03, 64, 0, 0, 0x11, 0x22, 0x33}));
  EXPECT_EQ(frame.substr(7), std::string(93, '\xFF'));

  MemoryRow high(RowKind::Program, 0x123400, 1, 1);
  EXPECT_EQ(high.Frame().substr(0, 4), bytes({0x03, 0x00, 0x34, 0x12}));
}

TEST(MemoryRow, EepromRowsSendOneWordPerTwoWordAddresses) {
  MemoryRow row(download::RowKind::Eeprom, 0x7FF000, 0, 0);
  row.StoreWord(0x7FF000, 0xAABB);
  row.StoreWord(0x7FF001, 0x0000);
  row.StoreWord(0x7FF01E, 0xCCDD);
  row.PackBytes();
  const std::string frame = row.Frame();
  ASSERT_EQ(frame.size(), 4u + 32u);
  EXPECT_EQ(frame.substr(0, 6), bytes({0x05, 0x00, 0xF0, 0x7F, 0xAA, 0xBB}));
  EXPECT_EQ(frame.substr(6, 28), std::string(28, '\xFF'));
  EXPECT_EQ(frame.substr(34), bytes({0xCC, 0xDD}));
}

TEST(MemoryRow, ConfigurationRegistersCarryTheirSkipFlagAndOnlyTheFirstTheCommand) {
  auto rows = createRows(1);
  MemoryRow& first = rows[1664];
  MemoryRow& second = rows[1665];
  MemoryRow& third = rows[1666];
  first.StoreWord(0xF80000, 0x1234);
  third.StoreWord(0xF80004, 0x5678);
  for (MemoryRow* row : {&first, &second, &third}) row->PackBytes();
  EXPECT_EQ(first.Frame(), bytes({0x07, 0, 0x12, 0x34}));
  // No value in the file: skip flag 1 and erased bytes, never what memory happened to hold.
  EXPECT_EQ(second.Frame(), bytes({1, 0xFF, 0xFF}));
  EXPECT_EQ(third.Frame(), bytes({0, 0x56, 0x78}));
}

TEST(MemoryRow, StoringABlockFindsTheRowOfEachWordOrRefusesTheFile) {
  struct Case {
    std::uint64_t wordAddress;
    std::uint8_t family;
    bool fits;
    std::size_t row;
  };
  const Case cases[] = {
      {0x0000, 0, true, 0},      {0x0040, 0, true, 1},    {0x17FFF, 0, true, 1535},
      {0x18000, 0, false, 0},  // beyond the dsPIC30F's rows
      {0x18000, 1, true, 96},  // within the larger rows of the other families
      {0x180000, 1, false, 0},   {0x7FEFFF, 0, false, 0}, {0x7FF000, 0, true, 1536},
      {0x7FF020, 1, true, 1537}, {0x800000, 0, false, 0}, {0xF80000, 0, true, 1664},
      {0xF8000F, 1, true, 1671}, {0xF80010, 1, false, 0},
  };
  for (const Case& c : cases) {
    auto rows = createRows(c.family);
    const bool stored = download::storeBlocks(rows, {HexBlock{c.wordAddress, {0x4242}}});
    EXPECT_EQ(stored, c.fits) << std::hex << c.wordAddress;
    if (c.fits) {
      EXPECT_FALSE(rows[c.row].empty()) << std::hex << c.wordAddress;
    }
  }
}

TEST(MemoryRow, DataInTheFirstKiloWordFillsTheRowsThatHoldItAndNoOthers) {
  auto rows = createRows(0);
  HexBlock block{0, std::vector<std::uint16_t>(0x400, 0x0102)};
  ASSERT_TRUE(download::storeBlocks(rows, {block}));
  std::vector<std::size_t> sentRows;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].kind() != RowKind::Config && rows[i].Sent()) sentRows.push_back(i);
  ASSERT_EQ(sentRows.size(), 16u);
  EXPECT_EQ(sentRows.back(), 15u);
}

}  // namespace
