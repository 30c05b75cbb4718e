// The homing order: the selected axes sorted by their reference numbers, and its dispatch as
// one homing run per axis or one run for all.
#include <array>
#include <cstddef>

#include "CommandLayer.h"
#include "ControllerFamily.h"

namespace machine {

namespace {

constexpr std::array<char, 4> kAxisLetters{'x', 'y', 'z', 'u'};
// Reference numbers from this value on never win the choice of the next axis; such axes are
// homed after all others, in axis order, so that a hand-edited parameter file cannot make the
// ordering loop forever.
constexpr int kLastPlace = 99;

}  // namespace

std::string CommandLayer::Referenzfahrt_Reihenfolge_Text(int x, int y, int z, int u) const {
  std::array<int, 4> n{params_.xRefNr, params_.yRefNr, params_.zRefNr, params_.uRefNr};
  const std::array<int, 4> s{x, y, z, u};
  std::string order;

  // An axis is selected when its flag is positive; a negative flag would otherwise keep its
  // number alive without ever choosing it.
  for (std::size_t i = 0; i < n.size(); ++i)
    if (s[i] <= 0) n[i] = 0;

  // Repeatedly take the smallest positive number below kLastPlace; the strict comparison keeps
  // equal numbers in axis order. Axes numbered 0 or less are not homed.
  for (;;) {
    int best = kLastPlace;
    std::size_t bestIndex = n.size();
    for (std::size_t i = 0; i < n.size(); ++i) {
      if (n[i] > 0 && n[i] < best) {
        best = n[i];
        bestIndex = i;
      }
    }
    if (bestIndex == n.size()) break;
    n[bestIndex] = 0;
    order += kAxisLetters[bestIndex];
  }
  for (std::size_t i = 0; i < n.size(); ++i)
    if (n[i] >= kLastPlace) order += kAxisLetters[i];
  return order;
}

void CommandLayer::Referenzfahrt_Reihenfolge(int x, int y, int z, int u) {
  const std::string order = Referenzfahrt_Reihenfolge_Text(x, y, z, u);
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      // The step generator homes one axis at a time; each run ends with its own stop check, so a
      // stop between axes ends the sequence.
      for (char axis : order) Referenzfahrt_ausfuehren(std::string(1, axis));
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
    case ControllerFamily::Protocol:
      Referenzfahrt_ausfuehren(order);
      break;
    case ControllerFamily::None:
      break;
  }
}

}  // namespace machine
