// Test fixture that points the program folder at a fresh temporary folder, so the trace log of
// a test can be read back on its own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "machine/TraceLog.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"

namespace paneltest {

class TraceLogFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::programFolder();
    dir_ = std::filesystem::temp_directory_path() / ("veltris-panel-" + std::to_string(::getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    platform::setProgramFolder(dir_);
  }

  void TearDown() override {
    platform::setProgramFolder(previous_);
    std::filesystem::remove_all(dir_);
  }

  static std::vector<std::string> traceLines() { return platform::readTextLines(machine::Protokolldatei()).lines; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

}  // namespace paneltest
