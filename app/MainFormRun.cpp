// The run: its start on the GUI thread, the milling run on the worker with everything it shows
// carried to the GUI thread, the lock of the window, and the stop.
#include <exception>
#include <utility>

#include "MainFormLauf.h"
#include "Uncaught.h"
#include "machine/FailureCodes.h"
#include "machine/TraceLog.h"
#include "panel/CncMotion.h"
#include "panel/MillContext.h"

namespace app {

namespace {

std::string flag(bool on) { return on ? "1" : "0"; }

}  // namespace

void TMainForm::toGui(std::function<void()> task) {
  services_.gui.post([alive = std::weak_ptr<char>(alive_), task = std::move(task)] {
    if (!alive.expired()) task();
  });
}

void TMainForm::notifyView() {
  if (view_ != nullptr) view_->showState();
}

void TMainForm::requestRepaint() {
  // Each cut asks for a repaint; while one is queued, the next ones are covered by it.
  if (repaintQueued_.exchange(true)) return;
  toGui([this] {
    repaintQueued_ = false;
    if (view_ != nullptr) view_->PaintBoxOnPaint();
  });
}

TMainForm::PendingRun TMainForm::auftragNehmen() {
  return PendingRun{panel::takeRunSnapshot(*this, services_.params),
                    bSteuerungVerbunden.load(),
                    HPGLDatenmodul,
                    DINISODatenmodul,
                    DXFDatenmodul,
                    Dokumenttyp == panel::DocumentKind::CommandFile ? DatenRichEdit : std::vector<std::string>{}};
}

void TMainForm::FraesenStartenBitBtnClick() {
  if (laeuft_) return;
  {
    // The snapshot also clears a stop request left over from before.
    std::lock_guard lock(pendingMutex_);
    pendingRun_.emplace(auftragNehmen());
  }
  if (!FraesThread.post(TTVXThread::kFraesen)) {
    std::lock_guard lock(pendingMutex_);
    pendingRun_.reset();
    return;
  }
  laeuft_ = true;
}

void TMainForm::FraesenAusfuehren() {
  std::optional<PendingRun> run;
  {
    std::lock_guard lock(pendingMutex_);
    run.swap(pendingRun_);
  }
  if (!run) return;
  panel::TMainFormState& form = run->snapshot.form;
  Lauf lauf(*this, *run);
  machine::CommandLayer& steuerung = lauf.steuerung;
  const bool verbunden = run->verbunden;
  const auto position = [&steuerung](char axis) { return steuerung.Position_mm_abfragen(axis); };

  auto status = statusTexte(verbunden, position);
  toGui([this, status] {
    EnableWinKomponenten(true);
    StatusBar = status;
    notifyView();
  });

  int code = 0;
  std::exception_ptr fault;
  try {
    code = panel::fraesenAusfuehren(lauf.context);
  } catch (...) {
    // The run has made the machine safe; the window leaves its run state below all the same.
    fault = std::current_exception();
  }
  if (code != 0) {
    services_.gui.invokeAndWait([&] {
      if (!closing_) steuerung.Steuerungsfehler_melden(services_.ui, code, kProgrammname);
    });
  }
  if (fault) {
    services_.gui.invokeAndWait([&] {
      if (!closing_) handleUncaught(services_.ui, fault);
    });
  }

  // A controller that fell silent after a stop has had its link closed: the program is no longer
  // connected and says so.
  const bool nochVerbunden = verbunden && steuerung.Verbindung_offen();
  if (verbunden && !nochVerbunden) machine::Protokoll_schreiben("FraesenAusfuehren(): Verbindung geschlossen");
  status = statusTexte(nochVerbunden, position);
  // The walk sets the copy counts of the document to 1 when multi-up production is off.
  const panel::TNutzenfertigung nutzen = form.Nutzenfertigung;
  toGui([this, status, nutzen, verloren = verbunden && !nochVerbunden] {
    Nutzenfertigung.xNFAnzahl = nutzen.xNFAnzahl;
    Nutzenfertigung.yNFAnzahl = nutzen.yNFAnzahl;
    if (verloren) {
      bSteuerungVerbunden = false;
      FortschrittsanzeigeLabel.Enabled = false;
      FortschrittsanzeigeProgressBarControl.Enabled = false;
      FraesenStartenBitBtn.Enabled = SimulationslaufCheckBox.Checked;
    }
    EnableWinKomponenten(false);
    StatusBar = status;
    laeuft_ = false;
    notifyView();
    nachArbeitsende();
  });
}

TMainForm::Lauf::Lauf(TMainForm& form, PendingRun& run)
    : steuerung(run.snapshot.params, form.backends_, form.services_.params.bAbbruch),
      motion(run.snapshot.form,
             panel::MotionEnvironment{steuerung, form.services_.params.bAbbruch, form.Simulationspause,
                                      form.bAusgabeInFestwertspeicher, form.services_.canvas, form.services_.clock,
                                      [&form] { form.requestRepaint(); }}),
      context{run.snapshot.form, form.services_.objectTypes, steuerung, motion} {
  context.bHerstellermodus = run.snapshot.form.bHerstellermodus;
  context.bSteuerungVerbunden = run.verbunden;
  form.kontextEinrichten(context);
  context.Werkzeuglaenge_messen = form.werkzeuglaengeMessung(steuerung, run.snapshot.form.bHerstellermodus);
  context.canvas = &form.services_.canvas;
  context.formatRun = [this, &form, &run](panel::DocumentKind kind, double penUp, double penDown) {
    panel::TMainFormState& state = run.snapshot.form;
    panel::MillContext mill{state, form.services_.objectTypes, motion};
    mill.canvas = &form.services_.canvas;
    mill.FehlerSignal = this->context.FehlerSignal;
    // The cuts the motion primitives draw land where the module's paint put its steps.
    switch (kind) {
      case panel::DocumentKind::Hpgl: {
        formats::THPGLDataModule& plot = run.plot;
        plot.penUpHeight = penUp;
        plot.penDownDepth = penDown;
        plot.Ansicht.liveDrawing = true;
        state.Ansicht = plot.Ansicht;
        plot.HPGL_Ausfuehren(mill);
        break;
      }
      case panel::DocumentKind::DinIso:
        run.program.Ansicht.liveDrawing = true;
        state.Ansicht = run.program.Ansicht;
        run.program.DINISO_Ausfuehren(mill);
        break;
      case panel::DocumentKind::Dxf:
        run.drawing.Ansicht.liveDrawing = true;
        state.Ansicht = run.drawing.Ansicht;
        run.drawing.DXF_Ausfuehren(mill);
        break;
      case panel::DocumentKind::CommandFile: {
        formats::KdfStream stream{run.commandLines, steuerung, motion, [&form] { form.requestRepaint(); },
                                  [this](const std::string& text) {
                                    if (this->context.ask)
                                      this->context.ask(text, kProgrammname, platform::MsgButtons::Ok,
                                                        platform::MsgIcon::Warning, std::nullopt);
                                  }};
        stream.simulating = state.SimulationslaufCheckBox.Checked;
        formats::TKDFDataModule::KDF_Senden(stream);
        break;
      }
      case panel::DocumentKind::Panel:
      case panel::DocumentKind::None:
        break;
    }
  };
}

void TMainForm::kontextEinrichten(panel::RunContext& context) {
  context.showProgress = [this](const panel::ProgressBarState& bar) {
    toGui([this, bar] {
      FortschrittsanzeigeProgressBar = bar;
      notifyView();
    });
  };
  context.copyToScreen = [this] { requestRepaint(); };
  context.ask = [this](const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                       platform::MsgIcon icon, std::optional<platform::MsgResult> defaultButton) {
    platform::MsgResult answer = platform::MsgResult::No;
    services_.gui.invokeAndWait([&] {
      // A program that is going does not start the step after machining.
      if (!closing_ && terminationSignal_ == 0)
        answer = services_.ui.messageBox(text, caption, buttons, icon, defaultButton);
    });
    return answer;
  };
  context.redraw = [this] { toGui([this] { AnsichtNeuZeichnen(); }); };
  context.FehlerSignal = [this] {
    const auto beep = [this] {
      if (!closing_) services_.ui.Beep(440, 200);
    };
    services_.gui.invokeAndWait(beep);
    services_.clock.sleepMillis(100);
    services_.gui.invokeAndWait(beep);
  };
}

void TMainForm::stopRun() {
  if (bSteuerungVerbunden) {
    machine::Maschinenparameter p = services_.params.snapshot();
    machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
    try {
      steuerung.Achsen_anhalten();
    } catch (int code) {
      // The run goes on until its next move finds the stop request.
      if (!closing_) steuerung.Steuerungsfehler_melden(services_.ui, code, kProgrammname);
    }
  } else {
    services_.params.bAbbruch = true;
  }
}

void TMainForm::AnhaltenBitBtnClick() {
  // With nothing running a stop request would only wait to end the next run at its first move.
  if (!laeuft_) return;
  stopRun();
}

void TMainForm::OnKeyPress(char key) {
  if (key == 27) AnhaltenBitBtnClick();
}

void TMainForm::EnableWinKomponenten(bool laeuft) {
  machine::Protokoll_schreiben("EnableWinKomponenten(" + flag(laeuft) + ")");
  const int typ = modul();
  MenuDatei.Enabled = !laeuft;
  MenuAnsicht.Enabled = !laeuft;
  MenuEinstellungen.Enabled = !laeuft;
  MenuSteuerung.Enabled = typ >= 10 && typ <= 13 ? false : !laeuft && bSteuerungVerbunden;
  MenuCobalt_Kyro.Enabled = !laeuft;
  MenuInfo.Enabled = !laeuft;
  MenuBeenden.Enabled = !laeuft;
  ControlBar.Enabled = !laeuft;
  LeftPanel.Enabled = !laeuft;
  DrawPageControl.Enabled = !laeuft;
  ERTabSheet.Visible = Dokumenttyp == panel::DocumentKind::Panel && !laeuft;
  vorBearbeitungGroupBox.Enabled = !laeuft;
  waehrendBearbeitungGroupBox.Enabled = !laeuft;
  nachBearbeitungRadioGroupControl.Enabled = !laeuft;
  // The run goes by the value it was started with; locking the box keeps what it shows true.
  SimulationslaufCheckBox.Enabled = !laeuft;
  FortschrittsanzeigeLabel.Visible = laeuft;
  FortschrittsanzeigeProgressBarControl.Visible = laeuft;
  FraesenStartenBitBtn.Visible = !laeuft;
  AnhaltenBitBtn.Visible = laeuft;
  machine::Protokoll_schreiben("EnableWinKomponenten(" + flag(laeuft) + ") :: End");
}

void TMainForm::SimulationslaufCheckBoxOnClick() {
  FraesenStartenBitBtn.Caption = SimulationslaufCheckBox.Checked ? "&Simulationslauf starten" : "&Fräsvorgang starten";
  RightPageControlOnChange();
}

void TMainForm::SimulationslaufTrackBarOnChange() { Simulationspause = SimulationslaufTrackBar.Position * 6; }

}  // namespace app
