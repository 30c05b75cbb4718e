// The main window's answer to termination signals: stop the job, make the machine safe, close.
#include "MainForm.h"
#include "machine/TraceLog.h"

namespace app {

namespace {

// Outputs of spindle, coolant pump and extraction.
constexpr int kAusgaenge[] = {1, 2, 3};
// Exit status of a program ended by a signal.
constexpr int kSignalStatusBase = 128;

}  // namespace

void TMainForm::OnTerminationSignal(int signal) {
  machine::Protokoll_schreiben("OnTerminationSignal(" + std::to_string(signal) + ")");
  if (terminationSignal_ != 0) {
    // The second signal: the user (or the system) insists. Make the machine safe and go.
    outputsOff();
    if (view_ != nullptr) view_->endProgram(kSignalStatusBase + signal);
    return;
  }
  terminationSignal_ = signal;
  if (laeuft_) {
    // The job ends through its stop path; the close follows when it has ended.
    stopRun();
    return;
  }
  closeAfterSignal();
}

void TMainForm::closeAfterSignal() {
  outputsOff();
  if (view_ != nullptr) view_->closeWindow();
}

void TMainForm::outputsOff() {
  if (!bSteuerungVerbunden) return;
  machine::Maschinenparameter p = services_.params.snapshot();
  machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
  for (const int ausgang : kAusgaenge) {
    try {
      steuerung.Ausgangssignal_setzen(ausgang, 0);
      steuerung.Befehle_ausfuehren();
    } catch (int code) {
      machine::Protokoll_schreiben("outputsOff(): Ausgang " + std::to_string(ausgang) + ", Fehlercode " +
                                   std::to_string(code));
    }
  }
}

}  // namespace app
