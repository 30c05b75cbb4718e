// Memory rows: blocks of target memory that mirror the controller's program memory, data EEPROM
// and configuration registers. A download creates all of them, stores the words of the HEX file
// in them, packs them into the byte order the bootloader takes and sends them in creation order.
//
// Thread context: plain values, used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "download/HexImage.h"

namespace download {

enum class RowKind : std::uint8_t { Program = 0, Eeprom = 1, Config = 2 };

inline constexpr int kProgramRows = 1536;
inline constexpr int kEepromRows = 128;
inline constexpr int kConfigRows = 8;
inline constexpr int kRowCount = kProgramRows + kEepromRows + kConfigRows;
inline constexpr std::uint32_t kEepromBase = 0x7FF000;
inline constexpr std::uint32_t kConfigBase = 0xF80000;
// Words of an EEPROM row.
inline constexpr int kEepromWords = 16;

// Bootloader command bytes of the row writes.
inline constexpr std::uint8_t kCmdWriteProgram = 0x03;
inline constexpr std::uint8_t kCmdWriteEeprom = 0x05;
inline constexpr std::uint8_t kCmdWriteConfig = 0x07;

// Instructions per program row: 32 for the dsPIC30F family, 512 for the others.
int instructionsPerRow(std::uint8_t family);
// Configuration registers the family has (and that are sent): 7 for dsPIC30F, else 8.
int configRegisters(std::uint8_t family);

class MemoryRow {
 public:
  // `index` counts the rows of one kind; `baseAddress` is the row's first word address.
  MemoryRow(RowKind kind, std::uint32_t baseAddress, int index, std::uint8_t family);

  // Stores `value` at `wordAddress` when the address lies in the row; false otherwise.
  bool StoreWord(std::uint64_t wordAddress, std::uint16_t value);
  // Fills the output bytes from the image; an empty row keeps its 0xFF bytes.
  void PackBytes();

  // Whether the row goes to the device at all: program and EEPROM rows only with data from the
  // file; configuration registers always, except the one the dsPIC30F family lacks.
  bool Sent() const;
  // The row's write frame: command byte (for a configuration register only before the first),
  // address (program and EEPROM, three bytes lowest first) and the output bytes; a configuration
  // register carries its skip flag (1: no value in the file) before its two value bytes.
  std::string Frame() const;

  RowKind kind() const { return kind_; }
  std::uint32_t address() const { return address_; }
  bool empty() const { return empty_; }
  int index() const { return index_; }
  // Instructions of a program row, 16 for an EEPROM row, 1 for a configuration register.
  int size() const { return size_; }
  std::uint8_t family() const { return family_; }
  const std::vector<std::uint8_t>& outputBytes() const { return output_; }
  const std::vector<std::uint16_t>& image() const { return image_; }

 private:
  RowKind kind_;
  std::uint32_t address_;
  int index_;
  int size_;
  std::uint8_t family_;
  bool empty_ = true;
  std::vector<std::uint16_t> image_;
  std::vector<std::uint8_t> output_;
};

// The rows of one download in creation and send order: program, EEPROM, configuration.
std::vector<MemoryRow> createRows(std::uint8_t family);

// Stores every word of `blocks` in its row (a later word replaces an earlier one at the same
// address). False, with the rows partly filled, when a word lies outside every row.
bool storeBlocks(std::vector<MemoryRow>& rows, const std::vector<HexBlock>& blocks);

}  // namespace download
