// ioperm access: the permission for the three registers, taken on each thread that uses them, and
// the port instructions.
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

class ProcessorPortInstructions final : public PortInstructions {
 public:
  bool available() override {
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
    return true;
#else
    return false;
#endif
  }
  int permit(std::uint16_t from, unsigned count, bool on) override {
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
    return ::ioperm(from, count, on ? 1 : 0) == 0 ? 0 : errno;
#else
    (void)from, (void)count, (void)on;
    return ENOSYS;
#endif
  }
  std::uint8_t in(std::uint16_t port) override {
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
    return ::inb(port);
#else
    (void)port;
    return 0xFF;
#endif
  }
  void out(std::uint16_t port, std::uint8_t value) override {
#ifdef VELTRIS_HAVE_PORT_INSTRUCTIONS
    ::outb(value, port);
#else
    (void)port, (void)value;
#endif
  }
};

// Every claim gets its own number, so that a thread can tell whether its grant is for the claim in
// force, whichever object made it.
std::atomic<std::uint64_t> gLastClaim{0};

// The calling thread's grant: for which claim, and whether it was given.
struct ThreadGrant {
  std::uint64_t claim = 0;
  bool granted = false;
};
thread_local ThreadGrant tGrant;

}  // namespace

PortInstructions& processorPortInstructions() {
  static ProcessorPortInstructions instructions;
  return instructions;
}

IopermPortIo::IopermPortIo(PortInstructions& instructions) : instructions_(instructions) {}

IopermPortIo::~IopermPortIo() { shutdown(); }

bool IopermPortIo::initialize() { return instructions_.available(); }

void IopermPortIo::shutdown() {
  const std::uint64_t claim = claim_.exchange(0);
  if (claim == 0) return;
  // Only the calling thread's grant can be given back here; the others' end with their threads.
  if (tGrant.claim != claim) return;
  if (tGrant.granted) instructions_.permit(base_.load(), kRegisterCount, false);
  tGrant = {};
}

bool IopermPortIo::claim(std::uint16_t base, std::string& reason) {
  shutdown();
  const std::string range = hex(base) + "-" + hex(base + kRegisterCount - 1u);
  if (!instructions_.available()) {
    reason = "Auf diesem Rechner gibt es keinen direkten Portzugriff für " + range + ".";
    return false;
  }
  if (base > 0xFFFFu - (kRegisterCount - 1u)) {
    reason = "Die Portadressen " + range + " gibt es nicht.";
    return false;
  }
  if (const int error = instructions_.permit(base, kRegisterCount, true); error != 0) {
    reason = "Keine Berechtigung für die Portadressen " + range + " (" + std::generic_category().message(error) +
             "). Direkter Portzugriff braucht root-Rechte; mit dem Kernelmodul ppdev genügt die Gruppe \"lp\".";
    return false;
  }
  const std::uint64_t claim = ++gLastClaim;
  tGrant = {claim, true};
  base_ = base;
  claim_ = claim;
  return true;
}

bool IopermPortIo::mayAccess(std::uint16_t port) {
  const std::uint64_t claim = claim_.load();
  if (claim == 0) return false;
  const unsigned base = base_.load();
  if (port < base || port >= base + kRegisterCount) return false;
  if (tGrant.claim != claim) {
    // This thread has not touched the port since it was claimed: without its own grant its first
    // instruction would end the process.
    const bool granted = instructions_.permit(static_cast<std::uint16_t>(base), kRegisterCount, true) == 0;
    tGrant = {claim, granted};
  }
  return tGrant.granted;
}

bool IopermPortIo::read(std::uint16_t port, std::uint8_t& value) {
  if (!mayAccess(port)) return false;
  value = instructions_.in(port);
  return true;
}

bool IopermPortIo::write(std::uint16_t port, std::uint8_t value) {
  if (!mayAccess(port)) return false;
  instructions_.out(port, value);
  return true;
}

}  // namespace platform
