// The tool table T1-T7: per tool the speeds a TOOL row is created with.
//
// Thread context: a plain value owned by the main window's state on the GUI thread; not
// synchronised. Nothing blocks.
#pragma once

#include <array>
#include <cstdint>

namespace panel {

inline constexpr int kToolCount = 7;

using ToolValues = std::array<std::int32_t, kToolCount>;

// Seven equal values.
constexpr ToolValues filledToolValues(std::int32_t value) {
  ToolValues values{};
  values.fill(value);
  return values;
}

// Index 0 is T1. Values are taken as the user typed them; nothing here range-checks them. A
// default-constructed table holds the built-in speeds, used when no configuration file exists.
struct ToolTable {
  ToolValues TStartfreq = filledToolValues(200);     // Hz
  ToolValues TArbeitsfreq = filledToolValues(400);   // Hz
  ToolValues TEilfreq = filledToolValues(600);       // Hz
  ToolValues TRampenlaenge = filledToolValues(100);  // ms

  bool operator==(const ToolTable&) const = default;
};

}  // namespace panel
