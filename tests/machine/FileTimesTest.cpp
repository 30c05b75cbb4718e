// Tests of setting the file times of the development files in the program folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "machine/FileTimes.h"
#include "support/TempFolder.h"

namespace {

// 22 January 2013, 08:00:00 UTC, as the development switch passes it.
constexpr time_t kStampSeconds = 1358841600;
constexpr time_t kOldSeconds = 946684800;  // 1 January 2000

class DateizeitenSetzen : public ::testing::Test {
 protected:
  std::filesystem::path file(const std::string& name) {
    const auto path = folder_ / name;
    std::ofstream(path) << name;
    setOld(path);
    return path;
  }

  static void setOld(const std::filesystem::path& path) {
    const timespec old[2] = {{kOldSeconds, 0}, {kOldSeconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, AT_SYMLINK_NOFOLLOW);
  }

  static struct stat statOf(const std::filesystem::path& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
  }

  static bool stamped(const std::filesystem::path& path) {
    const auto st = statOf(path);
    return st.st_mtim.tv_sec == kStampSeconds && st.st_atim.tv_sec == kStampSeconds;
  }

  static bool untouched(const std::filesystem::path& path) {
    const auto st = statOf(path);
    return st.st_mtim.tv_sec == kOldSeconds && st.st_atim.tv_sec == kOldSeconds;
  }

  testsupport::ProgramFolder folder_;
  const machine::FileTimeStamp stamp_{2013, 1, 2, 22, 8, 0, 0, 250};
};

TEST_F(DateizeitenSetzen, StampsTheDevelopmentFilesAndTheGivenExtensions) {
  const char* matching[] = {"main.cpp",  "Form.H",  "Unit.dfm",    "veltris.res",  "veltris.bpr", "veltris_param.dat",
                            "panel.tvx", "x.obj",   "veltris.exe", "liesmich.TXT", "Start.lnk",   "make.bat",
                            "logo.png",  "a.b.cpp", "extra.xyz",   "more.Abc"};
  const char* others[] = {"notes.md", "main.cpp.bak", "cpp", "noext", "other.abcd"};
  for (const char* name : matching) file(name);
  for (const char* name : others) file(name);
  std::filesystem::create_directory(folder_ / "sub.cpp");
  setOld(folder_ / "sub.cpp");

  machine::Dateizeiten_setzen(stamp_, "XYZ", "abc");

  for (const char* name : matching) {
    EXPECT_TRUE(stamped(folder_ / name)) << name;
    EXPECT_EQ(statOf(folder_ / name).st_mtim.tv_nsec, 250000000L) << name;
  }
  for (const char* name : others) EXPECT_TRUE(untouched(folder_ / name)) << name;
  EXPECT_TRUE(untouched(folder_ / "sub.cpp"));
}

TEST_F(DateizeitenSetzen, EmptyExtensionsAddNothing) {
  file("keep.xyz");
  file("noext");
  file("main.cpp");
  machine::Dateizeiten_setzen(stamp_, "", "");
  EXPECT_TRUE(untouched(folder_ / "keep.xyz"));
  EXPECT_TRUE(untouched(folder_ / "noext"));
  EXPECT_TRUE(stamped(folder_ / "main.cpp"));
}

TEST_F(DateizeitenSetzen, LeavesSymbolicLinksAndTheirTargetsAlone) {
  testsupport::TempFolder elsewhere;
  const auto target = elsewhere / "target.cpp";
  std::ofstream(target) << "x";
  setOld(target);
  std::filesystem::create_symlink(target, folder_ / "link.cpp");
  setOld(folder_ / "link.cpp");

  machine::Dateizeiten_setzen(stamp_, "", "");

  EXPECT_TRUE(untouched(target));
  // Only the link's modification time tells: resolving a link counts as reading it.
  EXPECT_EQ(statOf(folder_ / "link.cpp").st_mtim.tv_sec, kOldSeconds);
}

TEST_F(DateizeitenSetzen, InvalidTimeStampChangesNothing) {
  const auto path = file("main.cpp");
  const machine::FileTimeStamp invalid[] = {
      {2013, 13, 0, 22, 8, 0, 0, 0}, {2013, 2, 0, 30, 8, 0, 0, 0},    {2013, 1, 0, 22, 24, 0, 0, 0},
      {2013, 1, 0, 22, 8, 60, 0, 0}, {2013, 1, 0, 22, 8, 0, 0, 1000}, {2013, 0, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& s : invalid) {
    machine::Dateizeiten_setzen(s, "", "");
    EXPECT_TRUE(untouched(path)) << s.month << "/" << s.day << " " << s.hour << ":" << s.minute;
  }
}

TEST(DateizeitenSetzenFolder, MissingProgramFolderIsNoError) {
  testsupport::ProgramFolder folder;
  platform::setProgramFolder(folder / "gone");
  EXPECT_NO_THROW(machine::Dateizeiten_setzen({2013, 1, 2, 22, 8, 0, 0, 0}, "", ""));
}

}  // namespace
