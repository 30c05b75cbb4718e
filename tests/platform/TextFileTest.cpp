// Line splitting, Windows-1252 CR LF writing and atomic replacement of files.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "platform/TextFile.h"

namespace fs = std::filesystem;

namespace {

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("veltris-textfile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string bytesOf(const fs::path& p) {
    std::string bytes;
    EXPECT_TRUE(platform::readFileBytes(p, bytes));
    return bytes;
  }
  static void writeBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

struct SplitCase {
  const char* text;
  std::vector<std::string> lines;
  friend std::ostream& operator<<(std::ostream& os, const SplitCase& c) { return os << c.lines.size() << " lines"; }
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, AcceptsEveryLineEndAndKeepsNoCarriageReturn) {
  EXPECT_EQ(platform::splitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitLines,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}},
                                           SplitCase{"a\r\nb\r\n", {"a", "b"}}, SplitCase{"a\nb", {"a", "b"}},
                                           SplitCase{"a\rb\r", {"a", "b"}}, SplitCase{"a\r\n\r\nb", {"a", "", "b"}},
                                           SplitCase{"\r\n", {""}},
                                           SplitCase{"Modul=5\r\nComPort=1", {"Modul=5", "ComPort=1"}}));

TEST_F(TempDir, WritesWindows1252WithCrLfAfterEveryLine) {
  const fs::path file = dir_ / "out.dat";
  ASSERT_TRUE(platform::writeTextLinesAtomic(file, {"Modul=5", "", "xWerkstücknullpunkt=0.00"}));
  EXPECT_EQ(bytesOf(file),
            "Modul=5\r\n\r\nxWerkst\xFC"
            "cknullpunkt=0.00\r\n");
  const auto read = platform::readTextLines(file);
  ASSERT_EQ(read.status, platform::ReadStatus::Ok);
  EXPECT_EQ(read.lines, (std::vector<std::string>{"Modul=5", "", "xWerkstücknullpunkt=0.00"}));
  EXPECT_EQ(leftovers(), std::vector<std::string>{"out.dat"});
}

TEST_F(TempDir, TellsAMissingFileFromOneThatCannotBeRead) {
  EXPECT_EQ(platform::readTextLines(dir_ / "none.dat").status, platform::ReadStatus::Missing);
  const auto dirRead = platform::readTextLines(dir_);
  EXPECT_EQ(dirRead.status, platform::ReadStatus::Failed);
  EXPECT_FALSE(dirRead.error.empty());
}

TEST_F(TempDir, ReplacingKeepsTheOldFilesPermissions) {
  const fs::path file = dir_ / "keep.dat";
  writeBytes(file, "old\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_TRUE(platform::writeTextLinesAtomic(file, {"new"}));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(bytesOf(file), "new\r\n");
}

TEST_F(TempDir, AFailedRenameLeavesNoTemporaryAndReportsTheReason) {
  const fs::path target = dir_ / "target";
  fs::create_directories(target / "inner");
  std::string error;
  EXPECT_FALSE(platform::writeTextLinesAtomic(target, {"x"}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(target / "inner"));
  EXPECT_EQ(leftovers(), std::vector<std::string>{"target"});
}

TEST_F(TempDir, AFolderThatIsAFileFailsCleanly) {
  writeBytes(dir_ / "plain", "x");
  std::string error;
  EXPECT_FALSE(platform::writeFileAtomic(dir_ / "plain" / "f.dat", "data", &error));
  EXPECT_FALSE(error.empty());
}

// A full disk in the middle of a save: the write fails and the old file must be untouched.
TEST_F(TempDir, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  const fs::path file = dir_ / "param.dat";
  const std::string old = "Modul=5\r\nComPort=3\r\n";
  writeBytes(file, old);

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

  std::string error;
  const bool ok = platform::writeFileAtomic(file, std::string(4096, 'x'), &error);

  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(bytesOf(file), old);
  EXPECT_EQ(leftovers(), std::vector<std::string>{"param.dat"});
}

TEST_F(TempDir, AppendingCreatesTheFileAndEndsEachLineWithCrLf) {
  const fs::path file = dir_ / "log.txt";
  ASSERT_TRUE(platform::appendTextLine(file, "eins"));
  ASSERT_TRUE(platform::appendTextLine(file, "zwei ü"));
  EXPECT_EQ(bytesOf(file), "eins\r\nzwei \xFC\r\n");
  EXPECT_FALSE(platform::appendTextLine(dir_ / "missing" / "log.txt", "x"));
}

}  // namespace
