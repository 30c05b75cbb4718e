// "COMn" to device path: environment override first, then the default table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "platform/SerialPortNames.h"

namespace {

struct PortCase {
  int n;
  const char* path;
  friend std::ostream& operator<<(std::ostream& os, const PortCase& c) { return os << "COM" << c.n; }
};

class DefaultTable : public ::testing::TestWithParam<PortCase> {};

TEST_P(DefaultTable, MapsComNumbersToLinuxDevices) {
  ::unsetenv(("VELTRIS_COM" + std::to_string(GetParam().n)).c_str());
  EXPECT_EQ(platform::comDevicePath(GetParam().n), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Cases, DefaultTable,
                         ::testing::Values(PortCase{1, "/dev/ttyS0"}, PortCase{4, "/dev/ttyS3"},
                                           PortCase{5, "/dev/ttyUSB0"}, PortCase{12, "/dev/ttyUSB7"},
                                           PortCase{13, "/dev/ttyACM0"}, PortCase{20, "/dev/ttyACM7"}, PortCase{21, ""},
                                           PortCase{0, ""}, PortCase{-3, ""}));

TEST(SerialPortNames, AnOverrideWinsAndDecidesWhetherThePortExists) {
  const auto file = std::filesystem::temp_directory_path() / ("veltris-port-" + std::to_string(::getpid()));
  std::ofstream(file) << "";
  ::setenv("VELTRIS_COM30", file.c_str(), 1);
  ::setenv("VELTRIS_COM2", "/nonexistent/tty", 1);
  EXPECT_EQ(platform::comDevicePath(30), file.string());
  EXPECT_TRUE(platform::comPortExists(30));
  EXPECT_FALSE(platform::comPortExists(2));
  EXPECT_FALSE(platform::comPortExists(31));
  ::unsetenv("VELTRIS_COM30");
  ::unsetenv("VELTRIS_COM2");
  std::filesystem::remove(file);
}

}  // namespace
