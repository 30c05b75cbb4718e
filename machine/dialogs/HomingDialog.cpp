// The homing dialog's handlers on the GUI thread and the homing run on its worker.
#include "HomingDialog.h"

#include <exception>

#include "machine/CommandLayer.h"
#include "machine/ControllerFamily.h"
#include "machine/TraceLog.h"

namespace machine {

namespace {

constexpr int kTimerMs = 50;

}  // namespace

TReferenzfahrtForm::TReferenzfahrtForm(MachineDialogServices services) : services_(services), gui_(services.gui) {
  Meldungstitel = Caption;
}

TReferenzfahrtForm::~TReferenzfahrtForm() {
  dialogWorkerBeenden(services_, worker_, &CommandLayer::Achsen_sofort_stoppen);
}

void TReferenzfahrtForm::melden(int code) { dialogFehlerMelden(services_, code, Meldungstitel); }

void TReferenzfahrtForm::KnoepfeFreigeben(bool bedienbar, bool abbrechenSichtbar, bool schliessenSichtbar) {
  Panel.Enabled = bedienbar;
  StartenBitBtn.Enabled = bedienbar;
  AbbrechenBitBtn.Visible = abbrechenSichtbar;
  SchliessenBitBtn.Visible = schliessenSichtbar;
}

void TReferenzfahrtForm::OnActivate() {
  for (AxisCheckBox* box : {&xCheckBox, &yCheckBox, &zCheckBox, &uCheckBox}) box->Schriftfarbe = Schriftfarbe;
  const Maschinenparameter p = services_.params.snapshot();
  xCheckBox.Checked = p.RefAktiv[0] != 0;
  yCheckBox.Checked = p.RefAktiv[1] != 0;
  zCheckBox.Checked = p.RefAktiv[2] != 0;
  uCheckBox.Checked = p.RefAktiv[3] != 0;
  xCheckBox.Caption = " x-Achse";
  yCheckBox.Caption = " y-Achse";
  zCheckBox.Caption = " z-Achse";
  uCheckBox.Caption = " u-Achse";
  KnoepfeFreigeben(true, false, true);
  laeuft_ = false;

  // A new worker for this showing; one left from an earlier showing is ended first.
  worker_.reset();
  worker_ = std::make_unique<platform::CommandWorker>([this](int befehl) {
    if (befehl == kReferenzfahrt) Referenzfahrt();
  });
  worker_->start();

  Maschinenparameter init = p;
  CommandLayer steuerung(init, services_.backends, services_.params.bAbbruch);
  try {
    steuerung.U_Achse_einstellen();
    steuerung.InitializeSteuerung(bHerstellermodus);
  } catch (int code) {
    melden(code);
  }
  Timer.Interval = kTimerMs;
  Timer.Enabled = true;
}

void TReferenzfahrtForm::StartenBitBtnOnClick() {
  if (!worker_ || laeuft_) return;
  {
    std::lock_guard lock(auftragMutex_);
    const auto gewaehlt = [](const AxisCheckBox& box) { return box.Checked && box.Enabled ? 1 : 0; };
    auftrag_ = Auftrag{services_.params.snapshot(),
                       {gewaehlt(xCheckBox), gewaehlt(yCheckBox), gewaehlt(zCheckBox), gewaehlt(uCheckBox)}};
  }
  // A stop request left by an action that has ended is not meant for this run. It is dropped once
  // the worker, idle, takes the run: a post that is dropped takes no stop away from the run under
  // way.
  if (!worker_->post(kReferenzfahrt, [this] { services_.params.bAbbruch = false; })) {
    std::lock_guard lock(auftragMutex_);
    auftrag_.reset();
    return;
  }
  laeuft_ = true;
}

void TReferenzfahrtForm::Referenzfahrt() {
  std::optional<Auftrag> auftrag;
  {
    std::lock_guard lock(auftragMutex_);
    auftrag.swap(auftrag_);
  }
  if (!auftrag) return;
  gui_.post([this] { KnoepfeFreigeben(false, true, false); });

  const auto& a = auftrag->achsen;
  if (a[0] != 0 || a[1] != 0 || a[2] != 0 || a[3] != 0) {
    CommandLayer steuerung(auftrag->params, services_.backends, services_.params.bAbbruch);
    try {
      steuerung.Referenzfahrt_Reihenfolge(a[0], a[1], a[2], a[3]);
      steuerung.Warten_bis_bereit();
    } catch (int code) {
      Protokoll_schreiben("Referenzfahrt(): Fehlercode " + std::to_string(code));
      gui_.invokeAndWait([&] { melden(code); });
    } catch (...) {
      // A fault that is no failure code ends the run too; the buttons come back below.
      reportDialogFault(services_, gui_, steuerung, &CommandLayer::Achsen_sofort_stoppen, std::current_exception());
    }
  }
  services_.clock.sleepMillis(kPauseMs);
  gui_.post([this] {
    KnoepfeFreigeben(true, false, true);
    laeuft_ = false;
    if (onIdle_) onIdle_();
  });
}

void TReferenzfahrtForm::AbbrechenBitBtnClick() {
  // With no homing run under way there is nothing to stop, and a stop request would only wait
  // for the next move.
  if (!laeuft_) return;
  Maschinenparameter p = services_.params.snapshot();
  CommandLayer steuerung(p, services_.backends, services_.params.bAbbruch);
  try {
    steuerung.Achsen_sofort_stoppen();
  } catch (int code) {
    melden(code);
  }
}

void TReferenzfahrtForm::OnKeyPress(char key) {
  if (key == 27) AbbrechenBitBtnClick();
}

void TReferenzfahrtForm::TimerOnTimer() {
  Timer.Enabled = false;
  Maschinenparameter p = services_.params.snapshot();
  CommandLayer steuerung(p, services_.backends, services_.params.bAbbruch);
  const auto farbe = [&](int pin) { return steuerung.Eingang_abfragen(pin) ? kSchwarz : Schriftfarbe; };
  switch (p.Modul) {
    case 0:
      xCheckBox.Schriftfarbe = farbe(11);
      yCheckBox.Schriftfarbe = farbe(11);
      zCheckBox.Schriftfarbe = farbe(11);
      if (!steuerung.Eingang_abfragen(11)) uCheckBox.Schriftfarbe = Schriftfarbe;
      break;
    case 1:
    case 7:
      xCheckBox.Schriftfarbe = farbe(10);
      yCheckBox.Schriftfarbe = farbe(11);
      zCheckBox.Schriftfarbe = farbe(12);
      break;
    case 4:
      xCheckBox.Schriftfarbe = farbe(11);
      yCheckBox.Schriftfarbe = farbe(12);
      zCheckBox.Schriftfarbe = farbe(13);
      uCheckBox.Schriftfarbe = farbe(15);
      break;
    default:
      break;
  }
  Timer.Enabled = true;
}

bool TReferenzfahrtForm::OnClose() {
  // Closing while the machine homes would leave the run without its cancel button.
  if (laeuft_) return false;
  if (worker_ && worker_->running() && !worker_->end()) return false;
  worker_.reset();
  Timer.Enabled = false;
  services_.params.update([&](Maschinenparameter& p) {
    p.RefAktiv = {xCheckBox.Checked ? 1 : 0, yCheckBox.Checked ? 1 : 0, zCheckBox.Checked ? 1 : 0,
                  uCheckBox.Checked ? 1 : 0};
  });
  Parameter_Speichern(services_.params.snapshot(), services_.ui);
  return true;
}

}  // namespace machine
