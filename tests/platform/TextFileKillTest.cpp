// Saves killed at random moments: the file is always the old or the new one, whole. A save killed
// while it writes leaves nothing; one killed in the instant between linking its finished
// temporary and the rename leaves that one short-named file, whole, which the next save of the
// same file removes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/TextFile.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kKills = 200;
constexpr std::size_t kBytes = 64 * 1024;

class KilledSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("veltris-killed-saves-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

TEST_F(KilledSaves, LeaveTheOldOrTheNewFileWholeAndNoTemporary) {
  const fs::path file = dir_ / "platte.tvx";
  const std::string contentA(kBytes, 'A');
  // How long one save takes here and now (a loaded machine, a sanitizer build).
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(platform::writeFileAtomic(file, contentA));
  const auto saveMicros = std::max<long>(
      1000,
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 10);
  const std::string saver = VELTRIS_TEXT_FILE_SAVER;
  const std::string size = std::to_string(kBytes);
  std::mt19937 random(std::random_device{}());
  // Kills fall anywhere in the second to fourth save of each saver.
  std::uniform_int_distribution<long> delayMicros(0, 3 * saveMicros);

  int wholeA = 0;
  int wholeB = 0;
  int linkedTemporaries = 0;
  std::string lastLeftover;
  for (int kill = 0; kill < kKills; ++kill) {
    struct stat old {};
    ASSERT_EQ(::stat(file.c_str(), &old), 0);
    std::vector<char*> argv{const_cast<char*>(saver.c_str()), const_cast<char*>(file.c_str()),
                            const_cast<char*>(size.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, saver.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    // Its first save has replaced the file.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (struct stat now{}; ::stat(file.c_str(), &now) == 0 && now.st_ino == old.st_ino;) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the saver never saved";
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    // Killed, not ended by a failed save.
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped on its own after kill " << kill;

    std::string bytes;
    ASSERT_TRUE(platform::readFileBytes(file, bytes));
    const bool isA = bytes == contentA;
    const bool isB = bytes == std::string(kBytes + 1, 'B');
    ASSERT_TRUE(isA || isB) << "kill " << kill << " left " << bytes.size() << " bytes";
    wholeA += isA ? 1 : 0;
    wholeB += isB ? 1 : 0;
    std::string leftover;
    for (const auto& name : entries()) {
      if (name == "platte.tvx") continue;
      ASSERT_TRUE(leftover.empty()) << "kill " << kill << " left a second file " << name;
      ASSERT_TRUE(name.rfind(".~", 0) == 0 && name.size() == 22) << "kill " << kill << " left " << name;
      leftover = name;
    }
    if (!leftover.empty() && leftover != lastLeftover) {
      ++linkedTemporaries;
      std::string temporary;
      ASSERT_TRUE(platform::readFileBytes(dir_ / leftover, temporary));
      EXPECT_TRUE(temporary == std::string(kBytes, 'A') || temporary == std::string(kBytes + 1, 'B'));
    }
    lastLeftover = leftover;
  }
  // The kills landed in different saves.
  EXPECT_GT(wholeB, 0);
  EXPECT_GT(wholeA, 0);
  // Only the rare kill between link and rename leaves anything, and the next save removes it.
  EXPECT_LE(linkedTemporaries, kKills / 10);
  ASSERT_TRUE(platform::writeFileAtomic(file, "C"));
  EXPECT_EQ(entries(), std::vector<std::string>{"platte.tvx"});
}

}  // namespace
