// Real plot files made by other programs and instruments (../shared/samples/hpgl, see its
// SOURCES.md): every one reads without a crash, hang or overrun and paints; the plots the reader
// takes draw inside their world window, the others are refused with a message naming the first
// command it does not take. For a few, the element count and the extent are checked against
// numbers worked out from the file by hand. Skipped when the folder is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "TraceLogFolder.h"
#include "formats/HpglModule.h"
#include "formats/HpglReader.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUi.h"

namespace {

const std::filesystem::path kSamples = VELTRIS_HPGL_SAMPLES;

struct SampleCase {
  const char* file;
  // Empty: the file is read. Otherwise the first message of its refusal.
  const char* refusal;
  friend std::ostream& operator<<(std::ostream& os, const SampleCase& c) { return os << c.file; }
};

class SampleFolder : public paneltest::TraceLogFolder {
 protected:
  void SetUp() override {
    TraceLogFolder::SetUp();
    if (!std::filesystem::is_directory(kSamples)) GTEST_SKIP() << "no sample folder at " << kSamples;
  }
};

class HpglSamples : public SampleFolder, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(HpglSamples, ReadAndPaintWithoutFault) {
  const std::filesystem::path path = kSamples / GetParam().file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "sample missing: " << path;
  formats::THPGLDataModule plot;
  testsupport::ScriptedUi ui;
  plot.HPGL_Parser(path, &ui);
  const std::string refusal = GetParam().refusal;
  EXPECT_EQ(plot.readOk(), refusal.empty());
  if (refusal.empty()) {
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_GT(plot.elements().size(), 2u);
  } else {
    ASSERT_FALSE(ui.messageBoxes().empty());
    EXPECT_EQ(ui.messageBoxes()[0].text, refusal);
    EXPECT_TRUE(plot.elements().empty());
  }
  // The extent is kept in whole plotter units, cut toward zero: a point lies within one of it.
  const panel::PanelAnsicht welt = plot.Ansicht;
  const double u = formats::kMmPerPlotterUnit;
  for (const formats::HpglElement& e : plot.elements()) {
    if (e.Befehl != "MOVETO" && e.Befehl != "LINETO") continue;
    ASSERT_TRUE(e.x > welt.xMin - u && e.x < welt.xMax + u && e.y > welt.yMin - u && e.y < welt.yMax + u)
        << e.Befehl << " " << e.x << " " << e.y;
  }

  panel::TMainFormState form;
  panel::ObjectTypeTable types;
  testsupport::RecordingCanvas canvas({1024, 700});
  panel::DrawContext context{form, canvas, types};
  plot.HPGL_Paint(context, true);
  EXPECT_EQ(canvas.opsOf(testsupport::CanvasOp::Kind::FillRect).size(), 1u);
  std::size_t linetos = 0;
  for (const formats::HpglElement& e : plot.elements()) linetos += e.Befehl == "LINETO" ? 1 : 0;
  EXPECT_GE(canvas.opsOf(testsupport::CanvasOp::Kind::LineTo).size(), linetos);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HpglSamples,
    ::testing::Values(SampleCase{"hp2xx-acad.hp", ""}, SampleCase{"hp2xx-arcs.hp", ""},
                      // "IN" is found in the comment's word "linewidths"; what follows is no command.
                      SampleCase{"hp2xx-ci.hp", "E... - Befehl ist noch nicht implementiert!"},
                      // The edge rectangle EA.
                      SampleCase{"hp2xx-fill.plt", "E... - Befehl ist noch nicht implementiert!"},
                      SampleCase{"hp2xx-inter.hp", ""},
                      // "IN" found in the device control "BPINPS"; "NP" is no command of HP-GL.
                      SampleCase{"hp2xx-spectrum.plt", "HPGL_Parser() default: \nNPPCPW.1;;ES0.0666,-0.25RO90IP0,"},
                      SampleCase{"hp2xx-win_1.hp", "D... - Befehl ist noch nicht implementiert!"},
                      SampleCase{"inkcut-test.hpgl", ""},
                      SampleCase{"viaconstructor-test.hpgl", "C... - Befehl ist noch nicht implementiert!"},
                      SampleCase{"vk2bea-Cassini.hpgl", ""},
                      SampleCase{"vk2bea-HP8595E-FM.hpgl", "Der Befehl 'IN' fehlt in der Plot-Datei!"},
                      // No IN command: "IN" is found in the label " Input Peak", and "TP" follows.
                      SampleCase{"vk2bea-R+S-analyzer.hpgl", "T... - Befehl ist noch nicht implementiert!"},
                      SampleCase{"vk2bea-space-shuttle.hpgl", ""}));

struct CountCase {
  const char* file;
  std::size_t elements;
  double xMin;
  double yMin;
  double xMax;
  double yMax;
  friend std::ostream& operator<<(std::ostream& os, const CountCase& c) { return os << c.file; }
};

class HpglSampleCounts : public SampleFolder, public ::testing::WithParamInterface<CountCase> {};

TEST_P(HpglSampleCounts, MatchTheCountsWorkedOutFromTheFile) {
  const CountCase& c = GetParam();
  const std::filesystem::path path = kSamples / c.file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "sample missing: " << path;
  formats::THPGLDataModule plot;
  plot.HPGL_Parser(path);
  EXPECT_EQ(plot.elements().size(), c.elements);
  EXPECT_NEAR(plot.Ansicht.xMin, c.xMin, 1e-9);
  EXPECT_NEAR(plot.Ansicht.yMin, c.yMin, 1e-9);
  EXPECT_NEAR(plot.Ansicht.xMax, c.xMax, 1e-9);
  EXPECT_NEAR(plot.Ansicht.yMax, c.yMax, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Files, HpglSampleCounts,
                         ::testing::Values(
                             // IN; SP1; SC 0..2247 x 0..1800 onto P1 (3500, 300) and P2 moved along to (3600, 400);
                             // 227 PU (one without a pair) and 4255 PD of one pair each: 1 + 1 + 227 + 226 + 2 x 4255
                             // + 1 elements. The largest pair (1369 | 1741) gives plotter units 3560 | 396.
                             CountCase{"vk2bea-space-shuttle.hpgl", 8966, 0.0, 0.0, 89.0, 9.9},
                             // 54 IN (the first read, the others passed over), 27 SP, 324 PU and 10179 PD of one pair
                             // each: 1 + 27 + 2 x 324 + 2 x 10179 + 1. Pairs reach 1991 | 5378, unscaled.
                             CountCase{"inkcut-test.hpgl", 21035, 0.0, 0.0, 49.775, 134.45},
                             // 1489 PU (2 without a pair), 2 SP, 1487 PD with 3239 pairs in all: 1 + 1489 + 1487 + 2 +
                             // 1487 + 3239 + 1. Pairs span 1085..15281 | -430..10900.
                             CountCase{"vk2bea-Cassini.hpgl", 7706, 0.0, -10.75, 382.025, 272.5},
                             // SC 0..500 onto the default 0..100: every user unit is 0.2 plotter units. 1 (IN) + 2
                             // (PU) + 1 (PD) + 1 (PR) + 9 (AA, 90 degrees in 10) + 1 (PR) + 18 (AA, 180 in 10, its
                             // chord 20 held at 10) + 1 (PA) + 9 (AA, -90) + 2 (PU) + 3 x 40 (CI: travel, down, 36
                             // points, up, back) + 1. The arc round (200, 300) of radius 200 tops out at 500 user units
                             // (100 plotter units), and x reaches 400 (80).
                             CountCase{"hp2xx-arcs.hp", 166, 0.0, 0.0, 2.0, 2.5}));

}  // namespace
