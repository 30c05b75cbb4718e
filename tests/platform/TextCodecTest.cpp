// Windows-1252 on disk, UTF-8 inside: conversions both ways and the file-text decoding rule.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"

namespace {

TEST(TextCodec, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = platform::cp1252ToUtf8(all);
  EXPECT_TRUE(platform::isValidUtf8(utf8));
  EXPECT_EQ(platform::utf8ToCp1252(utf8), all);
}

TEST(TextCodec, MapsTheGermanLettersAndTheEuroSign) {
  EXPECT_EQ(platform::utf8ToCp1252("xWerkstücknullpunkt"),
            "xWerkst\xFC"
            "cknullpunkt");
  EXPECT_EQ(platform::utf8ToCp1252("Kühlmittelpumpe ÄÖÜß €"), "K\xFChlmittelpumpe \xC4\xD6\xDC\xDF \x80");
  EXPECT_EQ(platform::cp1252ToUtf8("F\xFCr"), "Für");
  EXPECT_EQ(platform::utf8ToCp1252("→ ok"), "? ok");
}

TEST(TextCodec, FileTextIsWindows1252UnlessItIsValidUtf8) {
  EXPECT_EQ(platform::decodeFileText("Werkst\xFC"
                                     "ck"),
            "Werkstück");
  EXPECT_EQ(platform::decodeFileText("Werkstück"), "Werkstück");
  EXPECT_EQ(platform::decodeFileText("plain"), "plain");
}

TEST(TextCodec, LowerLatinFoldsAsciiAndUmlautsOnly) {
  EXPECT_EQ(platform::lowerLatin("XWERKSTÜCKNULLPUNKT"), "xwerkstücknullpunkt");
  EXPECT_EQ(platform::lowerLatin("Modul=5"), "modul=5");
  EXPECT_EQ(platform::lowerLatin("ß×"), "ß×");
}

TEST(TextCodec, SplitsTextIntoItsCharactersAndKeepsStrayBytesApart) {
  EXPECT_EQ(platform::utf8Characters("Ä°a"), (std::vector<std::string>{"Ä", "°", "a"}));
  EXPECT_EQ(platform::utf8Characters("a\xE4;"), (std::vector<std::string>{"a", "\xE4", ";"}));
  EXPECT_TRUE(platform::utf8Characters("").empty());
}

}  // namespace
