// The main window's answer to termination signals: stop the job, make the machine safe, close.
#include <exception>

#include "MainForm.h"
#include "machine/TraceLog.h"

namespace app {

namespace {

// Exit status of a program ended by a signal.
constexpr int kSignalStatusBase = 128;

}  // namespace

void TMainForm::OnTerminationSignal(int signal) {
  machine::Protokoll_schreiben("OnTerminationSignal(" + std::to_string(signal) + ")");
  if (terminationSignal_ != 0) {
    // The second signal: the user (or the system) insists. Make the machine safe and go. A job
    // being recorded switches nothing on, and would record the outputs-off commands.
    if (!FlashDlg.busy()) outputsOff();
    if (view_ != nullptr) view_->endProgram(kSignalStatusBase + signal);
    return;
  }
  terminationSignal_ = signal;
  if (maschineArbeitet()) {
    // The worker ends through its stop path; the close follows when it has ended, so that
    // nothing else is sent to the controller meanwhile and the link stays open for it.
    arbeitAnhalten();
    return;
  }
  closeAfterSignal();
}

bool TMainForm::maschineArbeitet() const {
  return laeuft_ || messungLaeuft_ || FlashDlg.busy() || ReferenzfahrtForm.referenzfahrtLaeuft() ||
         ManuelleFahrtForm.faehrt();
}

void TMainForm::arbeitAnhalten() {
  if (FlashDlg.busy()) {
    // A halt from here would reach the controller in store mode. The stop request ends the
    // recording at its next move; its failure path ends the recording (ETX) and store mode, and
    // then halts the axes and switches the outputs off.
    services_.params.bAbbruch = true;
    return;
  }
  stopRun();
}

void TMainForm::nachArbeitsende() {
  if (terminationSignal_ != 0 && !maschineArbeitet()) closeAfterSignal();
}

void TMainForm::closeAfterSignal() {
  if (signalSchliessen_) return;
  signalSchliessen_ = true;
  outputsOff();
  if (view_ != nullptr) view_->closeWindow();
}

void TMainForm::outputsOff() {
  if (!bSteuerungVerbunden) return;
  machine::Maschinenparameter p = services_.params.snapshot();
  machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
  try {
    steuerung.allOutputsOff();
  } catch (int code) {
    machine::Protokoll_schreiben("outputsOff(): Fehlercode " + std::to_string(code));
  } catch (const std::exception& e) {
    machine::Protokoll_schreiben(std::string("outputsOff(): ") + e.what());
  }
}

}  // namespace app
