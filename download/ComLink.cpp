// The download's serial link over the termios port of the platform layer.
#include "ComLink.h"

#include <cctype>

#include "platform/SerialPortNames.h"

namespace download {

namespace {

constexpr int kLastPort = 255;
// A write may take its line time twice over, plus this, before it counts as failed.
constexpr std::chrono::milliseconds kWriteMargin{1000};
constexpr std::size_t kReadPiece = 4096;

}  // namespace

std::string comPortDevice(const std::string& portName) {
  if (portName.size() < 4 || portName.size() > 6 || portName.compare(0, 3, "COM") != 0) return {};
  int n = 0;
  for (std::size_t i = 3; i < portName.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(portName[i]))) return {};
    n = n * 10 + (portName[i] - '0');
  }
  if (portName[3] == '0' || n < 1 || n > kLastPort) return {};
  return platform::comDevicePath(n);
}

ComLink::~ComLink() { CloseComPort(); }

std::shared_ptr<platform::SerialPort> ComLink::port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

bool ComLink::OpenComPort(const std::string& portName, int baudrate) {
  CloseComPort();
  devicePath_ = comPortDevice(portName);
  baudrate_ = baudrate;
  if (devicePath_.empty()) {
    openError_ = platform::SerialOpenError::NoSuchDevice;
    return false;
  }
  platform::SerialOpenResult opened = platform::SerialPort::open(devicePath_, baudrate, platform::ModemLines::Off);
  openError_ = opened.error;
  if (!opened.port) return false;
  std::shared_ptr<platform::SerialPort> port(std::move(opened.port));
  {
    std::lock_guard lock(mutex_);
    port_ = port;
  }
  // A cancel that came while the port was closed still ends every wait on the new one.
  if (cancelled_.load()) port->wakeReader();
  return true;
}

void ComLink::CloseComPort() {
  std::lock_guard lock(mutex_);
  port_.reset();
}

bool ComLink::isOpen() const { return port() != nullptr; }

void ComLink::PurgeComPort() {
  if (const auto p = port()) {
    p->purgeInput();
    p->purgeOutput();
  }
}

bool ComLink::WriteBytes(std::string_view bytes) {
  const auto p = port();
  if (!p || cancelled_.load()) return false;
  if (p->write(bytes, 2 * lineTime(bytes.size()) + kWriteMargin) != platform::SerialWrite::Done) return false;
  bytesWritten_ += bytes.size();
  return true;
}

std::string ComLink::ReadBytes(std::size_t n, std::chrono::milliseconds wait) {
  std::string out;
  const auto p = port();
  if (!p) return out;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (out.size() < n) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() < 0) break;
    const auto got = p->readAvailable(out, std::min(n - out.size(), kReadPiece), left);
    if (got != platform::SerialWait::Data) break;
  }
  return out;
}

void ComLink::drain(std::chrono::milliseconds quiet, std::chrono::milliseconds limit) {
  const auto p = port();
  if (!p) return;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string dropped;
  while (std::chrono::steady_clock::now() < deadline) {
    dropped.clear();
    if (p->readAvailable(dropped, kReadPiece, quiet) != platform::SerialWait::Data) return;
  }
}

std::chrono::milliseconds ComLink::lineTime(std::size_t bytes) const {
  const auto bits = static_cast<long long>(bytes) * 10;
  return std::chrono::milliseconds((bits * 1000 + baudrate_ - 1) / baudrate_);
}

void ComLink::cancel() {
  cancelled_.store(true);
  if (const auto p = port()) p->wakeReader();
}

}  // namespace download
