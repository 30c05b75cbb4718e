// Real G-code programs made by other programs (../shared/samples/gcode, see its SOURCES.md). The
// reader takes a small dialect: none of them but one starts with the '%' it looks for, so as they
// stand they give nothing; read with a '%' put before them, each ends with the hint or error box
// its first word outside the dialect gives, on the right line, the path before it kept. Every
// file reads and paints without a crash, hang or overrun. One program, with its inch word put in
// the dialect's, is checked against an element count and extent worked out by hand. Skipped when
// the folder is absent.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>

#include "TraceLogFolder.h"
#include "formats/DinIsoModule.h"
#include "formats/DinIsoReader.h"
#include "platform/TextFile.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUi.h"

namespace {

const std::filesystem::path kSamples = VELTRIS_GCODE_SAMPLES;
constexpr const char* kHint = " - Befehl ist noch nicht implementiert!";

class GcodeFolder : public paneltest::TraceLogFolder {
 protected:
  void SetUp() override {
    TraceLogFolder::SetUp();
    if (!std::filesystem::is_directory(kSamples)) GTEST_SKIP() << "no sample folder at " << kSamples;
  }

  static std::string bytesOf(const std::filesystem::path& path) {
    std::string bytes;
    platform::readFileBytes(path, bytes);
    return bytes;
  }
};

struct SampleCase {
  const char* file;
  std::size_t elements;  // read before the first word outside the dialect
  // The first box with a '%' before the program: a hint's word and text, else the error box.
  std::string box;
  friend std::ostream& operator<<(std::ostream& os, const SampleCase& c) { return os << c.file; }
};

class GcodeSamples : public GcodeFolder, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(GcodeSamples, EndAtTheirFirstWordOutsideTheDialect) {
  const std::filesystem::path path = kSamples / GetParam().file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "sample missing: " << path;

  formats::TDINISODataModule program;
  testsupport::ScriptedUi ui;
  program.DINISO_Parser(path, &ui);
  // Without the '%' it looks for, a program gives nothing and no box.
  if (std::string(GetParam().file) != "ugs-arc_rword_test.gcode") {
    EXPECT_TRUE(program.elements().empty());
    EXPECT_TRUE(ui.messageBoxes().empty());
  }
  panel::TMainFormState form;
  panel::ObjectTypeTable types;
  testsupport::RecordingCanvas canvas({1024, 700});
  panel::DrawContext context{form, canvas, types};
  program.DINISO_Paint(context);
  EXPECT_EQ(canvas.opsOf(testsupport::CanvasOp::Kind::FillRect).size(), 1u);

  const formats::DinIsoReadResult r = formats::readDinIso("%\n" + bytesOf(path), 0.0, 0.0);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_EQ(r.messages[0].text, GetParam().box);
  EXPECT_EQ(r.elements.size(), GetParam().elements);
}

std::string hint(const std::string& wordAndText, int line) {
  return wordAndText + kHint + "\nZeile " + std::to_string(line);
}

INSTANTIATE_TEST_SUITE_P(Files, GcodeSamples,
                         ::testing::Values(SampleCase{"camotics-botomata_bottom.nc", 1, hint("|M6| 6 (Reset tool)", 5)},
                                           SampleCase{"camotics-cameo.nc", 0, hint("|G4x| 9 G80 G90", 3)},
                                           SampleCase{"camotics-flower_mold.nc", 0, hint("|G2x| 0M03S2000", 2)},
                                           SampleCase{"camotics-la_peinture.gc", 0, hint("|M3x|  F6000", 3)},
                                           SampleCase{
                                               "camotics-tiny_cat_outline.ngc", 0,
                                               "DINISO_Parser() default: \n;PYCAM-META-DATA: Filename: /hom\nZeile 2"},
                                           SampleCase{"cncjs-circle-inch.gcode", 0, hint("|G2x| 0 G90 G94 G54", 2)},
                                           SampleCase{"cncjs-spaces.gcode", 0, hint("|G0x| X-5Y0Z0F200", 2)},
                                           SampleCase{"linuxcnc-Cereal.ngc", 0, hint("|Gx| 80 G64 P0.1 Q0.1", 17)},
                                           SampleCase{"linuxcnc-arcspiral.ngc", 0, hint("|G2x| 0 g64", 2)},
                                           SampleCase{"linuxcnc-stellabee1.ngc", 0, hint("|G2x| 0", 2)},
                                           SampleCase{"ugs-Gates_combined_R12.nc", 1, hint("|M3x|  S1000", 11)},
                                           SampleCase{"ugs-arc_rword_test.gcode", 0, hint("|G2x| 0 (G49 G61)", 14)},
                                           SampleCase{"ugs-no_spaces.gcode", 0, hint("|G2x| 0G90G94", 2)},
                                           SampleCase{"ugs-shapeoko.txt", 0, hint("|G2x| 0 G90 G64 G40", 5)},
                                           SampleCase{"ugs-square.nc", 0, hint("|M3x|  S1000", 4)}));

// The one program that starts with '%' stops at its inch word on its own line 13.
TEST_F(GcodeFolder, TheProgramWithItsPercentStopsOnItsOwnLine) {
  const std::filesystem::path path = kSamples / "ugs-arc_rword_test.gcode";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "sample missing: " << path;
  formats::TDINISODataModule program;
  testsupport::ScriptedUi ui;
  program.DINISO_Parser(path, &ui);
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text, hint("|G2x| 0 (G49 G61)", 13));
  EXPECT_EQ(ui.messageBoxes()[0].caption, "H I N W E I S");
  EXPECT_TRUE(program.readOk());
}

// The circle in inches, its G20 written as the dialect's G70. Worked out by hand: N2 a rapid to
// z 6.35; N3 and N4 have no G word and move nothing; N5 a feed word and a cut to z 0; N6 a feed
// word and the clockwise arc from (0, 0) round (12.7, 0), 180 to 135 degrees in 10-degree chords
// (170, 160, 150, 140, then the end (0, 12.7)); N7-N9 again without G word; N10 a feed word and
// a cut up to z 2.54; N11 a rapid back to (0, 0, 6.35): 12 elements. The farthest x is the chord
// at 140 degrees, 12.7 (1 + cos 140), the farthest y the arc's end.
TEST_F(GcodeFolder, AnInchCircleGivesTheElementsWorkedOutByHand) {
  const std::filesystem::path path = kSamples / "cncjs-circle-inch.gcode";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "sample missing: " << path;
  std::string program = bytesOf(path);
  program.replace(program.find("G20"), 3, "G70");
  const formats::DinIsoReadResult r = formats::readDinIso("%\n" + program, 0.0, 0.0);
  EXPECT_TRUE(r.messages.empty());
  ASSERT_EQ(r.elements.size(), 12u);
  EXPECT_EQ(r.elements[0].Befehl, "GOO");
  EXPECT_DOUBLE_EQ(r.elements[0].z, 6.35);
  EXPECT_EQ(r.elements[1].Befehl, "F");
  EXPECT_EQ(r.elements[1].Argument, "5.");
  EXPECT_EQ(r.elements[3].Argument, "2.5");
  EXPECT_DOUBLE_EQ(r.elements[8].x, 0.0);
  EXPECT_DOUBLE_EQ(r.elements[8].y, 12.7);
  EXPECT_DOUBLE_EQ(r.elements[10].z, 2.54);
  EXPECT_EQ(r.elements[11].Befehl, "GOO");
  EXPECT_DOUBLE_EQ(r.xMin, 0.0);
  EXPECT_NEAR(r.xMax, 12.7 * (1.0 + std::cos(140.0 * 3.14159265358979323846 / 180.0)), 1e-9);
  EXPECT_DOUBLE_EQ(r.yMin, 0.0);
  EXPECT_DOUBLE_EQ(r.yMax, 12.7);
}

}  // namespace
