// Number texts of the command layer's trace lines, independent of the process locale.
//
// Thread context: any thread; the functions keep no state and never block.
#pragma once

#include <cstddef>
#include <string>

namespace machine {

// A millimetre value in the general number format: at most 15 significant digits, no trailing
// zeros, '.' as the decimal point ("0.25", "100", "-2.5"); exponent form with an upper-case 'E'
// ("1E-6", "1.5E20") below 0.00001 or with more than 15 integer digits.
std::string generalNumberText(double value);

// The decimal text of `value` padded on the left with blanks to `width` characters, like the
// "%5d" field of a trace line ("   12", "  -34"); a longer number is written whole.
std::string rightAligned(int value, std::size_t width);

}  // namespace machine
