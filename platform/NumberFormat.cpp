// Locale-independent number texts built on <charconv>.
#include "NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace platform {

namespace {

std::string toFixedChars(double value, int decimals) {
  std::array<char, 400> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc{}) return "0";
  return std::string(buf.data(), res.ptr);
}

bool onlyZeroDigits(const std::string& s) {
  for (char c : s)
    if (c >= '1' && c <= '9') return false;
  return true;
}

}  // namespace

double boundedValue(double value) {
  if (std::isnan(value)) return 0.0;
  return std::clamp(value, -kValueLimit, kValueLimit);
}

std::string formatFixed(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  if (decimals < 0) decimals = 0;
  std::string text = toFixedChars(value, decimals);
  if (!text.empty() && text.front() == '-' && onlyZeroDigits(text)) text.erase(0, 1);
  return text;
}

std::string formatFixedSignificant(double value, int precision, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  if (precision < 1) precision = 1;
  if (decimals < 0) decimals = 0;
  if (value == 0.0 || std::fabs(value) >= std::pow(10.0, precision)) return formatFixed(value, decimals);

  // The scientific text holds the value rounded to `precision` significant digits; the rounding
  // to `decimals` places is then done on those decimal digits, so a typed 2.345 becomes "2.35"
  // rather than following the binary value 2.34499... down.
  std::array<char, 64> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::scientific,
                           precision - 1);
  if (res.ec != std::errc{}) return formatFixed(value, decimals);
  const std::string sci(buf.data(), res.ptr);
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (std::size_t i = 0; i < ePos; ++i)
    if (sci[i] != '.') digits.push_back(sci[i]);
  const int exponent = std::stoi(sci.substr(ePos + 1));

  const int intDigits = exponent + 1;
  std::string intPart;
  std::string frac;
  if (intDigits <= 0) {
    intPart = "0";
    frac = std::string(static_cast<std::size_t>(-intDigits), '0') + digits;
  } else if (intDigits >= static_cast<int>(digits.size())) {
    intPart = digits + std::string(static_cast<std::size_t>(intDigits) - digits.size(), '0');
  } else {
    intPart = digits.substr(0, static_cast<std::size_t>(intDigits));
    frac = digits.substr(static_cast<std::size_t>(intDigits));
  }

  bool roundUp = false;
  if (frac.size() > static_cast<std::size_t>(decimals)) {
    roundUp = frac[static_cast<std::size_t>(decimals)] >= '5';
    frac.resize(static_cast<std::size_t>(decimals));
  }
  frac.resize(static_cast<std::size_t>(decimals), '0');
  std::string number = intPart + frac;
  if (roundUp) {
    std::size_t i = number.size();
    while (i > 0) {
      --i;
      if (number[i] == '9') {
        number[i] = '0';
      } else {
        ++number[i];
        break;
      }
      if (i == 0) number.insert(number.begin(), '1');
    }
  }
  const std::size_t split = number.size() - static_cast<std::size_t>(decimals);
  std::string text = number.substr(0, split);
  if (decimals > 0) text += "." + number.substr(split);
  if (value < 0 && !onlyZeroDigits(text)) text.insert(text.begin(), '-');
  return text;
}

std::string formatGeneral(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";
  // 15 significant digits as "d.dddddddddddddde[+-]x".
  std::array<char, 40> buf{};
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::scientific, 14);
  const std::string text(buf.data(), res.ptr);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  const int exponent = std::stoi(text.substr(e + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (digits.size() <= static_cast<std::size_t>(exponent) + 1) {
      out += digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
             digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) out += "." + digits.substr(1);
  return out + "E" + std::to_string(exponent);
}

std::string formatInt(std::int64_t value) { return std::to_string(value); }

std::optional<double> parseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::size_t pos = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    pos = 1;
  }
  std::string_view body = text.substr(pos);
  int digits = 0;
  int points = 0;
  for (char c : body) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1) return std::nullopt;
  double value = 0.0;
  auto res = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::fixed);
  if (res.ec != std::errc{} || res.ptr != body.data() + body.size()) {
    // from_chars refuses a bare trailing point ("5."); read the digits before it.
    if (!body.empty() && body.back() == '.') {
      auto res2 = std::from_chars(body.data(), body.data() + body.size() - 1, value, std::chars_format::fixed);
      if (res2.ec != std::errc{} || res2.ptr != body.data() + body.size() - 1) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::size_t pos = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    pos = 1;
  }
  std::string_view body = text.substr(pos);
  if (body.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : body) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t saturatingTrunc(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t saturatingRound(double value) {
  if (std::isnan(value)) return 0;
  return saturatingTrunc(std::round(value));
}

}  // namespace platform
