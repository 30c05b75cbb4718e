// Tests of the choice of the folder for the program's own files and of their names.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "app/ProgramFiles.h"

namespace {

using std::filesystem::path;

struct FilesCase {
  path executable;
  bool writable;
  path fallback;
  path folder;
  bool usesFallback;
  friend std::ostream& operator<<(std::ostream& os, const FilesCase& c) {
    return os << c.executable << (c.writable ? " writable" : " read-only");
  }
};

class ProgramFilesChoice : public ::testing::TestWithParam<FilesCase> {};

TEST_P(ProgramFilesChoice, NamesTheFilesAfterTheProgramInTheChosenFolder) {
  const FilesCase& c = GetParam();
  path asked;
  const app::ProgramFiles files = app::chooseProgramFiles(
      c.executable,
      [&](const path& folder) {
        asked = folder;
        return c.writable;
      },
      c.fallback);
  EXPECT_EQ(asked, c.executable.parent_path());
  EXPECT_EQ(files.folder, c.folder);
  EXPECT_EQ(files.fallback, c.usesFallback);
  EXPECT_EQ(files.Parameterdatei, c.folder / "veltris_param.dat");
  EXPECT_EQ(files.Konfigdatei, c.folder / "veltris_konfig.dat");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramFilesChoice,
    ::testing::Values(FilesCase{"/opt/veltris/Veltris", true, "/home/u/.config/veltris", "/opt/veltris", false},
                      FilesCase{"/usr/bin/veltris", false, "/home/u/.config/veltris", "/home/u/.config/veltris", true},
                      // Without a fallback folder the files stay beside the program.
                      FilesCase{"/usr/bin/veltris", false, "", "/usr/bin", false}));

TEST(ProgramFiles, TheFallbackFolderFollowsTheXdgRules) {
  EXPECT_EQ(app::xdgConfigFolder("/etc/cfg", "/home/u"), path("/etc/cfg/veltris"));
  // A relative XDG_CONFIG_HOME is ignored, like an empty or missing one.
  EXPECT_EQ(app::xdgConfigFolder("cfg", "/home/u"), path("/home/u/.config/veltris"));
  EXPECT_EQ(app::xdgConfigFolder("", "/home/u"), path("/home/u/.config/veltris"));
  EXPECT_EQ(app::xdgConfigFolder(nullptr, "/home/u"), path("/home/u/.config/veltris"));
  EXPECT_EQ(app::xdgConfigFolder(nullptr, nullptr), path());
  EXPECT_EQ(app::xdgConfigFolder(nullptr, ""), path());
}

TEST(ProgramFiles, AFolderIsWritableOnlyWhenItExistsAndMayBeWritten) {
  EXPECT_TRUE(app::folderWritable(std::filesystem::temp_directory_path()));
  EXPECT_FALSE(app::folderWritable(std::filesystem::temp_directory_path() / "veltris-no-such-folder" / "x"));
  EXPECT_FALSE(app::folderWritable(path()));
}

}  // namespace
