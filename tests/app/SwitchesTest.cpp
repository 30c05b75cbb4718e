// Tests of the command-line switches and the title they show in.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/Switches.h"

namespace {

struct SwitchCase {
  std::vector<std::string> args;
  bool hersteller;
  bool entwicklung;
  bool protokoll;
  int times;
  std::string title;
  friend std::ostream& operator<<(std::ostream& os, const SwitchCase& c) {
    for (const auto& a : c.args) os << a << ' ';
    return os;
  }
};

class Switches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(Switches, AreReadUpperCasedAndWholeAndShownInTheirOrder) {
  const SwitchCase& c = GetParam();
  const app::Schalter s = app::Schalter_lesen(c.args);
  EXPECT_EQ(s.bHerstellermodus, c.hersteller);
  EXPECT_EQ(s.bEntwicklungsmodus, c.entwicklung);
  EXPECT_EQ(s.bProtokollmodus, c.protokoll);
  EXPECT_EQ(s.timeCount, c.times);
  EXPECT_EQ(app::Fenstertitel_bilden("USB-Beryl", s), c.title);
}

const std::string kPlain = "Tessaly für USB-Beryl   22.01.13         ";

INSTANTIATE_TEST_SUITE_P(
    Cases, Switches,
    ::testing::Values(
        SwitchCase{{"/usr/bin/veltris"}, false, false, false, 0, kPlain},
        SwitchCase{{"veltris", "/zelko"}, true, false, false, 0, "Tessaly für USB-Beryl   22.01.13      /ZELKO    "},
        // Given in any order, shown in the fixed one.
        SwitchCase{{"veltris", "/Protokoll", "/ENTWICKLUNG", "/ZeLkO"},
                   true,
                   true,
                   true,
                   0,
                   "Tessaly für USB-Beryl   22.01.13      /ZELKO /ENTWICKLUNG /PROTOKOLL    "},
        // Compared whole: neither prefixes, extensions nor blanks match.
        SwitchCase{{"veltris", "/ZELKOX", "ZELKO", "/ZELKO ", "/ZEL"}, false, false, false, 0, kPlain},
        // The program path is an argument like the others.
        SwitchCase{{"/entwicklung"}, false, true, false, 0, "Tessaly für USB-Beryl   22.01.13      /ENTWICKLUNG    "},
        // "/WZL" has no effect; "/TIME" counts each time it is given.
        SwitchCase{{"veltris", "/WZL", "/time", "/TIME"}, false, false, false, 2, kPlain}));

}  // namespace
