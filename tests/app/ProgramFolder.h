// A fresh temporary folder that serves as the program folder (and so holds the trace log) for
// one test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ProgramPath.h"

namespace apptest {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "veltris-app-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    folder_ = tmpl;
    previous_ = platform::programFolder();
    platform::setProgramFolder(folder_);
  }

  void TearDown() override {
    platform::setProgramFolder(previous_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

}  // namespace apptest
