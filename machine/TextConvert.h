// Tolerant conversion of user and file texts to numbers and booleans, trimming, and the port
// number of a port text such as "COM3".
//
// Thread context: any thread; no state, no locale, nothing blocks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace machine {

// Decimal number from a text that uses ',' or '.' as its separator: blanks (code 32) are
// removed; a text with a ',' is read with ',' as the separator, otherwise with '.'. Gives 0.0
// for an empty text, for more than 31 characters after the blanks are gone, for any character
// other than digits, '.', ',', '-' and '+', and for anything that is still not one number
// ("1.2.3", "1.234,5", "-", "1e3"). A value beyond plus or minus platform::kValueLimit is held
// at that limit, so that whatever is read or typed is written back as a text that reads again.
double Text_in_Zahl(std::string_view text);

// Decimal integer in the 32-bit range after removing blanks (code 32); 0 for anything else
// ("1.5", "0x10", "99999999999", "").
std::int32_t Text_in_Ganzzahl(std::string_view text);

// The text without leading and trailing bytes of code 32 or less; case unchanged. Bytes of
// UTF-8 sequences (0x80 and above) are never taken for control characters.
std::string Text_trimmen(std::string_view text);

// True when the trimmed text, with ASCII letters lower-cased, is "true", "wahr", "ja" or "1".
bool Text_ist_wahr(std::string_view text);

// The number formed by all decimal digits of a port text, in order ("COM12" gives 12); 0 when
// there are none or when the text is longer than 9 characters.
int ComNummer(std::string_view portText);

}  // namespace machine
