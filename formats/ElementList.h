// The list of path elements a format module reads a file into: appended at the tail, walked from
// the head, freed whole.
//
// The elements lie in blocks of kBlock elements that never move once full, so a plot of millions
// of steps is read without copying its list over and over; the first block grows as needed, so a
// small plot takes no more room than it needs. Full blocks lie in huge pages where the kernel has
// them, so that the memory of a large plot is not faulted in page by page.
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
#include "platform/HugePageAllocator.h"

namespace formats {

// Most elements one list takes: a file of at most 1 GiB could otherwise ask for tens of
// gigabytes (a plot's circles give a hundred and more elements for a few bytes each).
inline constexpr std::size_t kMaxElements = 10'000'000;

// Writes the out-of-memory text of a list that cannot take an element to the standard error
// stream: the one of an empty list or the one of a list that has elements.
void reportOutOfMemory(bool empty);

template <class Layout>
class ElementList {
 public:
  using Element = ElementKnoten<Layout>;
  static constexpr std::size_t kBlock = std::size_t{1} << 15;

  // Walks the elements from the head.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Element;
    using difference_type = std::ptrdiff_t;
    using pointer = const Element*;
    using reference = const Element&;

    const_iterator() = default;
    const_iterator(const ElementList* list, std::size_t index) : list_(list), index_(index) {}
    reference operator*() const { return (*list_)[index_]; }
    pointer operator->() const { return &(*list_)[index_]; }
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
    const ElementList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  explicit ElementList(std::size_t maxElements = kMaxElements) : maxElements_(maxElements) {}

  // Appends the element, its texts cut to the layout's lengths. A full list (`maxElements`) or a
  // failed allocation links nothing, writes the out-of-memory text once to the standard error
  // stream and gives false.
  bool Element_anhaengen(Element element) {
    if (size_ < maxElements_) {
      try {
        if (element.Befehl.size() > Element::kCommandMax) element.Befehl.resize(Element::kCommandMax);
        if constexpr (requires { element.Argument; }) {
          if (element.Argument.size() > Element::kArgumentMax) element.Argument.resize(Element::kArgumentMax);
        }
        // The first block grows as a small list needs; every further one is taken whole at once.
        if (blocks_.empty()) {
          blocks_.emplace_back();
        } else if (blocks_.back().size() == kBlock) {
          blocks_.emplace_back();
          blocks_.back().reserve(kBlock);
        }
        blocks_.back().push_back(std::move(element));
        ++size_;
        return true;
      } catch (const std::bad_alloc&) {
      }
    }
    // Once per list: a file that overflows it would otherwise write a line for every element left.
    if (!fullReported_) reportOutOfMemory(size_ == 0);
    fullReported_ = true;
    return false;
  }

  // Frees every element.
  void Liste_loeschen() {
    std::vector<Block>().swap(blocks_);
    size_ = 0;
    fullReported_ = false;
  }

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const Element& operator[](std::size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }
  std::size_t maxElements() const { return maxElements_; }

 private:
  std::size_t maxElements_;
  using Block = std::vector<Element, platform::HugePageAllocator<Element>>;
  std::vector<Block> blocks_;
  std::size_t size_ = 0;
  bool fullReported_ = false;
};

}  // namespace formats
