// The part table of the bootloader's identification.
#include "DeviceTable.h"

#include <array>

namespace download {

namespace {

constexpr std::uint16_t kRev30F = 1;
constexpr std::uint16_t kRev33 = 3;

constexpr std::array kDevices = {
    DeviceEntry{"dsPIC30F2010", 0x0040, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F2011", 0x00C0, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F2011", 0x0240, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F2012", 0x00C2, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F2012", 0x0241, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F3010", 0x01C0, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F3011", 0x01C1, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F3012", 0x00C1, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F3013", 0x00C3, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F3014", 0x0160, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F4011", 0x0101, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F4012", 0x0100, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F4013", 0x0141, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F5011", 0x0080, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F5013", 0x0081, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F5015", 0x0200, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F5016", 0x0201, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6010", 0x0188, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6010A", 0x0281, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6011", 0x0192, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6011A", 0x02C0, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6012", 0x0193, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6012A", 0x02C2, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6013", 0x0197, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6013A", 0x02C1, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6014", 0x0198, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6014A", 0x02C3, kRev30F, kFamilyDsPic30F},
    DeviceEntry{"dsPIC30F6015", 0x0280, kRev30F, kFamilyDsPic30F},

    DeviceEntry{"dsPIC33FJ64GP206", 0x00C1, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64GP306", 0x00CD, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64GP310", 0x00CF, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64GP706", 0x00D5, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64GP708", 0x00D6, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64GP710", 0x00D7, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP206", 0x00D9, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP306", 0x00E5, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP310", 0x00E7, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP706", 0x00ED, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP708", 0x00EE, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128GP710", 0x00EF, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ256GP506", 0x00F5, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ256GP510", 0x00F7, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ256GP710", 0x00FF, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64MC506", 0x0089, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64MC508", 0x008A, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64MC510", 0x008B, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64MC706", 0x0091, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ64MC710", 0x0097, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128MC506", 0x00A1, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128MC510", 0x00A3, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128MC706", 0x00A9, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128MC708", 0x00AE, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ128MC710", 0x00AF, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ256MC510", 0x00B7, kRev33, kFamilyDsPic33FJ},
    DeviceEntry{"dsPIC33FJ256MC710", 0x00BF, kRev33, kFamilyDsPic33FJ},

    DeviceEntry{"PIC24HJ64GP206", 0x0041, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ64GP210", 0x0047, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ64GP506", 0x0049, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ64GP510", 0x004B, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP206", 0x005D, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP210", 0x005F, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP306", 0x0065, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP310", 0x0067, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP506", 0x0061, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ128GP510", 0x0063, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ256GP206", 0x0071, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ256GP210", 0x0073, kRev33, kFamilyPic24HJ},
    DeviceEntry{"PIC24HJ256GP610", 0x007B, kRev33, kFamilyPic24HJ},

    DeviceEntry{"PIC24FJ64GA006", 0x0405, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ64GA008", 0x0408, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ64GA010", 0x040B, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ96GA006", 0x0406, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ96GA008", 0x0409, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ96GA010", 0x040C, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ128GA006", 0x0407, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ128GA008", 0x040A, kRev33, kFamilyPic24FJ},
    DeviceEntry{"PIC24FJ128GA010", 0x040D, kRev33, kFamilyPic24FJ},
};

}  // namespace

std::span<const DeviceEntry> DeviceTable() { return kDevices; }

const DeviceEntry* findDevice(std::uint16_t id, std::uint16_t revision) {
  for (const DeviceEntry& entry : kDevices)
    if (entry.id == id && entry.revision == revision) return &entry;
  return nullptr;
}

}  // namespace download
