// The DXF reader: the entities that become paths, the pairs that end sections, the readings that
// stop early with their line, and the bounds of its input.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "DinIsoText.h"
#include "formats/DxfReader.h"

namespace {

using formats::readDxf;
using formatstest::elementTexts;
using Pairs = std::vector<std::pair<int, std::string>>;

// The lines of a drawing of these pairs, each code indented as CAD programs write it.
std::vector<std::string> lines(const Pairs& pairs) {
  std::vector<std::string> out;
  for (const auto& [code, value] : pairs) {
    out.push_back("  " + std::to_string(code));
    out.push_back(value);
  }
  return out;
}

// A drawing holding only its ENTITIES section, with these entity pairs.
std::vector<std::string> entities(const Pairs& body) {
  Pairs pairs{{0, "SECTION"}, {2, "ENTITIES"}};
  pairs.insert(pairs.end(), body.begin(), body.end());
  pairs.insert(pairs.end(), {{0, "ENDSEC"}, {0, "EOF"}});
  return lines(pairs);
}

std::string at(const char* command, double x, double y, double z = 0.0) {
  return std::string(command) + " " + formatstest::xyz(x, y, z);
}

// Points round (cx, cy) at radius r from `first` degrees on by `step`, up to `last` excluded.
std::vector<std::string> round(double cx, double cy, double r, int first, int last, int step) {
  std::vector<std::string> out;
  for (int a = first; step > 0 ? a < last : a > last; a += step) {
    const double rad = a * std::numbers::pi / 180.0;
    out.push_back(at("LINETO", cx + r * std::cos(rad), cy + r * std::sin(rad)));
  }
  return out;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b,
                              const std::vector<std::string>& c = {}) {
  a.insert(a.end(), b.begin(), b.end());
  a.insert(a.end(), c.begin(), c.end());
  return a;
}

struct DrawingCase {
  const char* name;
  Pairs body;
  std::vector<std::string> elements;
  friend std::ostream& operator<<(std::ostream& os, const DrawingCase& c) { return os << c.name; }
};

class Drawings : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(Drawings, BecomePaths) {
  const formats::DxfReadResult r = readDxf(entities(GetParam().body));
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(elementTexts(r.elements), GetParam().elements);
}

INSTANTIATE_TEST_SUITE_P(
    Entities, Drawings,
    ::testing::
        Values(DrawingCase{"Line",
                           {{0, "LINE"},
                            {5, "2F"},
                            {100, "AcDbLine"},
                            {10, "1"},
                            {20, "2"},
                            {30, "3"},
                            {11, "4"},
                            {21, "5"},
                            {31, "6"}},
                           {at("MOVETO", 1, 2, 3), at("LINETO", 4, 5, 6)}},
               DrawingCase{"LineWithoutZ",
                           {{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "4"}, {21, "5"}},
                           {at("MOVETO", 1, 2), at("LINETO", 4, 5)}},
               DrawingCase{"RealsInEveryForm",
                           {{0, "LINE"}, {10, "1.5E+01"}, {20, "-.5"}, {11, "+2"}, {21, "1e-1"}},
                           {at("MOVETO", 15, -0.5), at("LINETO", 2, 0.1)}},
               DrawingCase{"ArcStartsWithATravel",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "90"}, {51, "180"}},
                           join({at("MOVETO", 0, 10)}, round(0, 0, 10, 100, 180, 10), {at("LINETO", -10, 0)})},
               DrawingCase{
                   "ArcAcrossZeroDegrees",
                   {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "300"}, {51, "60"}},
                   join({at("MOVETO", 5, -8.660254)}, round(0, 0, 10, -50, 60, 10), {at("LINETO", 5, 8.660254)})},
               DrawingCase{"ArcGoesRoundOnceAtMost",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "1000"}},
                           join({at("MOVETO", 10, 0)}, round(0, 0, 10, 10, 360, 10), {at("LINETO", 10, 0)})},
               // 3001500 degrees lie 180 degrees on from a whole number of turns: half a circle to 0.
               DrawingCase{"ArcAnglesTurnsApart",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "3001.5E+03"}, {51, "0"}},
                           join({at("MOVETO", -10, 0)}, round(0, 0, 10, 190, 360, 10), {at("LINETO", 10, 0)})},
               // Angles whole turns apart, either way round, are one full turn from the start angle.
               DrawingCase{"ArcFrom0To360IsAFullCircle",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "360"}},
                           join({at("MOVETO", 10, 0)}, round(0, 0, 10, 10, 360, 10), {at("LINETO", 10, 0)})},
               DrawingCase{"ArcFrom360To0IsAFullCircle",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "360"}, {51, "0"}},
                           join({at("MOVETO", 10, 0)}, round(0, 0, 10, 10, 360, 10), {at("LINETO", 10, 0)})},
               DrawingCase{"ArcFrom720To0IsAFullCircle",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "720"}, {51, "0"}},
                           join({at("MOVETO", 10, 0)}, round(0, 0, 10, 10, 360, 10), {at("LINETO", 10, 0)})},
               DrawingCase{"ArcFrom765To45IsAFullCircle",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "765"}, {51, "45"}},
                           join({at("MOVETO", 7.071068, 7.071068)}, round(0, 0, 10, 55, 405, 10),
                                {at("LINETO", 7.071068, 7.071068)})},
               // Angles written equal are no turn: the arc stays its start point.
               DrawingCase{"ArcWithEqualAnglesStaysAPoint",
                           {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "90"}, {51, "90"}},
                           {at("MOVETO", 0, 10), at("LINETO", 0, 10)}},
               // Radius 20: 8 degrees is the largest step whose arc is under 3 mm.
               DrawingCase{"CircleInEightDegreeSteps",
                           {{0, "CIRCLE"}, {10, "5"}, {20, "5"}, {30, "-1"}, {40, "20"}},
                           [] {
                             std::vector<std::string> out{at("MOVETO", 25, 5, -1)};
                             for (int a = 8; a <= 360; a += 8) {
                               const double rad = a * std::numbers::pi / 180.0;
                               out.push_back(at("LINETO", 5 + 20 * std::cos(rad), 5 + 20 * std::sin(rad), -1));
                             }
                             return out;
                           }()},
               DrawingCase{"OpenPolyline",
                           {{0, "LWPOLYLINE"},
                            {90, "3"},
                            {70, "0"},
                            {10, "0"},
                            {20, "0"},
                            {10, "10"},
                            {20, "0"},
                            {10, "10"},
                            {20, "5"}},
                           {at("MOVETO", 0, 0), at("LINETO", 10, 0), at("LINETO", 10, 5)}},
               DrawingCase{"ClosedPolylineIsJoinedBack",
                           {{0, "LWPOLYLINE"},
                            {90, "3"},
                            {70, "1"},
                            {10, "0"},
                            {20, "0"},
                            {10, "10"},
                            {20, "0"},
                            {10, "10"},
                            {20, "5"}},
                           {at("MOVETO", 0, 0), at("LINETO", 10, 0), at("LINETO", 10, 5), at("LINETO", 0, 0)}},
               DrawingCase{"TwoPolylinesJoinedByATravel",
                           {{0, "LWPOLYLINE"},
                            {10, "0"},
                            {20, "0"},
                            {10, "1"},
                            {20, "0"},
                            {0, "LWPOLYLINE"},
                            {10, "5"},
                            {20, "5"},
                            {10, "6"},
                            {20, "5"}},
                           {at("MOVETO", 0, 0), at("LINETO", 1, 0), at("MOVETO", 5, 5), at("LINETO", 6, 5)}},
               // Bulge 1: a half circle, counter-clockwise, round the middle of its chord.
               DrawingCase{
                   "BulgedSegmentIsAnArc",
                   {{0, "LWPOLYLINE"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "10"}, {20, "0"}, {10, "10"}, {20, "8"}},
                   join({at("MOVETO", 0, 0)}, round(5, 0, 5, 190, 360, 10),
                        {at("LINETO", 10, 0), at("LINETO", 10, 8)})},
               // Bulge -1 on the closing edge: clockwise back to the first vertex.
               DrawingCase{"BulgedClosingEdge",
                           {{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {42, "-1"}},
                           join({at("MOVETO", 0, 0), at("LINETO", 10, 0)}, round(5, 0, 5, -10, -180, -10),
                                {at("LINETO", 0, 0)})},
               DrawingCase{"PointTextAndOthersGiveNothing",
                           {{0, "POINT"},
                            {10, "1"},
                            {20, "2"},
                            {30, "0"},
                            {50, "0"},
                            {0, "TEXT"},
                            {1, "EOF"},
                            {1, "ENDSEC"},
                            {0, "SPLINE"},
                            {10, "3"},
                            {20, "4"},
                            {0, "LINE"},
                            {8, "EOF"},
                            {11, "1"}},
                           {at("MOVETO", 0, 0), at("LINETO", 1, 0)}}));

TEST(DxfSections, OnlyEntitiesGivePathsAndPairsEndThem) {
  const formats::DxfReadResult r =
      readDxf(lines({{999, "Kommentar"}, {0, "SECTION"}, {2, "HEADER"},   {9, "$EXTMIN"}, {10, "-500"},
                     {20, "-500"},       {9, "$EXTMAX"}, {10, "500"},     {20, "500"},    {1, "ENDSEC"},
                     {0, "ENDSEC"},      {0, "SECTION"}, {2, "BLOCKS"},   {0, "LINE"},    {10, "99"},
                     {0, "ENDSEC"},      {0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"},    {10, "2"},
                     {20, "3"},          {11, "7"},      {21, "-1"},      {0, "ENDSEC"},  {0, "EOF"}}));
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(elementTexts(r.elements), (std::vector<std::string>{at("MOVETO", 2, 3), at("LINETO", 7, -1)}));
  // The window is the path's and the origin's, not the header's.
  EXPECT_DOUBLE_EQ(r.xMin, 0.0);
  EXPECT_DOUBLE_EQ(r.yMin, -1.0);
  EXPECT_DOUBLE_EQ(r.xMax, 7.0);
  EXPECT_DOUBLE_EQ(r.yMax, 3.0);
}

TEST(DxfCounts, CodesAndEntitiesNotReadAreCounted) {
  const formats::DxfReadResult r = readDxf(entities({{0, "LINE"},
                                                     {5, "1A"},
                                                     {8, "0"},
                                                     {62, "7"},
                                                     {210, "0"},
                                                     {0, "SPLINE"},
                                                     {10, "1"},
                                                     {0, "SPLINE"},
                                                     {0, "INSERT"}}));
  EXPECT_EQ(r.unknownCodes, 2u);
  EXPECT_EQ(r.skipped, (std::map<std::string, std::size_t>{{"INSERT", 1}, {"SPLINE", 2}}));
}

struct StopCase {
  const char* name;
  std::vector<std::string> lines;
  std::size_t elements;  // read before the stop, kept
  std::string error;
  friend std::ostream& operator<<(std::ostream& os, const StopCase& c) { return os << c.name; }
};

class Stops : public ::testing::TestWithParam<StopCase> {};

TEST_P(Stops, KeepWhatWasReadAndNameTheLine) {
  const formats::DxfReadResult r = readDxf(GetParam().lines);
  EXPECT_EQ(r.elements.size(), GetParam().elements);
  EXPECT_EQ(r.error, GetParam().error);
}

std::vector<std::string> truncated() {
  std::vector<std::string> l = entities({{0, "LINE"}, {11, "1"}, {0, "LINE"}, {11, "2"}});
  l.resize(l.size() - 5);  // cut inside the second LINE, after its code 11
  return l;
}

// The start of a drawing's ENTITIES section with these pairs, where the drawing breaks off.
std::vector<std::string> brokenOff(const Pairs& body) {
  Pairs pairs{{0, "SECTION"}, {2, "ENTITIES"}};
  pairs.insert(pairs.end(), body.begin(), body.end());
  return lines(pairs);
}

std::vector<std::string> badCode() {
  std::vector<std::string> l = entities({{0, "LINE"}, {11, "1"}, {0, "LINE"}, {11, "2"}});
  l[12] = "1O";
  return l;
}

INSTANTIATE_TEST_SUITE_P(
    Early, Stops,
    ::testing::Values(StopCase{"Empty", {}, 0, "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 1"},
                      StopCase{"TruncatedInsideAnEntity", truncated(), 2,
                               "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 11"},
                      StopCase{"WithoutEof", lines({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"}}), 0,
                               "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 6"},
                      StopCase{"CodeNotAnInteger", badCode(), 2, "'1O' ist kein gültiger Integerwert\nZeile 13"},
                      // An entity read whole stays when the drawing breaks off after it, a
                      // polyline with the vertices it has; one without its end point is dropped.
                      StopCase{"LineReadWholeAtTheEnd",
                               brokenOff({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}, {31, "0"}}), 2,
                               "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 16"},
                      StopCase{"LineReadWholeBeforeABadCode",
                               join(brokenOff({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}), {"x", "0"}),
                               2, "'x' ist kein gültiger Integerwert\nZeile 15"},
                      StopCase{"LineWithoutItsEndPoint", brokenOff({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}}), 0,
                               "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 12"},
                      StopCase{"ArcReadWholeAtTheEnd",
                               brokenOff({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "90"}}), 10,
                               "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 16"},
                      StopCase{"PolylineKeepsItsVertices",
                               brokenOff({{0, "LWPOLYLINE"},
                                          {70, "1"},
                                          {10, "0"},
                                          {20, "0"},
                                          {10, "10"},
                                          {20, "0"},
                                          {10, "10"},
                                          {20, "5"},
                                          {10, "0"}}),
                               3, "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 22"},
                      StopCase{"RealNotANumber", entities({{0, "LINE"}, {10, "1,5"}}), 0,
                               "'1,5' ist kein gültiger Gleitkommawert\nZeile 8"},
                      StopCase{"RealOverflows", entities({{0, "LINE"}, {10, "1e999"}}), 0,
                               "'1e999' ist kein gültiger Gleitkommawert\nZeile 8"}));

struct SweepCase {
  const char* name;
  Pairs body;
  friend std::ostream& operator<<(std::ostream& os, const SweepCase& c) { return os << c.name; }
};

class QuarterSweeps : public ::testing::TestWithParam<SweepCase> {};

// Sweeps of 90 degrees that the arithmetic makes a hair longer: nine chords of 10 degrees, the
// last on the end, and none of no length after it.
TEST_P(QuarterSweeps, EndOnTheirLastStep) {
  const formats::DxfReadResult r = readDxf(entities(GetParam().body));
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.elements.size(), 10u);
  for (std::size_t i = 1; i < r.elements.size(); ++i) {
    EXPECT_GT(std::hypot(r.elements[i].x - r.elements[i - 1].x, r.elements[i].y - r.elements[i - 1].y), 1.0) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, QuarterSweeps,
    ::testing::Values(
        // 4 atan(b) comes out as 90.00000000000001 and 90.00000000000018 degrees.
        SweepCase{"Bulge",
                  {{0, "LWPOLYLINE"}, {10, "0"}, {20, "0"}, {42, "0.4142135623730951"}, {10, "10"}, {20, "0"}}},
        SweepCase{"RoundedBulge",
                  {{0, "LWPOLYLINE"}, {10, "0"}, {20, "0"}, {42, "0.414213562373096"}, {10, "10"}, {20, "0"}}},
        // 128.3 - 38.3 is 90.00000000000001.
        SweepCase{"Arc", {{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "38.3"}, {51, "128.3"}}}),
    [](const ::testing::TestParamInfo<SweepCase>& p) { return std::string(p.param.name); });

// A drawing of more elements than a list takes stops with a message; what was read stays.
TEST(DxfBounds, AFullListStopsTheReading) {
  const formats::DxfReadResult r = readDxf(entities({{0, "CIRCLE"}, {40, "1"}}), 5);
  EXPECT_EQ(r.elements.size(), 5u);
  EXPECT_EQ(r.error, "Die Zeichnung hat mehr als 5 Wegelemente.\nZeile 6");
}

}  // namespace
