// The microcontrollers whose bootloader the download utility speaks to: part name, device
// identifier, silicon revision and family, as the bootloader reports them.
//
// Thread context: any thread; the table is constant.
#pragma once

#include <cstdint>
#include <span>

namespace download {

// Device families; they decide the size of a program row.
enum : std::uint8_t {
  kFamilyDsPic30F = 0,
  kFamilyDsPic33FJ = 1,
  kFamilyPic24HJ = 2,
  kFamilyPic24FJ = 3,
};

struct DeviceEntry {
  const char* name;
  std::uint16_t id;
  std::uint16_t revision;
  std::uint8_t family;
};

// Every supported part, in search order (the same identifier stands in several families with
// different revisions).
std::span<const DeviceEntry> DeviceTable();

// The first part whose identifier and revision both match; null for an unknown part.
const DeviceEntry* findDevice(std::uint16_t id, std::uint16_t revision);

}  // namespace download
