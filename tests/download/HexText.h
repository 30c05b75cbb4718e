// Intel-HEX text for the tests: records with their checksums, and whole files written from a
// picture of target memory the way the 16-bit tool chains lay it out (4 bytes per instruction,
// the fourth a zero pad; EEPROM and configuration behind extended linear address records).
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace downloadtest {

inline std::string record(std::uint16_t address, std::uint8_t type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                                  static_cast<std::uint8_t>(address & 0xFF), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  bytes.push_back(static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF));
  std::string line = ":";
  char digits[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    line += digits;
  }
  return line;
}

inline std::string dataRecord(std::uint16_t address, const std::vector<std::uint8_t>& data) {
  return record(address, 0x00, data);
}
inline std::string extendedRecord(std::uint16_t upper) {
  return record(0, 0x04, {static_cast<std::uint8_t>(upper >> 8), static_cast<std::uint8_t>(upper & 0xFF)});
}
inline std::string endRecord() { return record(0, 0x01, {}); }

// Target memory as a firmware file describes it.
struct Firmware {
  std::map<std::uint32_t, std::uint32_t> instructions;  // instruction index -> 24-bit value
  std::map<std::uint32_t, std::uint16_t> eeprom;        // EEPROM word index -> value
  std::map<std::uint32_t, std::uint16_t> config;        // configuration register -> value
};

// The file for `firmware`, one record per instruction, EEPROM word or register, lines ending in
// `eol`.
inline std::string hexFile(const Firmware& firmware, const std::string& eol = "\r\n") {
  std::string text;
  std::uint32_t upper = 0;
  const auto line = [&](std::uint32_t byteAddress, const std::vector<std::uint8_t>& data) {
    if ((byteAddress >> 16) != upper) {
      upper = byteAddress >> 16;
      text += extendedRecord(static_cast<std::uint16_t>(upper)) + eol;
    }
    text += dataRecord(static_cast<std::uint16_t>(byteAddress & 0xFFFF), data) + eol;
  };
  for (const auto& [index, value] : firmware.instructions)
    line(index * 4, {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                     static_cast<std::uint8_t>((value >> 16) & 0xFF), 0});
  // EEPROM words at byte address 0xFFE000 (word address 0x7FF000), two word addresses apiece.
  for (const auto& [index, value] : firmware.eeprom)
    line(0xFFE000 + index * 4, {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8), 0, 0});
  // Configuration registers at byte address 0x1F00000 (word address 0xF80000).
  for (const auto& [index, value] : firmware.config)
    line(0x1F00000 + index * 4, {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
  return text + endRecord() + eol;
}

}  // namespace downloadtest
