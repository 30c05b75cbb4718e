// The configuration of the parallel port that the step generator works with: register addresses,
// the bit of each step and direction output, the limit-switch inputs, the frequency limits and
// the phase patterns; and the register bits of the PC parallel port.
//
// Thread context: a plain value. The unit keeps the one in force behind its lock; the generator
// works on a copy taken at the start of each command.
#pragma once

#include <array>
#include <cstdint>

#include "machine/lpt/PhaseTables.h"

namespace machine {

// Status register (base+1): the input pins. Pin 11 (BUSY) reads inverted.
inline constexpr std::uint8_t kStatusPin10 = 0x40;
inline constexpr std::uint8_t kStatusPin11 = 0x80;
inline constexpr std::uint8_t kStatusPin12 = 0x20;
inline constexpr std::uint8_t kStatusPin13 = 0x10;
inline constexpr std::uint8_t kStatusPin15 = 0x08;
// Control register (base+2): the output pins. Pins 1, 14 and 17 are inverted by the port.
inline constexpr std::uint8_t kControlPin1 = 0x01;  // STROBE
inline constexpr std::uint8_t kControlPin14 = 0x02;
inline constexpr std::uint8_t kControlPin16 = 0x04;
inline constexpr std::uint8_t kControlPin17 = 0x08;

// Axes in the order x, y, z, u.
inline constexpr int kLptAxes = 4;

struct LptConfig {
  std::uint16_t dataPort = 0;
  std::uint16_t statusPort = 0;
  std::uint16_t controlPort = 0;
  // Data-register bits of each axis's step and direction outputs.
  std::array<std::uint8_t, kLptAxes> stepMask{};
  std::array<std::uint8_t, kLptAxes> directionMask{};
  // Limit-switch inputs: pins 11, 12, 13, 15 (four), pin 11 alone (single), else pins 10, 11, 12.
  bool fourInputs = false;
  bool singleInput = false;
  bool activeHigh = false;
  // An active limit switch ends a move with a beep.
  bool limitStop = false;
  int maxFrequency = 0;  // highest start or end frequency, steps per second
  int pulseDivisor = 0;  // the step pulse lasts 1/pulseDivisor seconds
  PhaseTables tables;
};

}  // namespace machine
