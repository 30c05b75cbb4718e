// Line splitting, Windows-1252 CR LF writing, what the readers refuse, and atomic replacement of
// files (the kill test is TextFileKillTest.cpp).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <utility>

#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace();
    dir_ = folder_->path();
  }
  void TearDown() override { folder_.reset(); }

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

  std::optional<testsupport::TempFolder> folder_;
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

// Only regular files of a sane size are read: a device would never end (and /dev/zero ended in
// bad_alloc), a FIFO would block the caller for good. Each refusal says why.
TEST_F(TempDir, OnlyRegularFilesOfASaneSizeAreRead) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  const fs::path huge = dir_ / "huge.dat";
  writeBytes(huge, "");
  fs::resize_file(huge, platform::kMaxReadBytes + 1);  // sparse: nothing is written
  const std::pair<fs::path, std::string> cases[] = {{dir_ / "fifo", "keine gewöhnliche Datei"},
                                                    {"/dev/zero", "keine gewöhnliche Datei"},
                                                    {dir_, std::strerror(EISDIR)},
                                                    {huge, "Datei größer als 1 GiB"}};
  for (const auto& [path, reason] : cases) {
    std::string bytes = "old";
    std::string error;
    EXPECT_FALSE(platform::readFileBytes(path, bytes, &error)) << path;
    EXPECT_EQ(error, reason) << path;
    EXPECT_TRUE(bytes.empty());
    const auto lines = platform::readTextLines(path);
    EXPECT_EQ(lines.status, platform::ReadStatus::Failed) << path;
    EXPECT_EQ(lines.error, reason) << path;
  }
  const auto missing = platform::readTextLines(dir_ / "none.dat");
  EXPECT_EQ(missing.error, std::strerror(ENOENT));
}

// The temporary's name is short whatever the target's, so a name of the longest legal length
// saves too; and nothing is left beside it.
TEST_F(TempDir, ANameOfTheLongestLegalLengthSaves) {
  const fs::path file = dir_ / (std::string(250, 'n') + ".tvx");
  ASSERT_EQ(file.filename().string().size(), 254u);
  std::string error;
  ASSERT_TRUE(platform::writeFileAtomic(file, "neu", &error)) << error;
  ASSERT_TRUE(platform::writeFileAtomic(file, "neuer", &error)) << error;
  EXPECT_EQ(bytesOf(file), "neuer");
  EXPECT_EQ(leftovers(), std::vector<std::string>{file.filename().string()});
}

// A save through a symbolic link writes into the file it points to: the link stays a link, also
// over a chain of links and when the file does not exist yet.
TEST_F(TempDir, ASaveThroughALinkReplacesTheFileItPointsTo) {
  fs::create_directories(dir_ / "echt");
  writeBytes(dir_ / "echt" / "platte.tvx", "alt");
  fs::create_symlink("echt/platte.tvx", dir_ / "link.tvx");
  fs::create_symlink(dir_ / "link.tvx", dir_ / "kette.tvx");
  fs::create_symlink("echt/neu.tvx", dir_ / "offen.tvx");

  ASSERT_TRUE(platform::writeFileAtomic(dir_ / "kette.tvx", "neu"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "kette.tvx"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.tvx"));
  EXPECT_EQ(bytesOf(dir_ / "echt" / "platte.tvx"), "neu");

  ASSERT_TRUE(platform::writeFileAtomic(dir_ / "offen.tvx", "erst"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "offen.tvx"));
  EXPECT_EQ(bytesOf(dir_ / "echt" / "neu.tvx"), "erst");
  std::vector<std::string> inside;
  for (const auto& e : fs::directory_iterator(dir_ / "echt")) inside.push_back(e.path().filename().string());
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector<std::string>{"neu.tvx", "platte.tvx"}));
}

TEST_F(TempDir, AppendingCreatesTheFileAndEndsEachLineWithCrLf) {
  const fs::path file = dir_ / "log.txt";
  ASSERT_TRUE(platform::appendTextLine(file, "eins"));
  ASSERT_TRUE(platform::appendTextLine(file, "zwei ü"));
  EXPECT_EQ(bytesOf(file), "eins\r\nzwei \xFC\r\n");
  EXPECT_FALSE(platform::appendTextLine(dir_ / "missing" / "log.txt", "x"));
}

}  // namespace
