// Test fixture: the real Beryl and Kyro drivers on COM9, which resolves to a simulated module's
// pseudo-terminal, with scripted UI services, a queue dispatcher played by the test thread and
// the real clock (the one-second silence is real time).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "SyncSim.h"
#include "machine/sync/TBeryl.h"
#include "machine/sync/TKyro.h"
#include "support/QueueDispatcher.h"
#include "support/ScriptedUi.h"
#include "support/TempFolder.h"

namespace machinetest {

inline constexpr const char* kSyncPort = "COM9";
inline constexpr const char* kBerylKennung = "Korund-Beryl V2.4";
inline constexpr const char* kKyroKennung = "Vorudoz V1.1";

inline std::string cr(const std::string& text) { return text + '\r'; }
inline std::string exec(const std::string& text) { return text + '\x01'; }

class SyncRig : public ::testing::Test {
 protected:
  // The simulated unit answers with `kennung` to "@V".
  void attach(const std::string& kennung) {
    sim = std::make_unique<peers::SyncSim>(kennung);
    ::setenv("VELTRIS_COM9", sim->devicePath().c_str(), 1);
  }
  // A Beryl (or Kyro) driver connected to a simulated unit of its own kind.
  machine::TBeryl& beryl() {
    attach(kBerylKennung);
    berylDriver = std::make_unique<machine::TBeryl>(ui, gui, platform::systemClock());
    EXPECT_TRUE(berylDriver->Verbinden(kSyncPort));
    return *berylDriver;
  }
  machine::TKyro& kyro() {
    attach(kKyroKennung);
    kyroDriver = std::make_unique<machine::TKyro>(ui, gui, platform::systemClock());
    EXPECT_TRUE(kyroDriver->Verbinden(kSyncPort));
    return *kyroDriver;
  }

  testsupport::ProgramFolder folder;
  testsupport::ScriptedUi ui;
  testsupport::QueueDispatcher gui;
  std::unique_ptr<peers::SyncSim> sim;
  std::unique_ptr<machine::TBeryl> berylDriver;
  std::unique_ptr<machine::TKyro> kyroDriver;
};

}  // namespace machinetest
