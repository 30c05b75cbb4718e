// Writing a checked HEX image into the identified part: the memory rows of its family, the
// bootloader's own reset vector kept, every row sent and acknowledged, then the bootloader left.
//
// Thread context: the download's worker thread; blocks on the link within the deadlines of the
// bootloader's timing.
#pragma once

#include <cstdint>
#include <vector>

#include "download/Bootloader.h"
#include "download/HexImage.h"
#include "download/MemoryRow.h"

namespace download {

struct ProgramOutcome {
  DownloadResult result = DownloadResult::Success;
  // Some row went to the device: after a failure its firmware is incomplete.
  bool rowsSent = false;
};

// Rows of `family` holding `blocks`; false when a word lies outside every row.
bool buildRows(const std::vector<HexBlock>& blocks, std::uint8_t family, std::vector<MemoryRow>& rows);

// Reads the reset vector into the first program row, packs and sends every row in order. Program
// and EEPROM rows are sent again whole while refused or unanswered, up to the timing's attempts;
// the configuration registers travel without an address, so a refused or unanswered one restarts
// their sequence from the first register. A row whose last attempt got no answer ends the
// download as a silent bootloader, one refused to the last as refused data. On success the
// bootloader is left with 0x08.
ProgramOutcome ProgramDevice(Bootloader& boot, std::vector<MemoryRow>& rows);

}  // namespace download
