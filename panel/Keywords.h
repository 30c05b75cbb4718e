// The object-type keywords of column 0 of an object row, in the one order every dispatcher tests.
//
// Thread context: any thread; constants and pure functions only. Nothing blocks.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace panel {

// Type numbers of the keywords; the properties grid uses the same numbers.
enum class KonturTyp : int {
  Tool = 0,
  Plan,
  Punkt,
  Linie1,
  Rechteck1,
  Rechteck2,
  Rechteck3,
  Vieleck,
  Kreis,
  Kbogen,
  Text,
  Hpgl,
  Biblio,
  Hinweis,
};

inline constexpr int kKonturTypCount = 14;

// Indexed by type number, so the array order is the dispatch order.
inline constexpr std::array<std::string_view, kKonturTypCount> kKeywords = {
    "TOOL",    "PLAN",  "PUNKT",  "LINIE1", "RECHTECK1", "RECHTECK2",  "RECHTECK3",
    "VIELECK", "KREIS", "KBOGEN", "TEXT",   "HPGL/PLT",  "BIBLIOTHEK", "---",
};

// The text without blanks (' ') at either end; every other character, case included, unchanged.
std::string trimBlanks(std::string_view text);

// Type number of an already trimmed keyword, compared exactly (case-sensitive); -1 for a text
// that is no keyword.
int keywordTypeNumber(std::string_view trimmedKeyword);

}  // namespace panel
