// The register sequences of the parallel port.
#include "LptPort.h"

#include <array>

namespace machine {

namespace {

constexpr std::int64_t kStrobeTicks = kLptTicksPerSecond / 100'000;  // 10 microseconds
constexpr int kInputReads = 10;
constexpr int kInputReadsNeeded = 8;

// The status bit of an input pin and whether the pin is high when the bit is set (pin 11 reads
// inverted); nullopt-like {0, false} for pins that are no input.
struct InputBit {
  std::uint8_t mask;
  bool highWhenSet;
};

InputBit inputBit(int pin) {
  switch (pin) {
    case 10:
      return {kStatusPin10, true};
    case 11:
      return {kStatusPin11, false};
    case 12:
      return {kStatusPin12, true};
    case 13:
      return {kStatusPin13, true};
    case 15:
      return {kStatusPin15, true};
    default:
      return {0, false};
  }
}

}  // namespace

LptPort::LptPort(platform::PortIo& io, platform::Clock& clock) : io_(io), clock_(clock) {}

bool LptPort::read(std::uint16_t port, std::uint8_t& value) { return io_.read(port, value); }

void LptPort::write(std::uint16_t port, std::uint8_t value) { io_.write(port, value); }

void LptPort::Ticks_warten(std::int64_t ticks) { clock_.spinUntilNanos(clock_.nowNanos() + ticks); }

void LptPort::Datenbyte_takten(const LptConfig& config, std::uint8_t byte) {
  std::lock_guard lock(sequenceMutex_);
  io_.write(config.dataPort, byte);
  std::uint8_t control = 0;
  if (io_.read(config.controlPort, control)) io_.write(config.controlPort, control | kControlPin1);
  Ticks_warten(kStrobeTicks);
  if (io_.read(config.controlPort, control)) io_.write(config.controlPort, control & ~kControlPin1);
}

void LptPort::Schrittimpuls_ausgeben(const LptConfig& config, std::uint8_t image, std::int64_t pulseTicks) {
  std::uint8_t allStepBits = 0;
  for (std::uint8_t mask : config.stepMask) allStepBits |= mask;
  std::lock_guard lock(sequenceMutex_);
  io_.write(config.dataPort, image);
  Ticks_warten(pulseTicks);
  io_.write(config.dataPort, image & ~allStepBits);
}

void LptPort::LptAusgang_setzen(std::uint16_t controlPort, int pin, bool on) {
  // Pins 1, 14 and 17 are driven high by a clear bit, pin 16 by a set one.
  std::uint8_t bit = 0;
  bool invertedPin = true;
  switch (pin) {
    case 1:
      bit = kControlPin1;
      break;
    case 14:
      bit = kControlPin14;
      break;
    case 16:
      bit = kControlPin16;
      invertedPin = false;
      break;
    case 17:
      bit = kControlPin17;
      break;
    default:
      return;
  }
  std::lock_guard lock(sequenceMutex_);
  std::uint8_t control = 0;
  if (!io_.read(controlPort, control)) return;
  const bool setBit = on != invertedPin;
  io_.write(controlPort, setBit ? (control | bit) : (control & ~bit));
}

bool LptPort::LptEingang_lesen(std::uint16_t statusPort, int pin) {
  const InputBit input = inputBit(pin);
  if (input.mask == 0) return false;
  int high = 0;
  for (int i = 0; i < kInputReads; ++i) {
    std::uint8_t status = 0;
    if (!io_.read(statusPort, status)) continue;
    if (((status & input.mask) != 0) == input.highWhenSet) ++high;
  }
  return high >= kInputReadsNeeded;
}

}  // namespace machine
