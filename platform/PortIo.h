// Byte access to the registers of a PC parallel port (data at the base address, status at
// base+1, control at base+2), addressed by absolute port number as on the ISA bus.
//
// Thread context: any thread; single reads and writes may come from several threads at once.
// Sequences that must not interleave (a strobed byte, a read-modify-write of the control
// register) are the caller's to lock. Nothing blocks beyond the port access itself.
//
// Ownership: whoever holds the object owns the port access; shutdown (or destruction) gives
// claimed ports back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class PortIo {
 public:
  virtual ~PortIo() = default;

  // Makes port access possible at all; false when this machine offers no way to reach a port.
  virtual bool initialize() = 0;
  // Releases every claimed port and ends port access.
  virtual void shutdown() = 0;
  // Claims the three registers from `base` for this process. On failure `reason` tells the user
  // what is missing (no such port, no permission) in German.
  virtual bool claim(std::uint16_t base, std::string& reason) = 0;
  // One byte from or to the register at `port`; false when the access failed or `port` is not a
  // register of the claimed port.
  virtual bool read(std::uint16_t port, std::uint8_t& value) = 0;
  virtual bool write(std::uint16_t port, std::uint8_t value) = 0;
};

// The port access of this machine: through the kernel's ppdev driver (/dev/parportN) for a port
// the kernel knows, otherwise, on x86, directly with ioperm (which needs CAP_SYS_RAWIO).
std::unique_ptr<PortIo> makeSystemPortIo();

}  // namespace platform
