// Locale-independent formatting and parsing of numbers for files, cells and texts.
//
// Thread context: any thread; the functions keep no state and never consult the process locale,
// so a German desktop locale cannot turn "1.50" into "1,50".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Largest magnitude of a number that the program keeps in its files and cells. Every value is
// held within it where it is read or entered, so that its written text ("-1000000000.00") stays
// well inside the 31 characters the number reader accepts and reads back as itself.
inline constexpr double kValueLimit = 1e9;

// The value held within plus or minus kValueLimit; NaN gives 0.
double boundedValue(double value);

// Plain fixed-point text with `decimals` digits after a '.', never exponent form. A result that
// shows only zeros carries no minus sign ("0.00", never "-0.00").
std::string formatFixed(double value, int decimals);

// The fixed format of the number cells and data files: the value is first rounded to `precision`
// significant digits, then written with `decimals` digits (12345.678 -> "12345.70"). A value with
// more integer digits than `precision` is written as it stands in plain fixed-point
// (1234567.0 -> "1234567.00").
std::string formatFixedSignificant(double value, int precision = 6, int decimals = 2);

// The shortest text of a value with at most 15 significant digits, as a general number format
// writes it: plain decimals for magnitudes from 0.00001 to below 1e15 ("0.5", "-12.25", "100"),
// otherwise a mantissa and an exponent ("1E20", "1.5E-6"); "0" for zero of either sign.
std::string formatGeneral(double value);

// Decimal text of an integer.
std::string formatInt(std::int64_t value);

// Strict parse of a whole text as "[+|-]digits[.digits]" (also ".5" and "5."), '.' as the only
// separator; nullopt for anything else, for an exponent and for infinities.
std::optional<double> parseDecimal(std::string_view text);

// Strict parse of a whole text as "[+|-]digits" in the 32-bit range; nullopt otherwise.
std::optional<std::int32_t> parseInt32(std::string_view text);

// Saturating conversion to int: NaN gives 0, values beyond the range give the nearest limit.
// The fractional part is dropped (toward zero), as a C cast would for values in range.
std::int32_t saturatingTrunc(double value);

// Saturating conversion after rounding half away from zero.
std::int32_t saturatingRound(double value);

}  // namespace platform
