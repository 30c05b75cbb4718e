// The termios serial port on a pseudo-terminal: what each failed open reports, the rates it
// opens at, the exclusive lock, bytes both ways, purge, the write deadline, reads with a deadline, the wake of a
// blocked read and a hang-up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <utility>

#include "platform/SerialPort.h"

namespace {

using namespace std::chrono_literals;
using platform::SerialOpenError;
using platform::SerialPort;
using platform::SerialRead;
using platform::SerialWait;
using platform::SerialWrite;

// The master side of a pseudo-terminal; the port under test opens its slave.
class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(::grantpt(master_), 0);
    EXPECT_EQ(::unlockpt(master_), 0);
    char name[128] = {};
    EXPECT_EQ(::ptsname_r(master_, name, sizeof name), 0);
    path_ = name;
  }
  ~Pty() { closeMaster(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  const std::string& path() const { return path_; }
  void send(const std::string& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads what the port wrote, waiting up to a second for the first byte.
  std::string receive() const {
    pollfd pfd{master_, POLLIN, 0};
    if (::poll(&pfd, 1, 1000) != 1) return {};
    std::string out(256, '\0');
    const ssize_t n = ::read(master_, out.data(), out.size());
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
  }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
};

std::unique_ptr<SerialPort> openOrFail(const std::string& path,
                                       platform::ModemLines lines = platform::ModemLines::DtrOffRtsOn) {
  auto result = SerialPort::open(path, 115200, lines);
  EXPECT_EQ(result.error, SerialOpenError::None) << "errno " << result.systemError;
  return std::move(result.port);
}

// Waits until the slave has input queued, so that a purge finds it there.
bool inputArrives(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  pollfd pfd{fd, POLLIN, 0};
  const bool ready = ::poll(&pfd, 1, 1000) == 1;
  ::close(fd);
  return ready;
}

struct OpenFailure {
  const char* name;
  std::string path;
  int baudrate;
  SerialOpenError expected;
};

class SerialPortOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(SerialPortOpenFailure, ReportsWhyItFailed) {
  const auto result = SerialPort::open(GetParam().path, GetParam().baudrate);
  EXPECT_EQ(result.port, nullptr);
  EXPECT_EQ(result.error, GetParam().expected);
  EXPECT_NE(result.systemError, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialPortOpenFailure,
    ::testing::Values(OpenFailure{"Missing", "/dev/veltris-no-such-port", 115200, SerialOpenError::NoSuchDevice},
                      OpenFailure{"EmptyPath", "", 115200, SerialOpenError::NoSuchDevice},
                      OpenFailure{"NotATerminal", "/dev/null", 115200, SerialOpenError::Other},
                      OpenFailure{"UnsupportedBaudrate", "/dev/null", 12345, SerialOpenError::UnsupportedBaudrate},
                      OpenFailure{"ZeroBaudrate", "/dev/null", 0, SerialOpenError::UnsupportedBaudrate},
                      OpenFailure{"NegativeBaudrate", "/dev/null", -9600, SerialOpenError::UnsupportedBaudrate}),
    [](const auto& param) { return std::string(param.param.name); });

// The rate a parameter file may hold, and the speed the terminal then really has: the common
// rates, the slow and the fast ends, and the Linux rates beyond 115200.
TEST(SerialPort, OpensAtEveryRateTheTerminalInterfaceHas) {
  const std::pair<int, speed_t> rates[] = {{50, B50},         {300, B300},       {2400, B2400},      {9600, B9600},
                                           {19200, B19200},   {38400, B38400},   {57600, B57600},    {115200, B115200},
                                           {230400, B230400}, {921600, B921600}, {4000000, B4000000}};
  for (const auto& [rate, constant] : rates) {
    SCOPED_TRACE(rate);
    EXPECT_TRUE(SerialPort::baudrateSupported(rate));
    Pty pty;
    const auto result = SerialPort::open(pty.path(), rate);
    ASSERT_NE(result.port, nullptr) << "errno " << result.systemError;
    const int fd = ::open(pty.path().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    termios tio{};
    EXPECT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), constant);
    EXPECT_EQ(::cfgetispeed(&tio), constant);
  }
  for (const int rate : {0, 1, 12345, 128000, -9600}) EXPECT_FALSE(SerialPort::baudrateSupported(rate)) << rate;
}

TEST(SerialPort, APortHeldByAnotherOpenIsBusyUntilReleased) {
  Pty pty;
  auto first = openOrFail(pty.path());
  // flock conflicts between two open descriptions even within one process, as with another one.
  EXPECT_EQ(SerialPort::open(pty.path(), 115200).error, SerialOpenError::Busy);
  first.reset();
  EXPECT_NE(openOrFail(pty.path()), nullptr);
}

TEST(SerialPort, OpensRawAndCarriesBytesBothWaysUnchanged) {
  Pty pty;
  auto port = openOrFail(pty.path());
  // Control bytes and CR pass untouched: no echo, no CR/LF mapping, no flow-control bytes eaten.
  const std::string bytes = std::string("@V\r") + '\x06' + '\x11' + '\x13' + '\x15' + '\n';
  EXPECT_EQ(port->write(bytes, 1000ms), SerialWrite::Done);
  EXPECT_EQ(pty.receive(), bytes);

  pty.send(bytes);
  std::string got;
  char c = 0;
  while (got.size() < bytes.size() && port->readByte(c) == SerialRead::Byte) got.push_back(c);
  EXPECT_EQ(got, bytes);
}

TEST(SerialPort, PurgeDropsWhatWasReceivedBefore) {
  Pty pty;
  auto port = openOrFail(pty.path());
  pty.send("stale");
  ASSERT_TRUE(inputArrives(pty.path()));
  port->purgeInput();
  pty.send("A");
  char c = 0;
  ASSERT_EQ(port->readByte(c), SerialRead::Byte);
  EXPECT_EQ(c, 'A');
}

TEST(SerialPort, AWriteTheLineCannotTakeEndsAtItsDeadline) {
  Pty pty;
  auto port = openOrFail(pty.path());
  // Nobody reads the master, so the terminal's queues fill up and the write must give up.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port->write(std::string(1 << 20, 'x'), 50ms), SerialWrite::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(SerialPort, AReadWithADeadlineTakesWhatArrivedUpToItsLimit) {
  Pty pty;
  // With both modem lines off, as the bootloader link: a terminal without them opens all the same.
  auto port = openOrFail(pty.path(), platform::ModemLines::Off);
  std::string got;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port->readAvailable(got, 10, 30ms), SerialWait::TimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
  EXPECT_TRUE(got.empty());

  pty.send("abcdef");
  while (got.size() < 4 && port->readAvailable(got, 4 - got.size(), 1000ms) == SerialWait::Data) {
  }
  EXPECT_EQ(got, "abcd");
  EXPECT_EQ(port->readAvailable(got, 10, 1000ms), SerialWait::Data);
  EXPECT_EQ(got, "abcdef");

  port->wakeReader();
  EXPECT_EQ(port->readAvailable(got, 10, 5000ms), SerialWait::Woken);
}

TEST(SerialPort, AReadWithADeadlineSeesTheHangUp) {
  Pty pty;
  auto port = openOrFail(pty.path());
  pty.closeMaster();
  std::string got;
  EXPECT_EQ(port->readAvailable(got, 10, 5000ms), SerialWait::HangUp);
}

TEST(SerialPort, AWokenReadReturnsAndStaysWoken) {
  Pty pty;
  auto port = openOrFail(pty.path());
  auto reader = std::async(std::launch::async, [&] {
    char c = 0;
    return port->readByte(c);
  });
  EXPECT_EQ(reader.wait_for(50ms), std::future_status::timeout);
  port->wakeReader();
  ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(reader.get(), SerialRead::Woken);
  char c = 0;
  EXPECT_EQ(port->readByte(c), SerialRead::Woken);
}

TEST(SerialPort, AClosedMasterIsAHangUpForReadsAndWrites) {
  Pty pty;
  auto port = openOrFail(pty.path());
  auto reader = std::async(std::launch::async, [&] {
    char c = 0;
    return port->readByte(c);
  });
  pty.closeMaster();
  ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(reader.get(), SerialRead::HangUp);
  char c = 0;
  EXPECT_EQ(port->readByte(c), SerialRead::HangUp);
  EXPECT_EQ(port->write("@V\r", 100ms), SerialWrite::HangUp);
}

}  // namespace
