// The milling run and the steps before and after machining.
#include "MillingRun.h"

#include <exception>
#include <string>

#include "machine/FailureCodes.h"
#include "machine/TraceLog.h"
#include "panel/KonturenFraesen.h"
#include "panel/MillContext.h"
#include "panel/PanelView.h"
#include "platform/NumberFormat.h"

namespace panel {

namespace {

constexpr const char* kCaption = "Tessaly";

std::string f2(double v) { return platform::formatFixed(v, 2); }

bool simulating(const RunContext& c) { return c.form.SimulationslaufCheckBox.Checked; }

void progress(RunContext& c) {
  if (c.showProgress) c.showProgress(c.form.FortschrittsanzeigeProgressBar);
}

// The after-machining choice as stored; a value outside the three choices counts as the first.
int nachBearbeitungIndex(const RunContext& c) {
  const int index = c.form.nachBearbeitungRadioGroup.ItemIndex;
  return index >= 0 && index <= 2 ? index : 0;
}

void outputsOff(RunContext& c) {
  c.motion.cncBohrspindel(0);
  c.motion.cncKuehlmittelpumpe(0);
  c.motion.cncAbsaugung(0);
}

void tracePositions(const machine::Maschinenparameter& p) {
  machine::Protokoll_schreiben("WSNullpunkt  " + f2(p.xWerkstücknullpunkt) + "  " + f2(p.yWerkstücknullpunkt) + "  " +
                               f2(p.zWerkstücknullpunkt));
  machine::Protokoll_schreiben("Parkpos  " + f2(p.xParkposition) + "  " + f2(p.yParkposition) + "  " +
                               f2(p.zParkposition));
  machine::Protokoll_schreiben("WZLMesspos   " + f2(p.xWZLMessposition) + "  " + f2(p.yWZLMessposition) + "  " +
                               f2(p.zWZLMessposition) + "  " + f2(p.zWZLdelta));
  machine::Protokoll_schreiben("Wechselpos  " + f2(p.xWZWechselposition) + "  " + f2(p.yWZWechselposition) + "  " +
                               f2(p.zWZWechselposition));
}

void millDocument(RunContext& c) {
  switch (c.form.Dokumenttyp) {
    case DocumentKind::Panel: {
      MillContext mill{c.form, c.objectTypes, c.motion,
                       [&c] {
                         progress(c);
                         if (c.copyToScreen) c.copyToScreen();
                       },
                       c.FehlerSignal};
      mill.steuerung = &c.steuerung;
      mill.bSteuerungVerbunden = c.bSteuerungVerbunden;
      mill.bHerstellermodus = c.bHerstellermodus;
      mill.canvas = c.canvas;
      // The tool is at the workpiece zero: travel lines drawn while cutting (a text's) start there,
      // as the redraw's chain of them does, not where the redraw left the pen.
      if (c.canvas != nullptr) c.canvas->moveTo(mm2PixelX(c.form.Ansicht, 0.0), mm2PixelY(c.form.Ansicht, 0.0));
      KonturenFraesen(mill);
      break;
    }
    case DocumentKind::Hpgl:
      // A plot always cuts at the document's default depth, the pen lifted to the surface.
      if (c.formatRun) c.formatRun(DocumentKind::Hpgl, 0.0, -c.form.Abmessungen.Standardtiefe);
      break;
    case DocumentKind::CommandFile:
    case DocumentKind::DinIso:
    case DocumentKind::Dxf:
      if (c.formatRun) c.formatRun(c.form.Dokumenttyp, 0.0, 0.0);
      break;
    case DocumentKind::None:
      break;
  }
}

}  // namespace

RunSnapshot takeRunSnapshot(const TMainFormState& form, machine::MachineParameterStore& store) {
  store.bAbbruch = false;
  return RunSnapshot{form, store.snapshot()};
}

std::string abbruchFrage(int nachBearbeitung) {
  static const char* const kZeilen[] = {"      Jetzt zum Werkstücknullpunkt fahren?",
                                        "         Jetzt zur Parkposition fahren?",
                                        "Jetzt eine Referenzfahrt durchführen?"};
  const int index = nachBearbeitung >= 0 && nachBearbeitung <= 2 ? nachBearbeitung : 0;
  return std::string("Die Abarbeitung wurde durch den Benutzer abgebrochen!      \n\n") + "           " +
         kZeilen[index] + "\n\n";
}

void cncFraesen(RunContext& c) {
  tracePositions(c.steuerung.params());
  machine::Protokoll_schreiben("");
  machine::Protokoll_schreiben("cncFraesen()");
  ProgressBarState& bar = c.form.FortschrittsanzeigeProgressBar;
  bar.Min = 0;
  bar.Max = c.form.DatenStringGrid.RowCount() - 1;
  bar.Position = 0;
  progress(c);
  if (!simulating(c)) c.steuerung.InitializeSteuerung(c.bHerstellermodus);
  cncVorBearbeitung(c);
  millDocument(c);
  cncNachBearbeitung(c, false);
  machine::Protokoll_schreiben("cncFraesen() :: Fertig");
}

void cncVorBearbeitung(RunContext& c) {
  machine::Protokoll_schreiben("vor Bearbeitung()");
  if (!simulating(c)) {
    if (c.form.ReferenzfahrtCheckBox.Checked) {
      c.steuerung.Referenzfahrt_Reihenfolge(1, 1, 1, 0);
      c.steuerung.Warten_bis_bereit();
    }
    if (c.form.WZLCheckBox.Checked && c.Werkzeuglaenge_messen) c.Werkzeuglaenge_messen();
  }
  c.motion.cncBohrspindel(1);
  c.motion.cncAbsaugung(1);
  // The travel to the workpiece zero happens whatever its check box says.
  c.motion.cncGotoWSNullpunkt();
  machine::Protokoll_schreiben("vor Bearbeitung() :: Fertig");
}

void cncNachBearbeitung(RunContext& c, bool abgebrochen) {
  const std::string arg = abgebrochen ? "1" : "0";
  machine::Protokoll_schreiben("cncNachBearbeitung(" + arg + ")");
  const int index = nachBearbeitungIndex(c);
  bool perform = false;
  if (!simulating(c)) {
    if (!abgebrochen) {
      perform = true;
    } else {
      // Every output goes off, the ones the job's own lines switched on included.
      c.motion.allOutputsOff();
      const platform::MsgResult answer = c.ask ? c.ask(abbruchFrage(index), kCaption, platform::MsgButtons::YesNo,
                                                       platform::MsgIcon::Question, platform::MsgResult::No)
                                               : platform::MsgResult::No;
      perform = answer == platform::MsgResult::Yes;
    }
  }
  if (perform) {
    switch (index) {
      case 1:
        c.motion.cncGotoParkposition();
        break;
      case 2:
        c.steuerung.Referenzfahrt_Reihenfolge(1, 1, 1, 0);
        c.steuerung.Warten_bis_bereit();
        break;
      default:
        c.motion.cncGotoWSNullpunkt();
        break;
    }
  }
  c.form.FortschrittsanzeigeProgressBar.Position = 0;
  progress(c);
  if (c.redraw) c.redraw();
  outputsOff(c);
  machine::Protokoll_schreiben("cncNachBearbeitung(" + arg + ") :: Fertig");
}

int fraesenAusfuehren(RunContext& c) {
  int code = 0;
  // A fault that is no failure code (out of memory, say) ends the job like a failure: the machine
  // is made safe first, and the fault then goes on to the caller, who shows it.
  std::exception_ptr fault;
  try {
    cncFraesen(c);
  } catch (int thrown) {
    code = thrown;
  } catch (...) {
    fault = std::current_exception();
  }
  if (code == machine::USER_ABORT) {
    try {
      cncNachBearbeitung(c, true);
      return 0;
    } catch (int thrown) {
      code = thrown;
    } catch (...) {
      code = 0;
      fault = std::current_exception();
    }
  }
  if (code != 0 || fault) {
    // A failed run must not leave the machine moving or the spindle turning: halt the axes (a
    // move whose start answer was refused may still run on the controller) and switch every
    // output off, whatever its check box says and whatever fails on the way, before the code is
    // reported.
    if (!simulating(c)) {
      try {
        c.steuerung.haltAxes();
      } catch (...) {
      }
    }
    try {
      c.motion.allOutputsOff();
    } catch (...) {
    }
  }
  if (fault) std::rethrow_exception(fault);
  return code;
}

}  // namespace panel
