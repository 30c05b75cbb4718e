// Fuzz target for the Intel-HEX reader and the memory rows: any bytes must read without a crash,
// a refused file keeps no data and names its line, a good file has 0 in every pad byte (the low
// byte of each word at an odd word address), and its words land in the rows of each family or
// are refused as a whole, with every packed row's frame of its exact length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "download/HexImage.h"
#include "download/MemoryRow.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::size_t frameLength(const download::MemoryRow& row) {
  switch (row.kind()) {
    case download::RowKind::Program:
      return 4 + 3 * static_cast<std::size_t>(row.size());
    case download::RowKind::Eeprom:
      return 4 + 32;
    case download::RowKind::Config:
      return row.index() == 0 ? 4 : 3;
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const download::HexReadResult result = download::readHexImage(text);
  if (!result.ok) {
    check(result.blocks.empty());
    check(!result.reason.empty());
    check(result.line >= 0);
    return 0;
  }
  for (const auto& block : result.blocks) {
    check(!block.words.empty());
    for (std::size_t i = 0; i < block.words.size(); ++i)
      if ((block.wordAddress + i) % 2 == 1) check((block.words[i] & 0xFFu) == 0);
  }
  for (std::uint8_t family : {std::uint8_t{0}, std::uint8_t{1}}) {
    auto rows = download::createRows(family);
    if (!download::storeBlocks(rows, result.blocks)) continue;
    for (auto& row : rows) {
      row.PackBytes();
      if (row.Sent()) check(row.Frame().size() == frameLength(row));
    }
  }
  return 0;
}
