// Test fixture: the program-memory dialog and the tool-length measurement against the simulated
// controller. The real command layer, connected through the real back-end factory as controller
// type 5, drives the simulator; the test thread plays the GUI thread.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "ZelkoJobRig.h"
#include "app/dialogs/FlashDialog.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/MainFormState.h"
#include "support/QueueDispatcher.h"
#include "support/RecordingCanvas.h"

namespace apptest {

using namespace machinetest;

class FlashRig : public ZelkoJobRig, public app::FlashSteuerung {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(connectLayer()); }

  // ---- app::FlashSteuerung
  machine::ProtocolBackend& zelkoCOM() override {
    if (!backends.zelkoCOM) throw machine::HANDLE_COM_PORT_ERROR;
    return *backends.zelkoCOM;
  }
  void Programmdurchlaeufe_hinterlegen(int count) override { layer.Programmdurchlaeufe_hinterlegen(count); }
  void AuftragVorbereiten() override { ++vorbereitet; }
  void cncFraesen() override {
    if (job) job();
  }
  void Steuerungsfehler_melden(int code) override { layer.Steuerungsfehler_melden(ui, code, "Tessaly"); }
  std::string Dokumentpfad() override { return dokumentpfad; }

  // Runs the GUI thread's queue until the dialog's operation has ended.
  void settle(const app::TFlashDlg& dlg) {
    ASSERT_TRUE(gui.drainUntil([&] { return !dlg.busy(); }));
  }

  std::function<void()> job;
  std::string dokumentpfad;
  int vorbereitet = 0;
};

}  // namespace apptest
