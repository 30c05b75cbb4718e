// Register access of the parallel port for the step generator and its back-ends: plain reads and
// writes, the strobed data byte of the phase-pattern card, the step pulse, the output pins and
// the input pins.
//
// Thread context: any thread. The sequences that must not interleave with another thread's (a
// strobed byte, a pulse, a read-modify-write of the control register) run under one lock, held
// for at most the pulse width. The waits inside them busy-wait on the clock. The PortIo and the
// clock must outlive the object.
#pragma once

#include <cstdint>
#include <mutex>

#include "machine/lpt/LptConfig.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"

namespace machine {

// The step timing counts nanoseconds: its tick rate.
inline constexpr std::int64_t kLptTicksPerSecond = 1'000'000'000;

class LptPort {
 public:
  LptPort(platform::PortIo& io, platform::Clock& clock);

  bool read(std::uint16_t port, std::uint8_t& value);
  void write(std::uint16_t port, std::uint8_t value);

  // Writes `byte` to the data register and clocks it into the card with a 10 microsecond STROBE
  // pulse (control bit 0); a control register that cannot be read is left alone.
  void Datenbyte_takten(const LptConfig& config, std::uint8_t byte);
  // Writes `image` (with its step bits set) to the data register, holds it for the pulse width and
  // writes it again with the step bits of all axes cleared; the direction bits stay.
  void Schrittimpuls_ausgeben(const LptConfig& config, std::uint8_t image, std::int64_t pulseTicks);
  // Drives output pin 1, 14, 16 or 17 high (`on`) or low; other pins are left alone, as is
  // everything when the control register cannot be read.
  void LptAusgang_setzen(std::uint16_t controlPort, int pin, bool on);
  // Ten reads of the status register: true when input pin 10, 11, 12, 13 or 15 was high in more
  // than seven of them (a failed read counts as not high).
  bool LptEingang_lesen(std::uint16_t statusPort, int pin);

  // Waits `ticks` on the clock without giving up the processor.
  void Ticks_warten(std::int64_t ticks);

 private:
  platform::PortIo& io_;
  platform::Clock& clock_;
  std::mutex sequenceMutex_;
};

}  // namespace machine
