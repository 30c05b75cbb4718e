// Lead-in moves: the arc geometry of every case, the 21 segments of the entry and exit arcs, the
// ramp of a circle, and what "mitte" leaves out.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "RecordingMotion.h"
#include "panel/types/LeadIn.h"
#include "support/RecordingCanvas.h"

namespace {

using Strings = std::vector<std::string>;
using panel::MmPoint;
using testsupport::CanvasOp;

struct GeometryCase {
  const char* richtung;
  const char* korrektur;
  MmPoint P;
  MmPoint C;
  MmPoint A;
  MmPoint E;
  friend std::ostream& operator<<(std::ostream& os, const GeometryCase& c) {
    return os << c.richtung << " " << c.korrektur;
  }
};

class LeadInGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(LeadInGeometry, PutsTheArcsBesideTheStartOnTheSideOfTheCompensation) {
  const GeometryCase& c = GetParam();
  panel::PanelAnsicht view;
  view.x0 = 40;
  view.y0 = 500;
  view.dMassstab = 4.0;
  const panel::LeadIn l = panel::EintauchenBerechnen(view, c.P, c.korrektur, c.richtung);
  EXPECT_EQ(l.P, c.P);
  EXPECT_EQ(l.C, c.C);
  EXPECT_EQ(l.A, c.A);
  EXPECT_EQ(l.E, c.E);
  EXPECT_EQ(l.pA, (platform::Point{40 + static_cast<int>(c.A.x * 4), 500 - static_cast<int>(c.A.y * 4)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadInGeometry,
    ::testing::Values(GeometryCase{"Uhrzeigersinn", "innen", {10, 20}, {12, 20}, {12, 18}, {12, 22}},
                      GeometryCase{"Gegenuhrzeigersinn", "aussen", {0, 0}, {-2, 0}, {-2, 2}, {-2, -2}},
                      GeometryCase{"Uhrzeigersinn", "aussen-steg", {0, 0}, {-2, 0}, {-2, -2}, {-2, 2}},
                      GeometryCase{"irgendwie", "innen-tasche", {0, 0}, {2, 0}, {2, 2}, {2, -2}},
                      GeometryCase{"Uhrzeigersinn", "mitte", {3, 4}, {3, 4}, {3, 4}, {3, 4}},
                      GeometryCase{"Uhrzeigersinn", "Innen", {3, 4}, {3, 4}, {3, 4}, {3, 4}}));

std::string arcCall(int direction, const char* centre, const char* start, const char* end, const char* z) {
  return "cncKreisLineTo " + std::to_string(direction) + " " + centre + " 2.00 " + start + " " + end + " " + z;
}

// The start angles of the 21 segments of a clockwise quarter from 270 to 180 degrees.
const std::vector<const char*> kVon270 = {
    "270.00", "265.50", "261.00", "256.50", "252.00", "247.50", "243.00", "238.50", "234.00", "229.50", "225.00",
    "220.50", "216.00", "211.50", "207.00", "202.50", "198.00", "193.50", "189.00", "184.50", "180.00", "175.50"};
const std::vector<const char*> kVon180 = {
    "180.00", "175.50", "171.00", "166.50", "162.00", "157.50", "153.00", "148.50", "144.00", "139.50", "135.00",
    "130.50", "126.00", "121.50", "117.00", "112.50", "108.00", "103.50", "99.00",  "94.50",  "90.00",  "85.50"};

TEST(LeadInMilling, EntersAndLeavesAClockwiseInsideContourIn21SegmentsEach) {
  paneltest::RecordingMotion motion;
  const panel::LeadIn l = panel::EintauchenBerechnen({}, {10, 20}, "innen", "Uhrzeigersinn");
  panel::EintauchenFraesen(motion, l, "Uhrzeigersinn", "innen", 1.0);
  Strings expected = {"cncMoveTo 12.00 18.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 12.00 18.00 1.00"};
  for (std::size_t i = 0; i < 21; ++i)
    expected.push_back(arcCall(1, "12.00 20.00", kVon270[i], kVon270[i + 1], "1.00"));
  EXPECT_EQ(motion.calls, expected);

  motion.calls.clear();
  panel::AusfahrenFraesen(motion, l, "Uhrzeigersinn", "innen", 1.0);
  expected.clear();
  for (std::size_t i = 0; i < 21; ++i)
    expected.push_back(arcCall(1, "12.00 20.00", kVon180[i], kVon180[i + 1], "1.00"));
  EXPECT_EQ(motion.calls, expected);
}

TEST(LeadInMilling, ACounterClockwiseOutsideContourRunsItsArcsClockwiseAcrossZeroDegrees) {
  paneltest::RecordingMotion motion;
  const panel::LeadIn l = panel::EintauchenBerechnen({}, {0, 0}, "aussen", "Gegenuhrzeigersinn");
  panel::EintauchenFraesen(motion, l, "Gegenuhrzeigersinn", "aussen", 0.5);
  ASSERT_EQ(motion.calls.size(), 3u + 21u);
  EXPECT_EQ(motion.calls[0], "cncMoveTo -2.00 2.00");
  EXPECT_EQ(motion.calls[3], arcCall(1, "-2.00 0.00", "90.00", "85.50", "0.50"));
  EXPECT_EQ(motion.calls[23], arcCall(1, "-2.00 0.00", "0.00", "-4.50", "0.50"));

  motion.calls.clear();
  panel::AusfahrenFraesen(motion, l, "Gegenuhrzeigersinn", "aussen", 0.5);
  ASSERT_EQ(motion.calls.size(), 21u);
  EXPECT_EQ(motion.calls.front(), arcCall(1, "-2.00 0.00", "360.00", "355.50", "0.50"));
  EXPECT_EQ(motion.calls.back(), arcCall(1, "-2.00 0.00", "270.00", "265.50", "0.50"));
}

TEST(LeadInMilling, MitteHasNoArcsAndNoArcEntryOrExit) {
  paneltest::RecordingMotion motion;
  const panel::LeadIn l = panel::EintauchenBerechnen({}, {0, 0}, "mitte", "Uhrzeigersinn");
  panel::EintauchenFraesen(motion, l, "Uhrzeigersinn", "mitte", 1.0);
  panel::AusfahrenFraesen(motion, l, "Uhrzeigersinn", "mitte", 1.0);
  EXPECT_TRUE(motion.calls.empty());

  testsupport::RecordingCanvas canvas;
  panel::EintauchenZeichnen(canvas, {}, l, "Uhrzeigersinn", "mitte");
  panel::AusfahrenZeichnen(canvas, {}, l, "Uhrzeigersinn", "mitte");
  EXPECT_TRUE(canvas.ops().empty());
}

// A circle of radius 10 around (20, 20), 2 mm deep: 21 segments of 4.5 degrees, each 0.1 mm
// deeper, from the surface to the full depth, ending 4.5 degrees past the leftmost point.
TEST(LeadInMilling, ACircleRampsDownAlongItsOwnPathInEitherDirection) {
  const Strings z = {"0.00", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90", "1.00",
                     "1.10", "1.20", "1.30", "1.40", "1.50", "1.60", "1.70", "1.80", "1.90", "2.00"};
  paneltest::RecordingMotion motion;
  panel::RampeEintauchenFraesen(motion, {20, 20}, 10.0, "Gegenuhrzeigersinn", "mitte", 2.0);
  ASSERT_EQ(motion.calls.size(), 2u + 21u);
  EXPECT_EQ(motion.calls[0], "cncMoveTo 20.00 30.00");
  EXPECT_EQ(motion.calls[1], "cncKuehlmittelpumpe 1");
  for (std::size_t i = 0; i < 21; ++i) {
    const std::string& call = motion.calls[2 + i];
    EXPECT_EQ(call.substr(call.rfind(' ') + 1), z[i]) << i;
  }
  EXPECT_EQ(motion.calls[2], "cncKreisLineTo 0 20.00 20.00 10.00 90.00 94.50 0.00");
  EXPECT_EQ(motion.calls[22], "cncKreisLineTo 0 20.00 20.00 10.00 180.00 184.50 2.00");

  motion.calls.clear();
  panel::RampeEintauchenFraesen(motion, {20, 20}, 10.0, "Uhrzeigersinn", "mitte", 2.0);
  ASSERT_EQ(motion.calls.size(), 2u + 21u);
  EXPECT_EQ(motion.calls[0], "cncMoveTo 20.00 10.00");
  EXPECT_EQ(motion.calls[2], "cncKreisLineTo 1 20.00 20.00 10.00 270.00 265.50 0.00");
  EXPECT_EQ(motion.calls[22], "cncKreisLineTo 1 20.00 20.00 10.00 180.00 175.50 2.00");

  motion.calls.clear();
  panel::RampeEintauchenFraesen(motion, {20, 20}, 10.0, "Uhrzeigersinn", "innen", 2.0);
  EXPECT_TRUE(motion.calls.empty());
}

TEST(LeadInDrawing, DrawsTheEntryArcFromThePlungePointWithAnArrowInTheCallersColour) {
  panel::PanelAnsicht view;
  view.x0 = 40;
  view.y0 = 500;
  view.dMassstab = 4.0;
  testsupport::RecordingCanvas canvas;
  canvas.setPen(platform::Pen{0x123456, 1, platform::PenStyle::Solid, platform::PenMode::Copy});
  const panel::LeadIn l = panel::EintauchenBerechnen(view, {10, 20}, "innen", "Uhrzeigersinn");
  canvas.clear();
  panel::EintauchenZeichnen(canvas, view, l, "Uhrzeigersinn", "innen");
  const auto arcs = canvas.opsOf(CanvasOp::Kind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  // Centre (12, 20) mm is pixel (88, 420); radius 8 px. Clockwise from 270 to 180 degrees is the
  // counter-clockwise arc from the point at 180 (80, 420) to the point at 270 (88, 428).
  EXPECT_EQ(arcs[0].args, (std::vector<int>{80, 412, 96, 428, 80, 420, 88, 428}));
  EXPECT_EQ(arcs[0].pen.colour, 0x123456u);
  EXPECT_EQ(arcs[0].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(canvas.opsOf(CanvasOp::Kind::MoveTo).front().args, (std::vector<int>{88, 428}));
  EXPECT_EQ(canvas.opsOf(CanvasOp::Kind::Polygon).size(), 1u);
}

}  // namespace
