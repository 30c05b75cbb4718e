// The homing dialog with its worker: initialisation when shown, the homing order, the buttons
// while it runs, the cancel that ends the whole sequence, the close rules and the stored axis
// choice, and the limit inputs shown by the labels.
#include <new>

#include "MachineDialogRig.h"
#include "RecordingBackends.h"
#include "machine/dialogs/HomingDialog.h"

namespace machinetest {
namespace {

class HomingDialog : public MachineDialogRig {
 protected:
  machine::TReferenzfahrtForm form{services()};
};

TEST_F(HomingDialog, ShowingInitialisesTheControllerAndStartHomesInTheOrderOfTheReferenceNumbers) {
  form.OnActivate();
  EXPECT_TRUE(form.workerLaeuft());
  EXPECT_TRUE(form.Timer.Enabled);
  EXPECT_EQ(form.Timer.Interval, 50);
  EXPECT_TRUE(form.xCheckBox.Checked && form.yCheckBox.Checked && form.zCheckBox.Checked);
  EXPECT_FALSE(form.uCheckBox.Checked);
  // The settings of InitializeSteuerung went out, the last of them the homing axes.
  EXPECT_EQ(sim->texts().front(), "#S200");
  EXPECT_EQ(sim->texts().back(), "#Dz,0,9,9,9");

  sim->clearLog();
  sim->setPositions({100, 200, 300, 0});
  form.StartenBitBtnOnClick();
  EXPECT_TRUE(form.referenzfahrtLaeuft());
  ASSERT_TRUE(until([&] { return !form.StartenBitBtn.Enabled; }));
  EXPECT_FALSE(form.Panel.Enabled);
  EXPECT_TRUE(form.AbbrechenBitBtn.Visible);
  EXPECT_FALSE(form.SchliessenBitBtn.Visible);

  ASSERT_TRUE(until([&] { return !form.referenzfahrtLaeuft(); }));
  EXPECT_EQ(sim->received(), cr("#E1,400") + exec("$Hzxy") + cr("#E1,400"));
  EXPECT_EQ((sim->positions()), (peers::SyncSim::Positions{0, 0, 0, 0}));
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
  EXPECT_TRUE(form.Panel.Enabled);
  EXPECT_FALSE(form.AbbrechenBitBtn.Visible);
  EXPECT_TRUE(form.SchliessenBitBtn.Visible);
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(HomingDialog, WithNoAxisCheckedStartOnlyLocksTheButtonsForHalfASecond) {
  form.OnActivate();
  form.xCheckBox.Checked = form.yCheckBox.Checked = form.zCheckBox.Checked = form.uCheckBox.Checked = false;
  sim->clearLog();
  form.StartenBitBtnOnClick();
  ASSERT_TRUE(until([&] { return !form.referenzfahrtLaeuft(); }));
  EXPECT_EQ(sim->received(), "");
  EXPECT_EQ(clock.sleeps().back(), 500'000);
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
}

TEST_F(HomingDialog, CancelEndsTheWholeHomingAndEscapeWhileIdleSendsNothing) {
  form.OnActivate();
  // Escape with nothing under way: no stop, no stop request left for the next move.
  form.OnKeyPress(27);
  EXPECT_EQ(sim->received().find(cr("@S")), std::string::npos);
  EXPECT_FALSE(store.bAbbruch);

  sim->setMoveDuration(30s);
  form.StartenBitBtnOnClick();
  ASSERT_TRUE(sim->waitForMotion(true, 5s));
  ASSERT_TRUE(until([&] { return form.AbbrechenBitBtn.Visible; }));
  // Closing while the machine homes is refused.
  EXPECT_FALSE(form.OnClose());
  EXPECT_TRUE(form.workerLaeuft());

  form.OnKeyPress(27);
  ASSERT_TRUE(until([&] { return !form.referenzfahrtLaeuft(); }));
  // The stop went out before the run was let go; the unit takes it in its own time.
  EXPECT_TRUE(sim->waitForCommand("@S", 5s));
  EXPECT_TRUE(sim->waitForMotion(false, 5s));
  // The working speed is back after the stopped run; nothing else was homed.
  EXPECT_EQ(sim->texts().back(), "#E1,400");
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
}

// A fault that is no failure code during the homing run stops the axes, is shown in the
// program's box, and gives the buttons back so that the dialog can be closed.
TEST_F(HomingDialog, AFaultThatIsNoFailureCodeStopsTheAxesAndIsShown) {
  form.OnActivate();
  CallLog log;
  log.onCall = [](const std::string& line) {
    if (line.rfind("Beryl Referenzfahrt_ausfuehren", 0) == 0) throw std::bad_alloc();
  };
  backends.Beryl = std::make_unique<RecordingSyncSerialBackend>("Beryl", log);
  form.StartenBitBtnOnClick();
  ASSERT_TRUE(until([&] { return !form.referenzfahrtLaeuft(); }));
  EXPECT_EQ(log.lines.back(), "Beryl Achsen_sofort_stoppen");
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::bad_alloc().what());
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_TRUE(form.StartenBitBtn.Enabled);
  EXPECT_TRUE(form.SchliessenBitBtn.Visible);
  EXPECT_TRUE(form.OnClose());
}

TEST_F(HomingDialog, ClosingStoresTheAxisChoiceAndEndsWorkerAndTimer) {
  form.OnActivate();
  form.zCheckBox.Checked = false;
  form.uCheckBox.Checked = true;
  ASSERT_TRUE(form.OnClose());
  EXPECT_FALSE(form.workerLaeuft());
  EXPECT_FALSE(form.Timer.Enabled);
  EXPECT_TRUE(fileHas("RefAktiv[2]=0"));
  EXPECT_TRUE(fileHas("RefAktiv[3]=1"));
  EXPECT_EQ(store.snapshot().RefAktiv, (std::array<std::int32_t, 4>{1, 1, 0, 1}));

  // Shown again: a new worker, the boxes from the stored choice.
  form.OnActivate();
  EXPECT_TRUE(form.workerLaeuft());
  EXPECT_FALSE(form.zCheckBox.Checked);
  EXPECT_TRUE(form.uCheckBox.Checked);
  EXPECT_TRUE(form.OnClose());
}

TEST_F(HomingDialog, TheLabelsShowTheLimitInputsOfTheParallelPortControllers) {
  struct Case {
    int modul;
    bool input;
    std::array<int, 4> farben;  // x, y, z, u
  };
  constexpr int kText = 0xFFFFFF;
  const Case cases[] = {
      {4, true, {0, 0, 0, 0}},     {4, false, {kText, kText, kText, kText}},
      {1, true, {0, 0, 0, kText}}, {0, false, {kText, kText, kText, kText}},
      {0, true, {0, 0, 0, kText}}, {2, true, {kText, kText, kText, kText}},
  };
  CallLog log;
  auto parallel = std::make_unique<RecordingParallelBackend>("TaktRicht", log);
  RecordingParallelBackend& port = *parallel;
  backends.TaktRicht = std::move(parallel);
  backends.Garnet = std::make_unique<RecordingParallelBackend>("Garnet", log);
  for (const auto& c : cases) {
    store.update([&](machine::Maschinenparameter& p) { p.Modul = c.modul; });
    port.input = c.input;
    static_cast<RecordingParallelBackend&>(*backends.Garnet).input = c.input;
    form.Schriftfarbe = kText;
    for (auto* box : {&form.xCheckBox, &form.yCheckBox, &form.zCheckBox, &form.uCheckBox}) box->Schriftfarbe = kText;
    form.TimerOnTimer();
    EXPECT_TRUE(form.Timer.Enabled);
    const std::array<int, 4> farben{form.xCheckBox.Schriftfarbe, form.yCheckBox.Schriftfarbe,
                                    form.zCheckBox.Schriftfarbe, form.uCheckBox.Schriftfarbe};
    EXPECT_EQ(farben, c.farben) << "type " << c.modul << " input " << c.input;
  }
}

}  // namespace
}  // namespace machinetest
