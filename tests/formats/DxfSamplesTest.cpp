// Real DXF drawings made by CAD programs and instruments (../shared/samples/dxf, see its
// SOURCES.md), R12 to R2018, with and without HEADER, LF and CR LF: every file reads and paints
// without a crash, hang or overrun, to its "EOF" (one file has none and says so, its lines kept);
// the entities the reader takes become paths, the others are passed over and counted. For a few,
// the element count and the extent are checked against numbers worked out from the file by hand.
// Skipped when the folder is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>

#include "TraceLogFolder.h"
#include "formats/DxfModule.h"
#include "formats/DxfReader.h"
#include "platform/TextFile.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUi.h"

namespace {

const std::filesystem::path kSamples = VELTRIS_DXF_SAMPLES;

class DxfSamples : public paneltest::TraceLogFolder {
 protected:
  void SetUp() override {
    TraceLogFolder::SetUp();
    if (!std::filesystem::is_directory(kSamples)) GTEST_SKIP() << "no sample folder at " << kSamples;
  }

  static formats::DxfReadResult read(const std::string& file) {
    const platform::TextReadResult text = platform::readTextLines(kSamples / file);
    EXPECT_EQ(text.status, platform::ReadStatus::Ok) << file;
    return formats::readDxf(text.lines);
  }
};

TEST_F(DxfSamples, EveryFileReadsAndPaintsWithoutFault) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() == ".md") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    const platform::TextReadResult text = platform::readTextLines(entry.path());
    ASSERT_EQ(text.status, platform::ReadStatus::Ok) << name;
    formats::TDXFDataModule drawing;
    testsupport::ScriptedUi ui;
    drawing.DXF_Parser(text.lines, &ui);
    // Only the drawing without its "EOF" says anything.
    EXPECT_EQ(ui.messageBoxes().size(), name == "ezdxf-recover01.dxf" ? 1u : 0u) << name;
    const panel::PanelAnsicht& welt = drawing.Ansicht;
    for (const formats::DxfElement& e : drawing.elements()) {
      ASSERT_TRUE(e.x >= welt.xMin && e.x <= welt.xMax && e.y >= welt.yMin && e.y <= welt.yMax) << name;
    }
    panel::TMainFormState form;
    panel::ObjectTypeTable types;
    testsupport::RecordingCanvas canvas({1024, 700});
    panel::DrawContext context{form, canvas, types};
    drawing.DXF_Paint(context);
    EXPECT_EQ(canvas.opsOf(testsupport::CanvasOp::Kind::FillRect).size(), 1u) << name;
    std::size_t cuts = 0;
    for (const formats::DxfElement& e : drawing.elements()) cuts += e.Befehl == "LINETO" ? 1 : 0;
    EXPECT_GE(canvas.opsOf(testsupport::CanvasOp::Kind::LineTo).size(), cuts) << name;
  }
  EXPECT_GT(files, 0);
}

struct CountCase {
  const char* file;
  std::size_t elements;
  double xMin, yMin, xMax, yMax;
  std::string error;
  friend std::ostream& operator<<(std::ostream& os, const CountCase& c) { return os << c.file; }
};

class DxfCounts : public DxfSamples, public ::testing::WithParamInterface<CountCase> {};

TEST_P(DxfCounts, MatchTheFile) {
  if (!std::filesystem::exists(kSamples / GetParam().file)) GTEST_SKIP() << "sample missing";
  const formats::DxfReadResult r = read(GetParam().file);
  EXPECT_EQ(r.elements.size(), GetParam().elements);
  EXPECT_EQ(r.error, GetParam().error);
  EXPECT_NEAR(r.xMin, GetParam().xMin, 1e-9);
  EXPECT_NEAR(r.yMin, GetParam().yMin, 1e-9);
  EXPECT_NEAR(r.xMax, GetParam().xMax, 1e-9);
  EXPECT_NEAR(r.yMax, GetParam().yMax, 1e-9);
}

// By hand: 3_us_main holds 10052 LINE entities and nothing else the reader takes (two elements
// each); recover01 1441 LINE and 63 TEXT and ends with ENDSEC on its last line 29472 without "EOF";
// empty_handles the 165 x 340 outline and four engraving lines, eight LINE entities in all. The
// extents are those of the LINE end points (codes 10, 11, 20, 21) and the origin. In cw750-details
// 622 bulges sweep a hair more than their whole 10-degree steps (90.00000000000001 degrees for a
// quarter): they end on their last step, with no chord of no length after it (19554 elements with one).
INSTANTIATE_TEST_SUITE_P(Files, DxfCounts,
                         ::testing::Values(CountCase{"ezdxf-3_us_main.dxf", 20104, -20.6989376923, 0.0, 0.0,
                                                     15.2544433211, ""},
                                           CountCase{"ezdxf-recover01.dxf", 2882, -1099.5, 0.0, 0.0, 1463.4625,
                                                     "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 29472"},
                                           CountCase{"ezdxf-empty_handles.dxf", 16, 0.0, 0.0, 165.0, 340.0, ""},
                                           CountCase{"dxfparser-api-cw750-details.dxf", 18932, 0.0, 0.0, 723.3548106403,
                                                     539.8219673239, ""}));

// The closed outline with four bulges, worked out by hand: eight vertices and the closing edge;
// the two bulges of -0.0169 sweep under 4 degrees (one chord each), the bulge of -0.2956 sweeps
// 65.9 degrees round a radius of 8.3 mm and the closing bulge of 0.3127 69.4 degrees round
// 8.8 mm (six 10-degree chords and the end each); with the five straight edges and the first
// travel, 21 elements, the last back on the first vertex.
TEST_F(DxfSamples, AClosedOutlineWithBulgesIsCutAlongItsArcs) {
  if (!std::filesystem::exists(kSamples / "netdxf-Polyline2DTest_0001.dxf")) GTEST_SKIP() << "sample missing";
  const formats::DxfReadResult r = read("netdxf-Polyline2DTest_0001.dxf");
  EXPECT_EQ(r.error, "");
  ASSERT_EQ(r.elements.size(), 21u);
  EXPECT_EQ(r.elements[0].Befehl, "MOVETO");
  EXPECT_DOUBLE_EQ(r.elements[0].x, 33.78162553908467);
  EXPECT_DOUBLE_EQ(r.elements[0].y, 23.0);
  EXPECT_DOUBLE_EQ(r.elements[20].x, 33.78162553908467);
  EXPECT_DOUBLE_EQ(r.elements[20].y, 23.0);
  // The closing arc bulges out to the left of the outline, by up to its sagitta of 1.56 mm.
  double left = r.elements[0].x;
  for (const formats::DxfElement& e : r.elements) left = std::min(left, e.x);
  EXPECT_LT(left, 33.78162553908467 - 1.4);
  EXPECT_GT(left, 33.78162553908467 - 1.57);
  EXPECT_DOUBLE_EQ(r.xMax, 35.78162553908467);
  EXPECT_DOUBLE_EQ(r.yMax, 33.0);
}

// Entities the reader does not take are counted by name, not drawn.
TEST_F(DxfSamples, OtherEntitiesArePassedOverAndCounted) {
  if (!std::filesystem::exists(kSamples / "ezdxf-POLI-ALL210_12.DXF")) GTEST_SKIP() << "sample missing";
  const formats::DxfReadResult r = read("ezdxf-POLI-ALL210_12.DXF");
  EXPECT_TRUE(r.elements.empty());
  EXPECT_EQ(r.skipped.at("POLYLINE"), 30u);
  EXPECT_EQ(r.skipped.at("3DFACE"), 1u);
}

}  // namespace
