// The device table: its parts by family, and the search by identifier and revision.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "download/DeviceTable.h"

namespace {

TEST(DeviceTable, HoldsTheSupportedPartsOfEachFamilyWithTheirRevision) {
  std::array<int, 4> perFamily{};
  for (const auto& entry : download::DeviceTable()) {
    ASSERT_LT(entry.family, 4);
    ++perFamily[entry.family];
    EXPECT_EQ(entry.revision, entry.family == 0 ? 1 : 3) << entry.name;
  }
  EXPECT_EQ(download::DeviceTable().size(), 77u);
  EXPECT_EQ(perFamily, (std::array<int, 4>{28, 27, 13, 9}));
}

TEST(DeviceTable, TheRevisionTellsPartsWithTheSameIdentifierApart) {
  struct Case {
    std::uint16_t id;
    std::uint16_t revision;
    const char* name;  // null: unknown
    int family;
  };
  const Case cases[] = {
      {0x00C1, 1, "dsPIC30F3012", 0}, {0x00C1, 3, "dsPIC33FJ64GP206", 1}, {0x00C1, 2, nullptr, -1},
      {0x0198, 1, "dsPIC30F6014", 0}, {0x007B, 3, "PIC24HJ256GP610", 2},  {0x040D, 3, "PIC24FJ128GA010", 3},
      {0x0198, 3, nullptr, -1},       {0xFFFF, 1, nullptr, -1},
  };
  for (const Case& c : cases) {
    const auto* entry = download::findDevice(c.id, c.revision);
    if (c.name == nullptr) {
      EXPECT_EQ(entry, nullptr) << c.id;
      continue;
    }
    ASSERT_NE(entry, nullptr) << c.id;
    EXPECT_EQ(std::string(entry->name), c.name);
    EXPECT_EQ(entry->family, c.family);
  }
}

}  // namespace
