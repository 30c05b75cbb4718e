// Fixture of the main window's model: a temporary folder as the executable's folder, scripted
// user-interface services, a dispatcher drained by the test thread (which plays the GUI
// thread), a manual clock, a locking canvas, the "PUNKT" test type and a controller that is
// attached or not. The parameter store is the fixture's own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControllerDouble.h"
#include "LockedCanvas.h"
#include "ProgramFolder.h"
#include "TestPointType.h"
#include "app/MainForm.h"
#include "machine/SharedParameters.h"
#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/ManualClock.h"
#include "support/QueueDispatcher.h"
#include "support/ScriptedUi.h"

namespace apptest {

// Records what the window would show: the progress position and the lock at each change.
class RecordingView final : public app::TMainFormView {
 public:
  explicit RecordingView(const app::TMainForm& form) : form_(form) {}
  void showState() override {
    progress.push_back(form_.FortschrittsanzeigeProgressBar.Position);
    if (form_.AnhaltenBitBtn.Visible) {
      lockedStates.push_back(!form_.FraesenStartenBitBtn.Visible && !form_.SimulationslaufCheckBox.Enabled &&
                             !form_.MenuEinstellungen.Enabled && !form_.vorBearbeitungGroupBox.Enabled);
    }
  }
  void PaintBoxOnPaint() override { ++repaints; }

  std::vector<int> progress;
  std::vector<bool> lockedStates;  // one entry per change shown while the stop button was visible
  int repaints = 0;

 private:
  const app::TMainForm& form_;
};

class MainFormTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    TestPointType::reset();
  }

  void TearDown() override {
    form_.reset();
    TestPointType::reset();
    ProgramFolderTest::TearDown();
  }

  app::TMainForm& form() { return *form_; }

  // The window as the program creates it, before it is shown.
  void create(const std::vector<std::string>& args = {"veltris"}) {
    form_ = std::make_unique<app::TMainForm>(app::MainFormServices{ui_, gui_, canvas_, clock_, factory_, params_,
                                                                   types_, folder() / "veltris", fallback_, writable_});
    view_ = std::make_unique<RecordingView>(*form_);
    form_->setView(view_.get());
    form_->OnCreate(args);
    form_->NeuesDokument();
  }

  // Created, shown and initialised.
  void start(const std::vector<std::string>& args = {"veltris"}) {
    create(args);
    form_->OnActivate();
    form_->InitTimerTimer();
  }

  // Serves the worker's requests until the run has ended.
  bool waitForRunEnd() {
    return gui_.drainUntil([this] { return !form_->laeuft(); });
  }

  void runSimulation() {
    form_->SimulationslaufCheckBox.Checked = true;
    form_->SimulationslaufCheckBoxOnClick();
    form_->FraesenStartenBitBtnClick();
    ASSERT_TRUE(waitForRunEnd());
  }

  static std::vector<std::string> trace() { return platform::readTextLines(machine::Protokolldatei()).lines; }

  static long traceCount(const std::string& line) {
    const auto lines = trace();
    return std::count(lines.begin(), lines.end(), line);
  }

  testsupport::ScriptedUi ui_;
  testsupport::QueueDispatcher gui_;
  testsupport::ManualClock clock_;
  LockedCanvas canvas_;
  ControllerFactory factory_;
  machine::MachineParameterStore params_;
  panel::ObjectTypeTable types_ = TestPointType::table();
  std::filesystem::path fallback_;
  std::function<bool(const std::filesystem::path&)> writable_ = [](const std::filesystem::path&) { return true; };
  std::unique_ptr<RecordingView> view_;
  std::unique_ptr<app::TMainForm> form_;
};

}  // namespace apptest
