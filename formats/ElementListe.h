// The list of path elements a format module reads a file into: appended at the tail, walked from
// the head, freed whole.
//
// The elements lie in blocks of a fixed size, so that appending never moves the elements already
// there (a plot of millions of steps is read without copying its list over and over).
//
// Thread context: built by one thread (the parse); once handed to a module it is only read, by
// the GUI thread's paint and the run worker's run alike. Nothing blocks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <new>
#include <utility>
#include <vector>

#include "formats/ElementKnoten.h"

namespace formats {

// Most elements one list takes: a file of at most 1 GiB could otherwise ask for tens of
// gigabytes (a plot's circles give a hundred and more elements for a few bytes each).
inline constexpr std::size_t kMaxElemente = 10'000'000;

// Writes the out-of-memory text of a list that cannot take an element to the standard error
// stream: the one of an empty list or the one of a list that has elements.
void Speichermangel_melden(bool leer);

template <class Layout>
class ElementListe {
 public:
  using Knoten = ElementKnoten<Layout>;
  static constexpr std::size_t kBlock = std::size_t{1} << 15;

  // Walks the elements from the head.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Knoten;
    using difference_type = std::ptrdiff_t;
    using pointer = const Knoten*;
    using reference = const Knoten&;

    const_iterator() = default;
    const_iterator(const ElementListe* liste, std::size_t index) : liste_(liste), index_(index) {}
    reference operator*() const { return (*liste_)[index_]; }
    pointer operator->() const { return &(*liste_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const const_iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const ElementListe* liste_ = nullptr;
    std::size_t index_ = 0;
  };

  explicit ElementListe(std::size_t maxElemente = kMaxElemente) : maxElemente_(maxElemente) {}

  // Appends the element, its texts cut to the layout's lengths. A full list (`maxElemente`) or a
  // failed allocation links nothing, writes the out-of-memory text once to the standard error
  // stream and gives false.
  bool Element_anhaengen(Knoten knoten) {
    if (size_ < maxElemente_) {
      try {
        if (knoten.Befehl.size() > Knoten::kBefehlMax) knoten.Befehl.resize(Knoten::kBefehlMax);
        if constexpr (requires { knoten.Argument; }) {
          if (knoten.Argument.size() > Knoten::kArgumentMax) knoten.Argument.resize(Knoten::kArgumentMax);
        }
        if (bloecke_.empty() || bloecke_.back().size() == kBlock) {
          bloecke_.emplace_back();
          bloecke_.back().reserve(kBlock);
        }
        bloecke_.back().push_back(std::move(knoten));
        ++size_;
        return true;
      } catch (const std::bad_alloc&) {
      }
    }
    // Once per list: a file that overflows it would otherwise write a line for every element left.
    if (!vollGemeldet_) Speichermangel_melden(size_ == 0);
    vollGemeldet_ = true;
    return false;
  }

  // Frees every element.
  void Liste_loeschen() {
    std::vector<std::vector<Knoten>>().swap(bloecke_);
    size_ = 0;
    vollGemeldet_ = false;
  }

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const Knoten& operator[](std::size_t i) const { return bloecke_[i / kBlock][i % kBlock]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }
  std::size_t maxElemente() const { return maxElemente_; }

 private:
  std::size_t maxElemente_;
  std::vector<std::vector<Knoten>> bloecke_;
  std::size_t size_ = 0;
  bool vollGemeldet_ = false;
};

}  // namespace formats
