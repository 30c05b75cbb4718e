// One step of an imported path (`ElementKnoten`) and the text lengths each format module allows
// its elements.
//
// Thread context: plain values; any thread. Nothing blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace formats {

struct ElementKnoten {
  // What the step does: "MOVETO", "LINETO", "UP", "DOWN", "STIFT" (plots), "GOO", "GO1", "MO3",
  // "M05", "M30", "F", "T" (programs).
  std::string Befehl;
  // The number word of an "F" or "T" word of a program; empty otherwise.
  std::string Argument;
  // Pen number of a plot's "STIFT" step; 0 otherwise.
  std::int32_t Stift = 0;
  // Target in millimetres, the module's shift already added.
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The longest command word and argument text a module keeps; longer texts are cut when an element
// is appended.
struct ElementLayout {
  std::size_t befehlMax = 0;
  std::size_t argumentMax = 0;
};

inline constexpr ElementLayout kDinIsoLayout{9, 13};
inline constexpr ElementLayout kDxfLayout{15, 0};
inline constexpr ElementLayout kHpglLayout{11, 0};

}  // namespace formats
