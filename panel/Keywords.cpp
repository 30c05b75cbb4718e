// Keyword recognition: trim blanks, then exact comparison in dispatch order.
#include "Keywords.h"

#include <cstddef>

namespace panel {

std::string trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

int keywordTypeNumber(std::string_view trimmedKeyword) {
  for (int typ = 0; typ < kKonturTypCount; ++typ) {
    if (kKeywords[static_cast<std::size_t>(typ)] == trimmedKeyword) return typ;
  }
  return -1;
}

}  // namespace panel
