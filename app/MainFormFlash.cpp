// The main window's side of the program memory and of the tool-length measurement: the menu
// commands, the job recorded into the controller, and the measurement on the run worker.
#include "MainFormLauf.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "machine/TraceLog.h"

namespace app {

machine::ProtocolBackend& TMainForm::FlashAnbindung::zelkoCOM() {
  if (!form_.backends_.zelkoCOM) throw machine::HANDLE_COM_PORT_ERROR;
  return *form_.backends_.zelkoCOM;
}

void TMainForm::FlashAnbindung::Programmdurchlaeufe_hinterlegen(int count) {
  machine::Maschinenparameter p = form_.services_.params.snapshot();
  machine::CommandLayer(p, form_.backends_, form_.services_.params.bAbbruch).Programmdurchlaeufe_hinterlegen(count);
}

void TMainForm::FlashAnbindung::AuftragVorbereiten() {
  PendingRun run = form_.auftragNehmen();
  // A recorded job is never a simulation: that would store an empty program and report success.
  run.snapshot.form.SimulationslaufCheckBox.Checked = false;
  std::lock_guard lock(form_.pendingMutex_);
  form_.pendingFlash_ = std::move(run);
}

void TMainForm::FlashAnbindung::cncFraesen() {
  std::optional<PendingRun> run;
  {
    std::lock_guard lock(form_.pendingMutex_);
    run.swap(form_.pendingFlash_);
  }
  if (!run) return;
  Lauf lauf(form_, *run);
  // As after a normal run, the document keeps the copy counts the walk set (both 1 with multi-up
  // production off), also when the recording failed part way.
  const auto nutzenUebernehmen = [this, &run] {
    const panel::TNutzenfertigung nutzen = run->snapshot.form.Nutzenfertigung;
    form_.toGui([&form = form_, nutzen] {
      form.Nutzenfertigung.xNFAnzahl = nutzen.xNFAnzahl;
      form.Nutzenfertigung.yNFAnzahl = nutzen.yNFAnzahl;
    });
  };
  try {
    panel::cncFraesen(lauf.context);
  } catch (...) {
    nutzenUebernehmen();
    throw;
  }
  nutzenUebernehmen();
}

void TMainForm::FlashAnbindung::Steuerungsfehler_melden(int code) {
  machine::Maschinenparameter p = form_.services_.params.snapshot();
  machine::CommandLayer(p, form_.backends_, form_.services_.params.bAbbruch)
      .Steuerungsfehler_melden(form_.services_.ui, code, kProgrammname);
}

std::string TMainForm::FlashAnbindung::Dokumentpfad() {
  return form_.bDokumentBenannt ? form_.Dokumentpfad : std::string();
}

std::function<void()> TMainForm::werkzeuglaengeMessung(machine::CommandLayer& steuerung, bool herstellermodus) {
  return [this, &steuerung, herstellermodus] {
    WzlUmgebung umgebung{steuerung, backends_.zelkoCOM.get(), services_.clock, herstellermodus, {}};
    Werkzeuglaenge_messen(umgebung);
  };
}

void TMainForm::WerkzeuglaengeMessen() {
  std::optional<PendingMessung> messung;
  {
    std::lock_guard lock(pendingMutex_);
    messung.swap(pendingMessung_);
  }
  if (messung) {
    machine::CommandLayer steuerung(messung->params, backends_, services_.params.bAbbruch);
    WzlUmgebung umgebung{steuerung, backends_.zelkoCOM.get(), services_.clock, messung->herstellermodus, {}};
    WZLMessungForm.WZLMessungAusfuehren(umgebung);
    // The difference goes into the process's parameters; the menu command saves them once the
    // dialog has closed.
    const double delta = messung->params.zWZLdelta;
    services_.params.update([delta](machine::Maschinenparameter& p) { p.zWZLdelta = delta; });
  }
  toGui([this] {
    messungLaeuft_ = false;
    nachArbeitsende();
  });
}

bool TMainForm::WerkzeuglaengeMessungStarten() {
  {
    std::lock_guard lock(pendingMutex_);
    // A stop request left over from before would end the measurement at its first move.
    services_.params.bAbbruch = false;
    pendingMessung_ = PendingMessung{services_.params.snapshot(), bHerstellermodus};
  }
  if (FraesThread.post(TTVXThread::kWerkzeuglaengeMessen)) {
    messungLaeuft_ = true;
    return true;
  }
  std::lock_guard lock(pendingMutex_);
  pendingMessung_.reset();
  return false;
}

}  // namespace app
