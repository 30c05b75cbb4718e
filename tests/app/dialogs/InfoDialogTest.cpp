// The about dialog's picture and its timer, and the data grids of the format modules' lists.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "app/DataGrids.h"
#include "app/dialogs/InfoDialog.h"
#include "support/RecordingCanvas.h"

namespace {

using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

constexpr platform::Colour kButtonFace = 0xF0F0F0;

TEST(InfoDialog, PaintsTheCardWithItsMarksAndThreeCentredLines) {
  app::TInfoDlg dlg;
  RecordingCanvas bitmap({app::TInfoDlg::kBreite, app::TInfoDlg::kHoehe});
  platform::Font font = bitmap.font();
  font.size = 9;
  bitmap.setFont(font);
  dlg.OnActivate(bitmap, kButtonFace);

  const auto fills = bitmap.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].args, (std::vector<int>{0, 0, 342, 455}));
  EXPECT_EQ(fills[0].brush.colour, kButtonFace);
  const auto frames = bitmap.opsOf(CanvasOp::Kind::Rectangle);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].args, (std::vector<int>{3, 3, 339, 452}));

  const auto marks = bitmap.opsOf(CanvasOp::Kind::RoundRect);
  ASSERT_EQ(marks.size(), 4u);
  const std::vector<std::vector<int>> expected = {
      {30, 10, 50, 20, 10, 5}, {292, 10, 312, 20, 10, 5}, {30, 435, 50, 445, 10, 5}, {292, 435, 312, 445, 10, 5}};
  for (std::size_t i = 0; i < marks.size(); ++i) {
    EXPECT_EQ(marks[i].args, expected[i]);
    EXPECT_EQ(marks[i].brush.colour, 0xFFFFFFu);
    EXPECT_EQ(marks[i].pen.colour, 0x000000u);
  }

  const auto texts = bitmap.opsOf(CanvasOp::Kind::TextOut);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "Tessaly");
  EXPECT_EQ(texts[1].text.rfind("Version ", 0), 0u);
  EXPECT_EQ(texts[2].text, "22.01.13");
  for (const CanvasOp& t : texts) {
    // Centred: the left edge is half the width less half the text's width.
    const int width = static_cast<int>(t.text.size()) * (t.font.size * 3 / 4);
    EXPECT_EQ(t.args[0], 342 / 2 - width / 2) << t.text;
  }
  EXPECT_LT(texts[0].args[1], texts[1].args[1]);
  EXPECT_LT(texts[1].args[1], texts[2].args[1]);
  // The canvas keeps its own font for whoever draws next.
  EXPECT_EQ(bitmap.font().size, 9);
}

TEST(InfoDialog, ClosesOnTheTimerAfterEachShowing) {
  app::TInfoDlg dlg;
  RecordingCanvas bitmap({app::TInfoDlg::kBreite, app::TInfoDlg::kHoehe});
  for (int showing = 0; showing < 2; ++showing) {
    dlg.OnActivate(bitmap, kButtonFace);
    EXPECT_TRUE(dlg.TimerEnabled);
    EXPECT_EQ(dlg.TimerInterval, 2000);
    EXPECT_FALSE(dlg.Geschlossen);
    dlg.TimerOnTimer();
    EXPECT_FALSE(dlg.TimerEnabled);
    EXPECT_TRUE(dlg.Geschlossen);
  }
}

struct HpglElement {
  std::string Befehl;
  int Stift;
  double x, y;
};
struct DinElement {
  std::string Befehl, Argument;
  double x, y, z;
};
struct DxfElement {
  std::string Befehl;
  double x, y, z;
};

TEST(DataGrids, ElementKStandsInRowKWithRowZeroEmpty) {
  panel::StringGrid hpgl(app::kHPGLSpalten, 1);
  const std::list<HpglElement> plot = {{"PU", 1, 0, 0}, {"PD", 1, 10.5, 0}, {"PD", 2, 10.5, -2.25}};
  app::HPGLDatenEintragen(hpgl, plot);
  ASSERT_EQ(hpgl.RowCount(), 4);
  EXPECT_EQ(hpgl.Cells(0, 0), "");
  EXPECT_EQ(hpgl.Cells(0, 1), "PU");
  EXPECT_EQ(hpgl.Cells(2, 2), "10.5");
  EXPECT_EQ(hpgl.Cells(1, 3), "2");
  EXPECT_EQ(hpgl.Cells(3, 3), "-2.25");

  panel::StringGrid din(app::kDINISOSpalten, 1);
  app::DINISODatenEintragen(din, std::vector<DinElement>{{"G01", "F300", 1, 2, 0.5}});
  ASSERT_EQ(din.RowCount(), 2);
  EXPECT_EQ(din.Cells(1, 1), "F300");
  EXPECT_EQ(din.Cells(4, 1), "0.5");

  panel::StringGrid dxf(app::kDXFSpalten, 1);
  app::DXFDatenEintragen(dxf, std::vector<DxfElement>{{"LINE", 3, 4, 7}});
  EXPECT_EQ(dxf.Cells(0, 1), "LINE");
  EXPECT_EQ(dxf.Cells(1, 1), "");
  EXPECT_EQ(dxf.Cells(3, 1), "4");
  EXPECT_EQ(dxf.Cells(4, 1), "");
}

TEST(DataGrids, AnEmptyListLeavesTheGridAsItWas) {
  panel::StringGrid hpgl(app::kHPGLSpalten, 1);
  app::HPGLDatenEintragen(hpgl, std::vector<HpglElement>{{"PU", 1, 1, 1}, {"PD", 1, 2, 2}});
  app::HPGLDatenEintragen(hpgl, std::vector<HpglElement>{});
  ASSERT_EQ(hpgl.RowCount(), 3);
  EXPECT_EQ(hpgl.Cells(0, 2), "PD");
}

TEST(DataGrids, AHugeListShowsItsFirstElementsOnly) {
  panel::StringGrid dxf(app::kDXFSpalten, 1);
  const std::vector<DxfElement> many(app::kMaxDatenZeilen + 5, DxfElement{"LINE", 1, 1, 0});
  app::DXFDatenEintragen(dxf, many);
  EXPECT_EQ(dxf.RowCount(), static_cast<int>(app::kMaxDatenZeilen) + 1);
}

}  // namespace
