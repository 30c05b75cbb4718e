// Conversion between the program's UTF-8 texts and the Windows-1252 bytes of its files.
//
// Thread context: any thread; no state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map to the C1
// control of the same value, so every byte sequence converts and converts back unchanged.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes; a character that code page cannot hold becomes '?', and a byte
// that is not valid UTF-8 is taken as a Windows-1252 byte as it stands.
std::string utf8ToCp1252(std::string_view text);

bool isValidUtf8(std::string_view bytes);

// The characters of a UTF-8 text, each as the bytes of its code point; a byte that is not part of
// valid UTF-8 stands as a character of its own.
std::vector<std::string> utf8Characters(std::string_view text);

// Text of a file read from disk: files are Windows-1252, but one that an editor saved as UTF-8
// (and is valid UTF-8) is taken as it is rather than doubled into mojibake.
std::string decodeFileText(std::string_view bytes);

// Lower case of ASCII letters and of the Latin-1 letters (Ä, Ö, Ü, À ... Þ); other text unchanged.
std::string lowerLatin(std::string_view text);

}  // namespace platform
