// The termios serial port: non-blocking descriptors driven by poll, so that writes can keep a
// deadline and a read can be woken through an eventfd.
#include "SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace platform {

namespace {

struct BaudConstant {
  int rate;
  speed_t constant;
};

// Every rate the terminal interface names, from the POSIX ones to those Linux adds.
constexpr BaudConstant kBaudConstants[] = {
    {50, B50},           {75, B75},     {110, B110},   {134, B134},     {150, B150},
    {200, B200},         {300, B300},   {600, B600},   {1200, B1200},   {1800, B1800},
    {2400, B2400},       {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
#ifdef B57600
    {57600, B57600},
#endif
#ifdef B115200
    {115200, B115200},
#endif
#ifdef B230400
    {230400, B230400},
#endif
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B500000
    {500000, B500000},
#endif
#ifdef B576000
    {576000, B576000},
#endif
#ifdef B921600
    {921600, B921600},
#endif
#ifdef B1000000
    {1000000, B1000000},
#endif
#ifdef B1152000
    {1152000, B1152000},
#endif
#ifdef B1500000
    {1500000, B1500000},
#endif
#ifdef B2000000
    {2000000, B2000000},
#endif
#ifdef B2500000
    {2500000, B2500000},
#endif
#ifdef B3000000
    {3000000, B3000000},
#endif
#ifdef B3500000
    {3500000, B3500000},
#endif
#ifdef B4000000
    {4000000, B4000000},
#endif
};

bool baudConstant(int baudrate, speed_t& out) {
  for (const BaudConstant& b : kBaudConstants) {
    if (b.rate == baudrate) {
      out = b.constant;
      return true;
    }
  }
  return false;
}

SerialOpenResult failure(SerialOpenError error, int systemError) {
  SerialOpenResult result;
  result.error = error;
  result.systemError = systemError;
  return result;
}

// Closes `fd` and reports `error`, keeping the errno of the call that failed.
SerialOpenResult closeAndFail(int fd, SerialOpenError error, int systemError) {
  ::close(fd);
  return failure(error, systemError);
}

bool configureRaw(int fd, speed_t speed) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
  return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

// The controllers expect DTR off and RTS on, the bootloader link both off. A pseudo-terminal or
// an adapter without modem lines refuses these calls, which must not make the port unusable, so
// their result is ignored.
void setModemLines(int fd, ModemLines lines) {
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  (void)::ioctl(fd, TIOCMBIC, &dtr);
  (void)::ioctl(fd, lines == ModemLines::DtrOffRtsOn ? TIOCMBIS : TIOCMBIC, &rts);
}

}  // namespace

bool SerialPort::baudrateSupported(int baudrate) {
  speed_t speed{};
  return baudConstant(baudrate, speed);
}

SerialOpenResult SerialPort::open(const std::string& path, int baudrate, ModemLines lines) {
  speed_t speed{};
  if (!baudConstant(baudrate, speed)) return failure(SerialOpenError::UnsupportedBaudrate, EINVAL);

  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENODEV || err == ENXIO) return failure(SerialOpenError::NoSuchDevice, err);
    if (err == EBUSY) return failure(SerialOpenError::Busy, err);
    return failure(SerialOpenError::Other, err);
  }
  // An advisory lock rather than TIOCEXCL: root ignores TIOCEXCL, and the flag would outlive our
  // descriptor while another process keeps the terminal open.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    return closeAndFail(fd, err == EWOULDBLOCK ? SerialOpenError::Busy : SerialOpenError::Other, err);
  }
  if (!configureRaw(fd, speed)) return closeAndFail(fd, SerialOpenError::Other, errno);
  setModemLines(fd, lines);

  const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) return closeAndFail(fd, SerialOpenError::Other, errno);

  SerialOpenResult result;
  result.port = std::unique_ptr<SerialPort>(new SerialPort(fd, wakeFd));
  return result;
}

SerialPort::~SerialPort() {
  ::close(wakeFd_);
  ::close(fd_);
}

void SerialPort::purgeInput() { (void)::tcflush(fd_, TCIFLUSH); }

void SerialPort::purgeOutput() { (void)::tcflush(fd_, TCOFLUSH); }

SerialWrite SerialPort::write(std::string_view bytes, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EIO) return SerialWrite::HangUp;
    if (n < 0 && errno != EAGAIN) return SerialWrite::Failed;

    // The output queue is full: wait until it drains or the deadline passes.
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return SerialWrite::TimedOut;
    pollfd pfd{fd_, POLLOUT, 0};
    const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) return SerialWrite::Failed;
    if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return SerialWrite::HangUp;
  }
  return SerialWrite::Done;
}

std::size_t SerialPort::pendingInput() const {
  int count = 0;
  if (::ioctl(fd_, FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

SerialRead SerialPort::readByte(char& out) {
  for (;;) {
    pollfd pfds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    if (::poll(pfds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return SerialRead::HangUp;
    }
    if ((pfds[1].revents & POLLIN) != 0) return SerialRead::Woken;
    if ((pfds[0].revents & POLLIN) != 0) {
      const ssize_t n = ::read(fd_, &out, 1);
      if (n == 1) return SerialRead::Byte;
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      // End of file or an I/O error: the device or the other end of the line is gone.
      return SerialRead::HangUp;
    }
    if ((pfds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return SerialRead::HangUp;
  }
}

SerialWait SerialPort::readAvailable(std::string& out, std::size_t max, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    pollfd pfds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int ready = ::poll(pfds, 2, static_cast<int>(std::max<long long>(0, left)));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return SerialWait::HangUp;
    }
    if ((pfds[1].revents & POLLIN) != 0) return SerialWait::Woken;
    if ((pfds[0].revents & POLLIN) != 0) {
      const std::size_t before = out.size();
      out.resize(before + max);
      const ssize_t n = max == 0 ? 0 : ::read(fd_, out.data() + before, max);
      out.resize(before + (n > 0 ? static_cast<std::size_t>(n) : 0));
      if (n > 0 || max == 0) return SerialWait::Data;
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      return SerialWait::HangUp;
    }
    if ((pfds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return SerialWait::HangUp;
    if (ready == 0 && left <= 0) return SerialWait::TimedOut;
  }
}

void SerialPort::wakeReader() {
  // The counter is never read back, so the descriptor stays readable and every later read
  // returns Woken at once.
  const std::uint64_t one = 1;
  (void)!::write(wakeFd_, &one, sizeof one);
}

}  // namespace platform
