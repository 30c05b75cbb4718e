// Tests of the serial port list, with the ports resolved through environment overrides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "machine/ComPorts.h"
#include "support/TempFolder.h"

namespace {

// Ports beyond the default device table, so only the overrides below decide whether they exist.
class ComPortsAuflisten : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int n : overridden_) ::unsetenv(("VELTRIS_COM" + std::to_string(n)).c_str());
  }

  void portAt(int n, const std::filesystem::path& device) {
    ::setenv(("VELTRIS_COM" + std::to_string(n)).c_str(), device.c_str(), 1);
    overridden_.push_back(n);
  }

  std::filesystem::path existingDevice(const std::string& name) {
    const auto path = folder_ / name;
    std::ofstream(path).put('\0');
    return path;
  }

  testsupport::TempFolder folder_;
  std::vector<int> overridden_;
};

TEST_F(ComPortsAuflisten, ListsExistingPortsOneToSixtyThreeInOrder) {
  portAt(63, existingDevice("port63"));
  portAt(21, existingDevice("port21"));
  portAt(40, existingDevice("port40"));
  portAt(22, folder_ / "missing");
  portAt(0, existingDevice("port0"));
  portAt(64, existingDevice("port64"));
  portAt(100, existingDevice("port100"));

  const auto ports = machine::ComPorts_auflisten();

  auto listed = [&](const std::string& name) { return std::find(ports.begin(), ports.end(), name) != ports.end(); };
  EXPECT_TRUE(listed("COM21"));
  EXPECT_TRUE(listed("COM40"));
  EXPECT_TRUE(listed("COM63"));
  EXPECT_FALSE(listed("COM22"));
  EXPECT_FALSE(listed("COM0"));
  EXPECT_FALSE(listed("COM64"));
  EXPECT_FALSE(listed("COM100"));

  // Whatever else the machine has (COM1-COM20 may map to real devices): only COM1-COM63,
  // ascending, each once.
  std::vector<int> numbers;
  for (const auto& p : ports) {
    ASSERT_EQ(p.rfind("COM", 0), 0u) << p;
    numbers.push_back(std::stoi(p.substr(3)));
    EXPECT_EQ("COM" + std::to_string(numbers.back()), p);
  }
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
  EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end());
  for (int n : numbers) {
    EXPECT_GE(n, 1);
    EXPECT_LE(n, 63);
  }
}

}  // namespace
