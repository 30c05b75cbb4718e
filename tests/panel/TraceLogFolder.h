// Test fixture that points the program folder at a fresh temporary folder, so the trace log of
// a test can be read back on its own.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace paneltest {

class TraceLogFolder : public ::testing::Test {
 protected:
  void SetUp() override { folder_.emplace(); }
  void TearDown() override { folder_.reset(); }

  static std::vector<std::string> traceLines() { return platform::readTextLines(machine::Protokolldatei()).lines; }

 private:
  std::optional<testsupport::ProgramFolder> folder_;
};

}  // namespace paneltest
