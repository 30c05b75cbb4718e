// The list of path elements a format module reads a file into: appended at the tail, walked from
// the head, freed whole.
//
// Thread context: built by one thread (the parse); once handed to a module it is only read, by
// the GUI thread's paint and the run worker's run alike. Nothing blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formats/ElementKnoten.h"

namespace formats {

// Most elements one list takes: a file of at most 1 GiB could otherwise ask for tens of
// gigabytes (a plot's circles give a hundred and more elements for a few bytes each).
inline constexpr std::size_t kMaxElemente = 10'000'000;

class ElementListe {
 public:
  explicit ElementListe(ElementLayout layout, std::size_t maxElemente = kMaxElemente)
      : layout_(layout), maxElemente_(maxElemente) {}

  // Appends one element, its texts cut to the layout's lengths. A full list (`maxElemente`) or a
  // failed allocation links nothing, writes the out-of-memory text once to the standard error
  // stream and gives false.
  bool Element_anhaengen(std::string_view befehl, std::string_view argument, std::int32_t stift, double x, double y,
                         double z);
  // Frees every element.
  void Liste_loeschen();

  bool empty() const { return elemente_.empty(); }
  std::size_t size() const { return elemente_.size(); }
  const ElementKnoten& operator[](std::size_t i) const { return elemente_[i]; }
  std::vector<ElementKnoten>::const_iterator begin() const { return elemente_.begin(); }
  std::vector<ElementKnoten>::const_iterator end() const { return elemente_.end(); }
  ElementLayout layout() const { return layout_; }
  std::size_t maxElemente() const { return maxElemente_; }

 private:
  ElementLayout layout_;
  std::size_t maxElemente_;
  std::vector<ElementKnoten> elemente_;
  bool vollGemeldet_ = false;
};

}  // namespace formats
