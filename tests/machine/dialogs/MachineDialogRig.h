// Test fixture for the machine dialogs: a parameter store on defaults with its file in a
// temporary program folder, the real Beryl driver connected to a simulated module (controller
// type 2), scripted UI services, a queue dispatcher played by the test thread and a manual clock.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "SyncRig.h"
#include "machine/CommandLayer.h"
#include "machine/MachineParameters.h"
#include "machine/SharedParameters.h"
#include "machine/dialogs/MachineDialogServices.h"
#include "platform/TextFile.h"
#include "support/ManualClock.h"
#include "support/TempFolder.h"

namespace machinetest {

using namespace std::chrono_literals;

class MachineDialogRig : public ::testing::Test {
 protected:
  MachineDialogRig() {
    machine::Maschinenparameter p;
    machine::Parameter_Vorbelegen(p);
    p.Modul = 2;
    p.ComPort = 9;
    p.Baudrate = 19200;
    p.Parameterdatei = (folder / "veltris_param.dat").string();
    store.assign(p);
    sim = std::make_unique<peers::SyncSim>(kBerylKennung, 20ms);
    ::setenv("VELTRIS_COM9", sim->devicePath().c_str(), 1);
    auto beryl = std::make_unique<machine::TBeryl>(ui, gui, clock);
    EXPECT_TRUE(beryl->Verbinden(kSyncPort));
    backends.Beryl = std::move(beryl);
  }

  // Runs the GUI thread's queue until `done` holds.
  bool until(const std::function<bool()>& done) { return gui.drainUntil(done, 10s); }

  // The parameter file as written, or empty.
  std::string parameterFile() const {
    std::string bytes;
    platform::readFileBytes(store.snapshot().Parameterdatei, bytes);
    return bytes;
  }
  bool fileHas(const std::string& line) const { return parameterFile().find(line + "\r\n") != std::string::npos; }

  machine::MachineDialogServices services() { return {ui, gui, clock, store, backends}; }

  testsupport::ProgramFolder folder;
  machine::MachineParameterStore store;
  testsupport::ScriptedUi ui;
  testsupport::QueueDispatcher gui;
  testsupport::ManualClock clock;
  std::unique_ptr<peers::SyncSim> sim;
  machine::ControllerBackends backends;
};

}  // namespace machinetest
