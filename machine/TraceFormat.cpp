// General-format and right-aligned number texts for trace lines, built on <charconv>.
#include "TraceFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace machine {

namespace {

constexpr int kSignificantDigits = 15;
// Below 1E-5 the general format switches to exponent form.
constexpr int kSmallestFixedExponent = -5;

}  // namespace

std::string generalNumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0.0 ? "-INF" : "INF";
  // Negative zero is written as plain "0".
  if (value == 0.0) return "0";

  // The scientific text gives the value rounded to 15 significant digits and its exponent after
  // that rounding, so 9.9999999999999999E-6 is judged as the 1E-5 that it prints as.
  std::array<char, 64> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::scientific,
                                 kSignificantDigits - 1);
  if (res.ec != std::errc{}) return "0";
  const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (std::size_t i = 0; i < ePos; ++i)
    if (sci[i] != '.') digits.push_back(sci[i]);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string_view exponentText = sci.substr(ePos + 1);
  const bool negativeExponent = !exponentText.empty() && exponentText.front() == '-';
  if (!exponentText.empty() && (exponentText.front() == '-' || exponentText.front() == '+'))
    exponentText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  if (negativeExponent) exponent = -exponent;

  std::string out = value < 0.0 ? "-" : "";
  if (exponent < kSmallestFixedExponent || exponent >= kSignificantDigits) {
    out += digits.front();
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out.append(digits, 0, intDigits);
      out += '.';
      out.append(digits, intDigits);
    }
  }
  return out;
}

std::string rightAligned(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace machine
