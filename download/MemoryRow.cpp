// Memory rows: layout, word storage, packing into the bootloader's byte order and frames.
#include "MemoryRow.h"

#include <optional>

namespace download {

namespace {

std::uint8_t hi(std::uint16_t word) { return static_cast<std::uint8_t>(word >> 8); }
std::uint8_t lo(std::uint16_t word) { return static_cast<std::uint8_t>(word & 0xFF); }

void appendAddress(std::string& frame, std::uint32_t address) {
  frame.push_back(static_cast<char>(address & 0xFF));
  frame.push_back(static_cast<char>((address >> 8) & 0xFF));
  frame.push_back(static_cast<char>((address >> 16) & 0xFF));
}

// Number of the row in createRows' order that holds `wordAddress`, if any. Rows do not overlap,
// so this is the row that offering the word to every row in turn would find.
std::optional<std::size_t> rowOf(std::uint64_t wordAddress, std::uint8_t family) {
  const std::uint64_t programWords = 2ull * static_cast<std::uint64_t>(instructionsPerRow(family));
  if (wordAddress < programWords * kProgramRows) return static_cast<std::size_t>(wordAddress / programWords);
  const std::uint64_t eepromWords = 2 * kEepromWords;
  if (wordAddress >= kEepromBase && wordAddress < kEepromBase + eepromWords * kEepromRows)
    return kProgramRows + static_cast<std::size_t>((wordAddress - kEepromBase) / eepromWords);
  if (wordAddress >= kConfigBase && wordAddress < kConfigBase + 2ull * kConfigRows)
    return kProgramRows + kEepromRows + static_cast<std::size_t>((wordAddress - kConfigBase) / 2);
  return std::nullopt;
}

}  // namespace

int instructionsPerRow(std::uint8_t family) { return family == 0 ? 32 : 512; }

int configRegisters(std::uint8_t family) { return family == 0 ? kConfigRows - 1 : kConfigRows; }

MemoryRow::MemoryRow(RowKind kind, std::uint32_t baseAddress, int index, std::uint8_t family)
    : kind_(kind), address_(baseAddress), index_(index), family_(family) {
  std::size_t outputBytes = 0;
  switch (kind) {
    case RowKind::Program:
      size_ = instructionsPerRow(family);
      outputBytes = 3 * static_cast<std::size_t>(size_);
      break;
    case RowKind::Eeprom:
      size_ = kEepromWords;
      outputBytes = 2 * kEepromWords;
      break;
    case RowKind::Config:
      size_ = 1;
      outputBytes = 3;
      break;
  }
  image_.assign(2 * static_cast<std::size_t>(size_), 0xFFFF);
  // A row without data from the file (a skipped configuration register) still goes on the wire:
  // erased bytes rather than whatever memory held.
  output_.assign(outputBytes, 0xFF);
}

bool MemoryRow::StoreWord(std::uint64_t wordAddress, std::uint16_t value) {
  if (wordAddress < address_ || wordAddress >= address_ + image_.size()) return false;
  empty_ = false;
  image_[static_cast<std::size_t>(wordAddress - address_)] = value;
  return true;
}

void MemoryRow::PackBytes() {
  if (empty_) return;
  std::size_t out = 0;
  switch (kind_) {
    case RowKind::Program:
      for (std::size_t i = 0; i < static_cast<std::size_t>(size_); ++i) {
        output_[out++] = hi(image_[2 * i]);
        output_[out++] = lo(image_[2 * i]);
        output_[out++] = hi(image_[2 * i + 1]);
      }
      break;
    case RowKind::Eeprom:
      for (std::size_t i = 0; i < kEepromWords; ++i) {
        output_[out++] = hi(image_[2 * i]);
        output_[out++] = lo(image_[2 * i]);
      }
      break;
    case RowKind::Config:
      output_[0] = hi(image_[0]);
      output_[1] = lo(image_[0]);
      output_[2] = hi(image_[1]);
      break;
  }
}

bool MemoryRow::Sent() const {
  if (kind_ == RowKind::Config) return index_ < configRegisters(family_);
  return !empty_;
}

std::string MemoryRow::Frame() const {
  std::string frame;
  switch (kind_) {
    case RowKind::Program:
    case RowKind::Eeprom:
      frame.push_back(static_cast<char>(kind_ == RowKind::Program ? kCmdWriteProgram : kCmdWriteEeprom));
      appendAddress(frame, address_);
      frame.append(output_.begin(), output_.end());
      break;
    case RowKind::Config:
      if (index_ == 0) frame.push_back(static_cast<char>(kCmdWriteConfig));
      frame.push_back(empty_ ? 1 : 0);
      frame.push_back(static_cast<char>(output_[0]));
      frame.push_back(static_cast<char>(output_[1]));
      break;
  }
  return frame;
}

std::vector<MemoryRow> createRows(std::uint8_t family) {
  std::vector<MemoryRow> rows;
  rows.reserve(kRowCount);
  const auto programWords = static_cast<std::uint32_t>(2 * instructionsPerRow(family));
  for (int i = 0; i < kProgramRows; ++i)
    rows.emplace_back(RowKind::Program, static_cast<std::uint32_t>(i) * programWords, i, family);
  for (int i = 0; i < kEepromRows; ++i)
    rows.emplace_back(RowKind::Eeprom, kEepromBase + static_cast<std::uint32_t>(i) * 2 * kEepromWords, i, family);
  for (int i = 0; i < kConfigRows; ++i)
    rows.emplace_back(RowKind::Config, kConfigBase + static_cast<std::uint32_t>(i) * 2, i, family);
  return rows;
}

bool storeBlocks(std::vector<MemoryRow>& rows, const std::vector<HexBlock>& blocks) {
  if (rows.size() != kRowCount) return false;
  const std::uint8_t family = rows.front().family();
  for (const HexBlock& block : blocks) {
    std::uint64_t wordAddress = block.wordAddress;
    for (std::uint16_t word : block.words) {
      const auto row = rowOf(wordAddress, family);
      if (!row || !rows[*row].StoreWord(wordAddress, word)) return false;
      ++wordAddress;
    }
  }
  return true;
}

}  // namespace download
