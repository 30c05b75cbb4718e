// A small Hershey font for the converter's tests: a record for every printable ASCII character,
// each a plain vertical bar of the cap height unless a test gives it its own shape.
#pragma once

#include <map>
#include <string>

namespace fontstest {

// Records of the real Roman Simplex font for the characters the tests look at.
inline const std::map<char, std::string> kRomanSimplex = {
    {' ', "  1JZ"},
    {'.', "  6MWRYQZR[SZRY"},
    {'A', "  9I[RFJ[ RRFZ[ RMTWT"},
    {'H', "  9G]KFK[ RYFY[ RKPYP"},
    {'I', "  3NVRFR["},
    {'M', " 12F^JFJ[ RJFR[ RZFR[ RZFZ["},
    {'O', " 22G]PFNGLIKKJNJSKVLXNZP[T[VZXXYVZSZNYKXIVGTFPF"},
    {'0', " 18H\\QFNGLJKOKRLWNZQ[S[VZXWYRYOXJVGSFQF"},
    {'i', "  9NVQFRGSFREQF RRMR["},
};

// The text of a .jhf file with one record per character from ' ' to '~'.
inline std::string hersheySample(const std::map<char, std::string>& shapes = kRomanSimplex) {
  std::string text;
  for (char c = ' '; c <= '~'; ++c) {
    const auto own = shapes.find(c);
    text += "12345" + (own != shapes.end() ? own->second : std::string("  3NVRFR[")) + "\n";
  }
  return text;
}

}  // namespace fontstest
