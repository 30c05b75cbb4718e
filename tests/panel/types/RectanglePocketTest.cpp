// Rectangle pockets: the ring series of a 20 x 20 pocket, the single ring of a small one, the
// clamped corner radius of the inner rings, and pockets that cannot be milled.
#include <algorithm>
#include <sstream>

#include "ObjectTypeFixture.h"

namespace {

using Strings = std::vector<std::string>;
using testsupport::CanvasOp;

class Pockets : public paneltest::ObjectTypeFixture {
 protected:
  int addPocket(const char* breite, const char* hoehe, const char* eck) {
    return addRow("RECHTECK3", {{1, "0.00"},
                                {2, "0.00"},
                                {3, breite},
                                {4, hoehe},
                                {5, "-1.00"},
                                {6, eck},
                                {8, "nein"},
                                {9, "Uhrzeigersinn"},
                                {10, "innen-tasche"}});
  }

  static long arcs(const Strings& calls) {
    return std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("cncKreis", 0) == 0; });
  }
};

// With a 2 mm cutter the compensated contour is 18 x 18 around (10, 10); each ring is 1.4 mm
// smaller than the one before, down to 1.2 mm: 13 rings, each starting 0.7 mm further right.
TEST_F(Pockets, A20By20PocketWithA2mmCutterRuns13Rings) {
  form_.Abmessungen.setFraeserdurchmesser(2.0);
  const int row = addPocket("20.00", "20.00", "0.00");
  const Strings calls = mill(row);
  ASSERT_EQ(calls.size(), 3u + 13u * 10u + 2u);
  EXPECT_EQ(arcs(calls), 13 * 4);
  EXPECT_EQ(Strings(calls.begin(), calls.begin() + 3),
            (Strings{"cncMoveTo 1.00 10.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 1.00 10.00 1.00"}));
  EXPECT_EQ(Strings(calls.begin() + 3, calls.begin() + 13),
            (Strings{"cncLineTo 1 1.00 10.00 1.00", "cncLineTo 1 1.00 19.00 1.00",
                     "cncKreisLineTo 1 1.00 19.00 0.00 180.00 90.00 1.00", "cncLineTo 1 19.00 19.00 1.00",
                     "cncKreisLineTo 1 19.00 19.00 0.00 90.00 0.00 1.00", "cncLineTo 1 19.00 1.00 1.00",
                     "cncKreisLineTo 1 19.00 1.00 0.00 0.00 270.00 1.00", "cncLineTo 1 1.00 1.00 1.00",
                     "cncKreisLineTo 1 1.00 1.00 0.00 270.00 180.00 1.00", "cncLineTo 1 1.00 10.00 1.00"}));
  const Strings starts = {"1.00", "1.70", "2.40", "3.10", "3.80", "4.50", "5.20",
                          "5.90", "6.60", "7.30", "8.00", "8.70", "9.40"};
  for (std::size_t k = 0; k < starts.size(); ++k)
    EXPECT_EQ(calls[3 + 10 * k], "cncLineTo 1 " + starts[k] + " 10.00 1.00") << "ring " << k;
  EXPECT_EQ(Strings(calls.begin() + 123, calls.end()),
            (Strings{"cncLineTo 1 9.40 10.00 1.00", "cncLineTo 1 9.40 10.60 1.00",
                     "cncKreisLineTo 1 9.40 10.60 0.00 180.00 90.00 1.00", "cncLineTo 1 10.60 10.60 1.00",
                     "cncKreisLineTo 1 10.60 10.60 0.00 90.00 0.00 1.00", "cncLineTo 1 10.60 9.40 1.00",
                     "cncKreisLineTo 1 10.60 9.40 0.00 0.00 270.00 1.00", "cncLineTo 1 9.40 9.40 1.00",
                     "cncKreisLineTo 1 9.40 9.40 0.00 270.00 180.00 1.00", "cncLineTo 1 9.40 10.00 1.00",
                     "cncLineTo 1 1.00 10.00 1.00", "cncKuehlmittelpumpe 0"}));
}

// 10 x 5 with a 3 mm cutter: one ring of 7 x 2 (the next would be 4.9 x -0.1), the "innen" path.
TEST_F(Pockets, ASmallPocketIsItsCompensatedContour) {
  const int pocket = addPocket("10.00", "5.00", "0.00");
  const int contour = addPocket("10.00", "5.00", "0.00");
  setCell(contour, 10, "innen");
  Strings ring = mill(pocket);
  Strings plain = mill(contour);
  // The ring adds its own cuts from the start into it and back, both of no length here.
  ASSERT_EQ(ring.size(), plain.size() + 2);
  EXPECT_EQ(ring[3], "cncLineTo 1 1.50 2.50 1.00");
  ring.erase(ring.begin() + 3);
  ring.erase(ring.end() - 3);
  EXPECT_EQ(ring, plain);
}

// Corner radius 4 with a 2 mm cutter: 3 on the contour; rings narrower than 6 mm clamp it to
// half their size, and it never grows again.
TEST_F(Pockets, InnerRingsClampTheCornerRadiusToHalfTheirSize) {
  form_.Abmessungen.setFraeserdurchmesser(2.0);
  const int row = addPocket("20.00", "20.00", "4.00");
  Strings radii;
  for (const std::string& call : mill(row)) {
    if (call.rfind("cncKreisLineTo", 0) != 0) continue;
    std::istringstream in(call);
    std::string word, direction, cx, cy, r;
    in >> word >> direction >> cx >> cy >> r;
    radii.push_back(r);
  }
  ASSERT_EQ(radii.size(), 13u * 4u);
  Strings perRing;
  for (std::size_t k = 0; k < radii.size(); k += 4) perRing.push_back(radii[k]);
  EXPECT_EQ(perRing, (Strings{"3.00", "3.00", "3.00", "3.00", "3.00", "3.00", "3.00", "3.00", "3.00", "2.70", "2.00",
                              "1.30", "0.60"}));
  EXPECT_EQ(beeps_, 0);
}

TEST_F(Pockets, APocketWithoutACutterIsNeitherMilledNorDrawnForEver) {
  form_.Abmessungen.setFraeserdurchmesser(0.0);
  const int row = addPocket("20.00", "20.00", "0.00");
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);
  ASSERT_TRUE(draw(row));
  // The outline, then the first ring only, in the invalid colour.
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  const auto dotted = std::count_if(drawn.begin(), drawn.end(), [this](const CanvasOp& op) {
    return op.pen.style == platform::PenStyle::Dot && op.pen.colour == form_.Farben.FarbeUngueltig;
  });
  EXPECT_EQ(dotted, 6);
}

TEST_F(Pockets, APocketWithAbsurdlyManyRingsIsNotMilled) {
  form_.Abmessungen.setFraeserdurchmesser(0.001);
  const int row = addPocket("1000000.00", "1000000.00", "0.00");
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);
}

}  // namespace
