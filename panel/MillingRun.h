// The whole job: the stored positions in the trace log, the controller's parameters, the steps
// before machining, the document milled by its kind, and the step after machining; and the run
// as the run worker performs it, with the stop and failure paths.
//
// Thread context: the run worker (or the GUI thread while a job is recorded into the program
// memory), on a snapshot of the main window taken when the run was posted. Nothing here touches
// a widget: progress, redraws and the question after a stop go through the context's hooks,
// which the application routes to the GUI thread. Blocks while the machine moves; failure codes
// pass through cncFraesen (2000 when the user stopped).
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "machine/CommandLayer.h"
#include "machine/SharedParameters.h"
#include "panel/DocumentKind.h"
#include "panel/MainFormState.h"
#include "panel/Motion.h"
#include "panel/ObjectTypeTable.h"
#include "platform/Canvas.h"
#include "platform/UiServices.h"

namespace panel {

struct RunContext {
  TMainFormState& form;  // the run's snapshot
  const ObjectTypeTable& objectTypes;
  machine::CommandLayer& steuerung;
  MotionPrimitives& motion;
  bool bHerstellermodus = false;
  // A controller is connected; in a simulation TOOL rows send their speeds only then.
  bool bSteuerungVerbunden = false;

  // Shows the progress bar's state (routed to the GUI thread). May be empty.
  std::function<void(const ProgressBarState&)> showProgress{};
  // Copies the drawing bitmap to the screen after each object (routed to the GUI thread).
  std::function<void()> copyToScreen{};
  // Asks the user; from a worker it waits for the answer. Empty: every question answers No. The
  // last argument is the button Return presses (UiServices::messageBox).
  std::function<platform::MsgResult(const std::string& text, const std::string& caption, platform::MsgButtons,
                                    platform::MsgIcon, std::optional<platform::MsgResult> defaultButton)>
      ask{};
  // Redraws the open document (removes the drawn cut).
  std::function<void()> redraw{};
  // The double beep for an object that cannot be milled.
  std::function<void()> FehlerSignal{};
  // Measures the tool length before machining.
  std::function<void()> Werkzeuglaenge_messen{};
  // Runs an opened foreign file through its format module; for a plot with the pen heights.
  std::function<void(DocumentKind kind, double penUp, double penDown)> formatRun{};
  // The drawing bitmap, on which embedded plots draw their steps as they are cut. May be null.
  platform::Canvas* canvas = nullptr;
};

// What a run works on, taken when the run is posted: copies of the main window's state and of
// the machine parameters, so that nothing the GUI thread does during the run changes them.
struct RunSnapshot {
  TMainFormState form;
  machine::Maschinenparameter params;
};

// Takes the snapshot on the GUI thread. It also clears a stop request left over from before (an
// Escape pressed while nothing ran), which would otherwise end the new run at its first move.
RunSnapshot takeRunSnapshot(const TMainFormState& form, machine::MachineParameterStore& store);

// The whole job; throws the failure code that ends it.
void cncFraesen(RunContext& context);
void cncVorBearbeitung(RunContext& context);
// The step after machining; `abgebrochen` after a run the user stopped (then it asks first).
void cncNachBearbeitung(RunContext& context, bool abgebrochen);

// The run as the worker performs it: cncFraesen, the stop path (2000: cncNachBearbeitung with
// the question, every output switched off first), and for any other code the axes halted and
// every output switched off, each failure ignored. Returns 0, or the failure code for the caller
// to report. A fault that is no failure code takes the failure path too and is then rethrown.
int fraesenAusfuehren(RunContext& context);

// The text of the question after a stopped run, for the chosen step after machining.
std::string abbruchFrage(int nachBearbeitung);

}  // namespace panel
