// The tool-length measurement against the simulated controller with a probe on input 5: the
// sequence of homing, approach, probing and retract, the stored difference, the bound of the
// probing travel, the stop, and the dialog's memo and buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "FlashRig.h"
#include "app/dialogs/ToolLengthDialog.h"
#include "machine/FailureCodes.h"

namespace apptest {
namespace {

class ToolLengthTest : public FlashRig {
 protected:
  ToolLengthTest() {
    params.xWZLMessposition = 10.0;
    params.yWZLMessposition = 5.0;
    params.zWZLMessposition = 10.0;
    form.OnCreate();
  }

  void SetUp() override {
    FlashRig::SetUp();
    umgebung.zelkoCOM = backends.zelkoCOM.get();
  }

  // The commands from the first homing run of the measurement on.
  std::vector<std::string> sequence() const {
    const auto commands = sim.commands();
    const auto first = std::find(commands.begin(), commands.end(), "$Hz");
    return {first, commands.end()};
  }

  app::WzlUmgebung umgebung{layer, backends.zelkoCOM.get(), clock, false, {}};
  app::TWZLMessungForm form{
      gui,
      {.messungStarten = [this] { return ++gestartet > 0; },
       .Achsen_anhalten = [this] { layer.Achsen_anhalten(); },
       .Steuerungsfehler_melden = [this](int code) { layer.Steuerungsfehler_melden(ui, code, "Tessaly"); }}};
  int gestartet = 0;
};

TEST_F(ToolLengthTest, TheProbeReleasePositionGivesTheStoredDifference) {
  // The probe switches once the tool is 25 steps below the measuring height (400 steps per mm).
  sim.setProbe('5', 4000 + 25);
  form.OnActivate(params);
  EXPECT_EQ(form.Memo, (std::vector<std::string>{"xWZLMessposition = 10.00", "yWZLMessposition = 5.00",
                                                 "zWZLMessposition = 10.00", ""}));
  form.WZLMessungAusfuehren(umgebung);
  gui.drain();

  // Three steps of 10 reach 4030; single steps back release the probe at 4024.
  EXPECT_DOUBLE_EQ(params.zWZLdelta, 10.0 - 4024 / 400.0);
  EXPECT_DOUBLE_EQ(form.zWZLneu, 4024 / 400.0);
  EXPECT_EQ(form.Memo,
            (std::vector<std::string>{"xWZLMessposition = 10.00", "yWZLMessposition = 5.00", "zWZLMessposition = 10.00",
                                      "", "         zWZLneu = 10.06", "", "       zWZLdelta = -0.06"}));
  std::vector<std::string> expected{"$Hz", "$Hx", "$Hy", "AL,0", "L2,X4000", "L2,Y2000", "L2,Z4000"};
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {"L1,z10", "@I5", "@Lz"});
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {"L1,z-1", "@I5", "@Lz"});
  expected.insert(expected.end(), {"AL,1", "L2,z-2000"});
  EXPECT_EQ(sequence(), expected);
  EXPECT_EQ(sim.positions()[2], 4024 - 2000);
  // The retract waits a quarter of a second first.
  const auto sleeps = clock.sleeps();
  EXPECT_NE(std::find(sleeps.begin(), sleeps.end(), 250000), sleeps.end());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
  EXPECT_FALSE(form.AbbrechenBitBtn.Visible);
  EXPECT_TRUE(form.SchliessenBitBtn.Visible);
}

TEST_F(ToolLengthTest, AProbeAlreadyClosedAfterTheFirstApproachStepGoesStraightToTheRelease) {
  sim.setProbe('5', 4000 + 5);
  EXPECT_DOUBLE_EQ(app::Werkzeuglaenge_messen(umgebung), 4004 / 400.0);
  const auto commands = sequence();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "L1,z10"), 1);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "L1,z-1"), 6);
}

TEST_F(ToolLengthTest, AProbeThatNeverSwitchesEndsAtTheTravelLimit) {
  // 0.4 steps per mm on z: the 50 mm of probing travel are 20 steps, two approach steps.
  params.zUebersetz = 2.5;
  params.zMotStep = 1;
  form.OnActivate(params);
  form.WZLMessungAusfuehren(umgebung);
  gui.drain();
  const auto commands = sequence();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "L1,z10"), 2);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "AL,1"), 0);
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, machine::Fehlertext_Steuerung(machine::PROBE_TRAVEL_LIMIT));
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
  EXPECT_FALSE(form.AbbrechenBitBtn.Visible);
}

TEST_F(ToolLengthTest, TheAbortButtonStopsTheSequenceWithoutABox) {
  sim.setMoveDuration(60s);
  auto done = onWorker([this] { form.WZLMessungAusfuehren(umgebung); });
  ASSERT_TRUE(sim.waitForCommand("$Hz", kPatience));
  ASSERT_TRUE(gui.drainUntil([&] { return form.AbbrechenBitBtn.Visible; }));
  EXPECT_FALSE(form.OnCloseQuery());
  form.AbbrechenBitBtnClick();
  ASSERT_TRUE(gui.drainUntil([&] { return done.wait_for(0s) == std::future_status::ready; }));
  EXPECT_EQ(done.get(), std::nullopt);
  gui.drain();
  const auto commands = sim.commands();
  EXPECT_EQ(std::find(commands.begin(), commands.end(), "$Hx"), commands.end());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
  EXPECT_TRUE(form.OnCloseQuery());
}

TEST_F(ToolLengthTest, OtherControllerTypesOnlyClearTheDifference) {
  params.Modul = 1;
  params.zWZLdelta = 3.5;
  const auto commandsBefore = sim.commands().size();
  EXPECT_EQ(app::Werkzeuglaenge_messen(umgebung), 0.0);
  EXPECT_EQ(params.zWZLdelta, 0.0);
  EXPECT_EQ(sim.commands().size(), commandsBefore);
}

TEST_F(ToolLengthTest, TheStartButtonPostsTheMeasurementOnlyWhileEnabled) {
  form.OnActivate(params);
  form.StartenBitBtnClick();
  EXPECT_EQ(gestartet, 1);
  form.SchaltflaechenSetzen(false, true, false);
  form.StartenBitBtnClick();
  EXPECT_EQ(gestartet, 1);
}

}  // namespace
}  // namespace apptest
