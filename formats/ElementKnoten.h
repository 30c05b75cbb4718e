// One step of an imported path (`ElementKnoten`), in the layout of the module that reads it: every
// layout has the command word and the target x and y in millimetres (the module's shift already
// added); programs add an argument text and z, drawings z, plots a pen number. The command word
// and the argument are cut to their layout's length when an element is appended.
//
// Thread context: plain values; any thread. Nothing blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace formats {

// The layouts.
struct DinIsoLayout;
struct DxfLayout;
struct HpglLayout;

template <class Layout>
struct ElementKnoten;

// DIN/ISO programs: "GOO", "GO1", "MO3", "M05", "M30", "F", "T"; the argument is the number word
// of an "F" or "T" word, empty otherwise.
template <>
struct ElementKnoten<DinIsoLayout> {
  static constexpr std::size_t kCommandMax = 9;
  static constexpr std::size_t kArgumentMax = 13;
  std::string Befehl;
  std::string Argument;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// DXF drawings: "MOVETO", "LINETO".
template <>
struct ElementKnoten<DxfLayout> {
  static constexpr std::size_t kCommandMax = 15;
  std::string Befehl;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// HPGL plots: "UP", "DOWN" (x = y = 0), "STIFT" (its pen number, x = y = 0), "MOVETO", "LINETO".
template <>
struct ElementKnoten<HpglLayout> {
  static constexpr std::size_t kCommandMax = 11;
  std::string Befehl;
  std::int32_t Stift = 0;
  double x = 0.0;
  double y = 0.0;
};

}  // namespace formats
