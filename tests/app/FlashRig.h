// Test fixture: the program-memory dialog and the tool-length measurement against the simulated
// controller. The real command layer, connected through the real back-end factory as controller
// type 5, drives the simulator; the test thread plays the GUI thread.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "ZelkoRig.h"
#include "app/FlashDialog.h"
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

class FlashRig : public ZelkoRig, public app::FlashSteuerung {
 protected:
  FlashRig() {
    // 400 steps per mm on every axis.
    machine::Parameter_Vorbelegen(params);
    params.Modul = 5;
    params.ComPort = kSimPort;
    params.Baudrate = 115200;
    sim.setMoveDuration(1ms);
  }

  ~FlashRig() override {
    joinWorkers([this] {
      if (backends.zelkoCOM) backends.zelkoCOM->UnInit();
    });
  }

  void SetUp() override {
    EXPECT_EQ(layer.Steuerung_erzeugen(factory), "Cobalt-Kyro");
    layer.Schnittstelle_anzeigen();
    ASSERT_TRUE(layer.Steuerung_verbinden(params.Schnittstellentext));
  }

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

  testsupport::QueueDispatcher gui;
  machine::DefaultBackendFactory factory{ui, gui, clock};
  machine::Maschinenparameter params;
  machine::ControllerBackends backends;
  std::atomic<bool> bAbbruch{false};
  std::atomic<int> pause{0};
  std::atomic<bool> recording{false};
  machine::CommandLayer layer{params, backends, bAbbruch};
  panel::TMainFormState form;
  testsupport::RecordingCanvas canvas;
  panel::CncMotion motion{form, panel::MotionEnvironment{layer, bAbbruch, pause, recording, canvas, clock}};

  std::function<void()> job;
  std::string dokumentpfad;
  int vorbereitet = 0;
};

}  // namespace apptest
