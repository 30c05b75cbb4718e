// Fixture of the tests that drive jobs through the command layer and the motion primitives on a
// type 5 controller linked to the simulated controller.
#pragma once

#include <atomic>

#include "ZelkoRig.h"
#include "machine/CommandLayer.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/MainFormState.h"
#include "support/QueueDispatcher.h"
#include "support/RecordingCanvas.h"

namespace machinetest {

class ZelkoJobRig : public ZelkoRig {
 protected:
  // 400 steps per mm on every axis; moves take a millisecond.
  ZelkoJobRig() {
    machine::Parameter_Vorbelegen(params);
    params.Modul = 5;
    params.ComPort = kSimPort;
    params.Baudrate = 115200;
    sim.setMoveDuration(1ms);
  }

  ~ZelkoJobRig() override {
    joinWorkers([this] {
      if (backends.zelkoCOM) backends.zelkoCOM->UnInit();
    });
  }

  // Creates the controller's backend and connects it, as the program start does.
  void connectLayer() {
    EXPECT_EQ(layer.Steuerung_erzeugen(factory), "Cobalt-Kyro");
    layer.Schnittstelle_anzeigen();
    ASSERT_TRUE(layer.Steuerung_verbinden(params.Schnittstellentext));
  }

  testsupport::QueueDispatcher gui;
  machine::DefaultBackendFactory factory{ui, gui, clock};
  machine::Maschinenparameter params;
  machine::ControllerBackends backends;
  std::atomic<bool> bAbbruch{false};
  std::atomic<int> pause{0};
  std::atomic<bool> recording{false};
  panel::TMainFormState form;
  testsupport::RecordingCanvas canvas;
  machine::CommandLayer layer{params, backends, bAbbruch};
  panel::CncMotion motion{form, panel::MotionEnvironment{layer, bAbbruch, pause, recording, canvas, clock}};
};

}  // namespace machinetest
