// Tolerant text-to-number conversions built on the locale-independent parsers of the platform.
#include "TextConvert.h"

#include <algorithm>
#include <cstddef>

#include "platform/NumberFormat.h"

namespace machine {

namespace {

// Number texts longer than this (after blanks are removed) are refused rather than cut, so a
// long junk text can never turn into a plausible value.
constexpr std::size_t kMaxNumberChars = 31;
constexpr std::size_t kMaxPortTextChars = 9;

std::string withoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out.push_back(c);
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

double Text_in_Zahl(std::string_view text) {
  std::string s = withoutBlanks(text);
  if (s.empty() || s.size() > kMaxNumberChars) return 0.0;
  for (char& c : s) {
    if (c == ',') {
      c = '.';
    } else if (!isDigit(c) && c != '.' && c != '-' && c != '+') {
      return 0.0;
    }
  }
  // A text that mixes ',' and '.' ("1.234,5") now holds two points and is refused like "1.2.3".
  return platform::boundedValue(platform::parseDecimal(s).value_or(0.0));
}

std::int32_t Text_in_Ganzzahl(std::string_view text) {
  const std::string s = withoutBlanks(text);
  for (char c : s)
    if (!isDigit(c) && c != '-' && c != '+') return 0;
  return platform::parseInt32(s).value_or(0);
}

std::string Text_trimmen(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), isControlOrBlank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), isControlOrBlank).base();
  if (first >= last) return {};
  return std::string(first, last);
}

bool Text_ist_wahr(std::string_view text) {
  std::string s = Text_trimmen(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s == "true" || s == "wahr" || s == "ja" || s == "1";
}

int ComNummer(std::string_view portText) {
  if (portText.size() > kMaxPortTextChars) return 0;
  // At most nine digits, so the value always fits.
  int number = 0;
  for (char c : portText)
    if (isDigit(c)) number = number * 10 + (c - '0');
  return number;
}

}  // namespace machine
