// Tests of the tolerant number, boolean, trim and port-number conversions.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "machine/TextConvert.h"

namespace {

TEST(TextInZahl, AcceptsCommaOrPointAndRefusesJunk) {
  struct Case {
    std::string text;
    double value;
  };
  const Case cases[] = {
      {"1,5", 1.5},
      {"1.5", 1.5},
      {" 2 5 . 5 ", 25.5},
      {"-0,25", -0.25},
      {"+3", 3.0},
      {"42", 42.0},
      {",5", 0.5},
      {"-12.50", -12.5},
      // 31 characters after the blanks are gone are still read, held at the value limit ...
      {"1234567890123456789012345678.00", 1e9},
      {"-1000000000.01", -1e9},
      {"999999999.99", 999999999.99},
      {"", 0.0},
      {"   ", 0.0},
      {"-", 0.0},
      {"+", 0.0},
      {"abc", 0.0},
      {"1e3", 0.0},
      {"1.2.3", 0.0},
      {"1,2,3", 0.0},
      {"1.234,5", 0.0},
      {"1,234.5", 0.0},
      {"--1", 0.0},
      {"1-", 0.0},
      {"\t5", 0.0},  // only blanks are removed, other white space is junk
      {"5\r", 0.0},
      {"0x10", 0.0},
      {"inf", 0.0},
      {"nan", 0.0},
      {"1,5mm", 0.0},
      // ... 32 are refused, not cut to a plausible value.
      {"12345678901234567890123456789.00", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(machine::Text_in_Zahl(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextInGanzzahl, ReadsDecimalIntegersOnly) {
  struct Case {
    std::string text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"12 34", 1234},
      {"-7", -7},
      {"+7", 7},
      {" 888 ", 888},
      {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", 0},
      {"99999999999", 0},
      {"1.5", 0},
      {"1,5", 0},
      {"0x10", 0},
      {"", 0},
      {"-", 0},
      {"+-1", 0},
      {"5\r", 0},
      {"\t5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(machine::Text_in_Ganzzahl(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextTrimmen, RemovesControlsAndBlanksAtBothEndsOnly) {
  EXPECT_EQ(machine::Text_trimmen(" \t\r\n Ab c\x01 "), "Ab c");
  EXPECT_EQ(machine::Text_trimmen("\x1F\x20"), "");
  EXPECT_EQ(machine::Text_trimmen(""), "");
  // UTF-8 bytes are 0x80 and above; read as signed char they would look like controls.
  EXPECT_EQ(machine::Text_trimmen(" Übung ä"), "Übung ä");
  EXPECT_EQ(machine::Text_trimmen("\xC2\xA0"), "\xC2\xA0");
}

TEST(TextIstWahr, RecognisesTheFourTrueWords) {
  for (const char* yes : {"JA", "  ja\t", "Wahr", "TRUE", "true", "1", " 1\r\n"})
    EXPECT_TRUE(machine::Text_ist_wahr(yes)) << '"' << yes << '"';
  for (const char* no : {"yes", "0", "", "ja!", "j a", "11", "falsch", "nein", "wahrheit"})
    EXPECT_FALSE(machine::Text_ist_wahr(no)) << '"' << no << '"';
}

TEST(ComNummer, JoinsTheDigitsOfShortPortTexts) {
  struct Case {
    std::string text;
    int value;
  };
  const Case cases[] = {
      {"COM12", 12},
      {"COM3", 3},
      {"COM", 0},
      {"", 0},
      {"C1O2", 12},
      {"123456789", 123456789},
      {"COM123456", 123456},
      // Longer than nine characters: refused rather than overflowing.
      {"COM1234567", 0},
      {"9999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(machine::ComNummer(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
