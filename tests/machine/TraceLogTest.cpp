// Tests of the trace log: line format on disk, control-byte rendering, a missing folder and
// concurrent writers.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "machine/TraceLog.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace {

std::string logBytes() {
  std::string bytes;
  platform::readFileBytes(machine::Protokolldatei(), bytes);
  return bytes;
}

TEST(SteuerzeichenDarstellen, RendersProtocolControlBytesOnly) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"@B\x06", "@B<ACK>"},
      {"E1\x07", "E1<BEL>"},
      {"\x02#S\r\x03", "<STX>#S<CR><ETX>"},
      {"\x15", "<NAK>"},
      {"a\nb", "a\nb"},
      {std::string("\x01\x04\x05\x1B", 4), std::string("\x01\x04\x05\x1B", 4)},
      {"Länge", "Länge"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(machine::Steuerzeichen_darstellen(c.in), c.out) << c.out;
}

TEST(ProtokollSchreiben, AppendsRenderedLinesWithCrLf) {
  testsupport::ProgramFolder folder;
  EXPECT_EQ(machine::Protokolldatei(), folder / "~protokoll.log");

  machine::Protokoll_schreiben("@B\x06");
  machine::Protokoll_schreiben("first\nsecond");
  machine::Protokoll_schreiben("Vektorfahrt_ausfuehren(1, 2) :: End");
  EXPECT_EQ(logBytes(), "@B<ACK>\r\nfirst\nsecond\r\nVektorfahrt_ausfuehren(1, 2) :: End\r\n");

  machine::Protokoll_loeschen();
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
  machine::Protokoll_loeschen();  // a missing log is no error
  machine::Protokoll_schreiben("again");
  EXPECT_EQ(logBytes(), "again\r\n");
}

TEST(ProtokollSchreiben, MissingFolderLosesTheLineSilently) {
  testsupport::ProgramFolder folder;
  platform::setProgramFolder(folder / "does-not-exist");
  machine::Protokoll_schreiben("lost");
  EXPECT_FALSE(std::filesystem::exists(folder / "does-not-exist"));
}

TEST(ProtokollSchreiben, ConcurrentWritersNeverInterleaveLines) {
  testsupport::ProgramFolder folder;
  constexpr int kThreads = 8;
  constexpr int kLines = 200;
  // Long lines make a torn write far more likely than short ones would.
  const std::string padding(300, 'x');
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t, &padding] {
      for (int i = 0; i < kLines; ++i)
        machine::Protokoll_schreiben("T" + std::to_string(t) + "-" + std::to_string(i) + padding);
    });
  }
  for (auto& w : writers) w.join();

  std::multiset<std::string> expected;
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kLines; ++i) expected.insert("T" + std::to_string(t) + "-" + std::to_string(i) + padding);

  // Every line on disk must be one whole line of one writer, each exactly once.
  const std::string bytes = logBytes();
  ASSERT_TRUE(bytes.ends_with("\r\n"));
  std::multiset<std::string> written;
  for (std::size_t start = 0; start < bytes.size();) {
    const auto end = bytes.find("\r\n", start);
    written.insert(bytes.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_TRUE(written == expected);
}

}  // namespace
