// A fresh temporary folder that serves as the program folder (and so holds the trace log) for
// one test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "support/TempFolder.h"

namespace apptest {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_.emplace(); }
  void TearDown() override { folder_.reset(); }

  const std::filesystem::path& folder() const { return folder_->path(); }

 private:
  std::optional<testsupport::ProgramFolder> folder_;
};

}  // namespace apptest
