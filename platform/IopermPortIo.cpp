// ioperm access: the permission for the three registers and the port instructions.
#include "IopermPortIo.h"

#include <cerrno>
#include <charconv>
#include <system_error>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define VELTRIS_HAVE_PORT_INSTRUCTIONS 1
#endif

namespace platform {

namespace {

constexpr unsigned kRegisterCount = 3;

std::string hex(unsigned value) {
  char buf[8] = {};
  const auto res = std::to_chars(buf, buf + sizeof buf, value, 16);
  return "0x" + std::string(buf, res.ptr);
}

}  // namespace

IopermPortIo::~IopermPortIo() { shutdown(); }

bool IopermPortIo::initialize() {
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
  return true;
#else
  return false;
#endif
}

void IopermPortIo::shutdown() {
  if (!claimed_.exchange(false)) return;
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
  ::ioperm(base_.load(), kRegisterCount, 0);
#endif
}

bool IopermPortIo::claim(std::uint16_t base, std::string& reason) {
  shutdown();
  const std::string range = hex(base) + "-" + hex(base + kRegisterCount - 1u);
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
  if (base > 0xFFFFu - (kRegisterCount - 1u)) {
    reason = "Die Portadressen " + range + " gibt es nicht.";
    return false;
  }
  if (::ioperm(base, kRegisterCount, 1) != 0) {
    reason = "Keine Berechtigung für die Portadressen " + range + " (" + std::generic_category().message(errno) +
             "). Direkter Portzugriff braucht root-Rechte; mit dem Kernelmodul ppdev genügt die Gruppe \"lp\".";
    return false;
  }
  base_ = base;
  claimed_ = true;
  return true;
#else
  reason = "Auf diesem Rechner gibt es keinen direkten Portzugriff für " + range + ".";
  return false;
#endif
}

bool IopermPortIo::inClaimedRange(std::uint16_t port) const {
  const unsigned base = base_.load();
  return claimed_.load() && port >= base && port < base + kRegisterCount;
}

bool IopermPortIo::read(std::uint16_t port, std::uint8_t& value) {
  // An instruction outside the permitted range would end the process with a fault.
  if (!inClaimedRange(port)) return false;
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
  value = ::inb(port);
  return true;
#else
  (void)value;
  return false;
#endif
}

bool IopermPortIo::write(std::uint16_t port, std::uint8_t value) {
  if (!inClaimedRange(port)) return false;
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
  ::outb(value, port);
  return true;
#else
  (void)value;
  return false;
#endif
}

}  // namespace platform
