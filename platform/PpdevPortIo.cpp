// ppdev access: the base address lookup in the kernel's port list, the claim of the node and the
// register requests.
#include "PpdevPortIo.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

namespace platform {

namespace {

constexpr std::string_view kPortPrefix = "parport";

std::string hex(unsigned value) {
  char buf[8] = {};
  const auto res = std::to_chars(buf, buf + sizeof buf, value, 16);
  return "0x" + std::string(buf, res.ptr);
}

std::string systemText(int error) { return std::generic_category().message(error); }

// The first number of the kernel's "base-addr" entry ("888\t1912": base and upper base, decimal).
std::optional<unsigned long> reportedBase(const std::filesystem::path& entry) {
  std::ifstream in(entry);
  std::string first;
  if (!(in >> first)) return std::nullopt;
  unsigned long value = 0;
  const auto res = std::from_chars(first.data(), first.data() + first.size(), value);
  if (res.ec != std::errc() || res.ptr != first.data() + first.size()) return std::nullopt;
  return value;
}

bool isPortName(const std::string& name) {
  if (name.size() <= kPortPrefix.size() || name.compare(0, kPortPrefix.size(), kPortPrefix) != 0) return false;
  return name.find_first_not_of("0123456789", kPortPrefix.size()) == std::string::npos;
}

}  // namespace

PpdevPortIo::PpdevPortIo(std::filesystem::path procRoot, std::filesystem::path devDir)
    : procRoot_(std::move(procRoot)), devDir_(std::move(devDir)) {}

PpdevPortIo::~PpdevPortIo() { shutdown(); }

bool PpdevPortIo::initialize() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(procRoot_, ec))
    if (isPortName(entry.path().filename().string())) return true;
  return false;
}

std::optional<std::filesystem::path> PpdevPortIo::deviceFor(std::uint16_t base) const {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(procRoot_, ec)) {
    const std::string name = entry.path().filename().string();
    if (!isPortName(name)) continue;
    if (reportedBase(entry.path() / "base-addr") == base) return devDir_ / name;
  }
  return std::nullopt;
}

void PpdevPortIo::shutdown() {
  const int fd = fd_.exchange(-1);
  if (fd < 0) return;
  ::ioctl(fd, PPRELEASE);
  ::close(fd);
}

bool PpdevPortIo::claim(std::uint16_t base, std::string& reason) {
  shutdown();
  const auto device = deviceFor(base);
  if (!device) {
    reason = "Der Kernel kennt keinen Parallelport mit der Basisadresse " + hex(base) + ".";
    return false;
  }
  const int fd = ::open(device->c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT) {
      reason = device->string() + " fehlt: das Kernelmodul ppdev ist nicht geladen (modprobe ppdev).";
    } else if (error == EACCES || error == EPERM) {
      reason = "Kein Zugriff auf " + device->string() + " (" + systemText(error) +
               "). Der Benutzer muss zur Gruppe \"lp\" gehören.";
    } else {
      reason = device->string() + " lässt sich nicht öffnen (" + systemText(error) + ").";
    }
    return false;
  }
  if (::ioctl(fd, PPCLAIM) != 0) {
    reason = device->string() + " lässt sich nicht belegen (" + systemText(errno) + ").";
    ::close(fd);
    return false;
  }
  // The data lines drive the controller: forward direction.
  int forward = 0;
  ::ioctl(fd, PPDATADIR, &forward);
  base_ = base;
  fd_ = fd;
  return true;
}

bool PpdevPortIo::read(std::uint16_t port, std::uint8_t& value) {
  const int fd = fd_.load();
  if (fd < 0) return false;
  const std::uint16_t base = base_.load();
  unsigned char byte = 0;
  int result = -1;
  if (port == base) {
    result = ::ioctl(fd, PPRDATA, &byte);
  } else if (port == base + 1) {
    result = ::ioctl(fd, PPRSTATUS, &byte);
  } else if (port == base + 2) {
    result = ::ioctl(fd, PPRCONTROL, &byte);
  }
  if (result != 0) return false;
  value = byte;
  return true;
}

bool PpdevPortIo::write(std::uint16_t port, std::uint8_t value) {
  const int fd = fd_.load();
  if (fd < 0) return false;
  const std::uint16_t base = base_.load();
  unsigned char byte = value;
  // The status register takes no writes.
  if (port == base) return ::ioctl(fd, PPWDATA, &byte) == 0;
  if (port == base + 2) return ::ioctl(fd, PPWCONTROL, &byte) == 0;
  return false;
}

}  // namespace platform
