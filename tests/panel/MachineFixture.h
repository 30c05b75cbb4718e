// Test fixture of a run on a recorded protocol controller: 400 steps per mm on every axis,
// workpiece zero (10, 20, 5) mm, safety height 2 mm, the real command layer and motion
// primitives over a recording back-end, a recording canvas and a manual clock.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "TraceLogFolder.h"
#include "machine/CommandLayer.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/MainFormState.h"
#include "support/ManualClock.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingProtocolBackend.h"

namespace paneltest {

class MachineFixture : public TraceLogFolder {
 protected:
  MachineFixture() {
    machine::Parameter_Vorbelegen(params_);
    params_.Modul = 5;
    params_.xWerkstücknullpunkt = 10.0;
    params_.yWerkstücknullpunkt = 20.0;
    params_.zWerkstücknullpunkt = 5.0;
    auto backend = std::make_unique<testsupport::RecordingProtocolBackend>();
    backend_ = backend.get();
    backends_.zelkoCOM = std::move(backend);
    form_.Abmessungen.Sicherheitsebene = 2.0;
    form_.Ansicht.x0 = 40;
    form_.Ansicht.y0 = 500;
    form_.Ansicht.dMassstab = 4.0;
  }

  // Vector moves sent to the controller, as "mode index x y z".
  std::vector<std::string> moves() const {
    std::vector<std::string> out;
    for (const auto& call : backend_->callsStartingWith("Vektorfahrt_ausfuehren "))
      out.push_back(call.substr(std::string("Vektorfahrt_ausfuehren ").size()));
    return out;
  }

  machine::Maschinenparameter params_;
  machine::ControllerBackends backends_;
  testsupport::RecordingProtocolBackend* backend_ = nullptr;
  std::atomic<bool> bAbbruch_{false};
  std::atomic<int> pause_{60};
  std::atomic<bool> recording_{false};
  panel::TMainFormState form_;
  testsupport::RecordingCanvas canvas_;
  testsupport::ManualClock clock_;
  machine::CommandLayer layer_{params_, backends_, bAbbruch_};
  panel::CncMotion motion_{form_, panel::MotionEnvironment{layer_, bAbbruch_, pause_, recording_, canvas_, clock_}};
};

}  // namespace paneltest
