// The tool-length measuring sequence and its dialog.
#include "ToolLengthDialog.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "machine/FailureCodes.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"

namespace app {

namespace {

constexpr int kAbsolut = 0;
constexpr int kRelativ = 1;
constexpr int kArbeit = 1;
constexpr int kEilgang = 2;
constexpr int kNichtBewegen = 99999;
constexpr int kAusgangL = 76;
constexpr char kMesstaster = '5';
constexpr int kAnfahrSchritte = 10;
constexpr std::int64_t kRueckzugPauseMs = 250;
constexpr double kRueckzugMm = 5.0;

std::string f2(double v) { return platform::formatFixed(v, 2); }

machine::ProtocolBackend& treiber(machine::ProtocolBackend* zelkoCOM) {
  if (zelkoCOM == nullptr) throw machine::HANDLE_COM_PORT_ERROR;
  return *zelkoCOM;
}

}  // namespace

double Werkzeuglaenge_messen(WzlUmgebung& u) {
  machine::CommandLayer& st = u.steuerung;
  machine::Maschinenparameter& p = st.params();
  if (p.Modul != 5 && p.Modul != 6) {
    p.zWZLdelta = 0.0;
    return 0.0;
  }
  machine::Protokoll_schreiben("Werkzeuglaenge_messen()");
  st.InitializeSteuerung(u.bHerstellermodus);
  st.Referenzfahrt_ausfuehren("z");
  st.Referenzfahrt_ausfuehren("x");
  st.Referenzfahrt_ausfuehren("y");
  const int x = st.mm_in_Schritte('x', p.xWZLMessposition);
  const int y = st.mm_in_Schritte('y', p.yWZLMessposition);
  const int z = st.mm_in_Schritte('z', p.zWZLMessposition);
  st.Ausgangssignal_setzen(kAusgangL, 0);
  st.Vektorfahrt_ausfuehren(kAbsolut, kEilgang, x, kNichtBewegen, kNichtBewegen, 1);
  st.Vektorfahrt_ausfuehren(kAbsolut, kEilgang, kNichtBewegen, y, kNichtBewegen, 1);
  st.Vektorfahrt_ausfuehren(kAbsolut, kEilgang, kNichtBewegen, kNichtBewegen, z, 1);

  machine::ProtocolBackend& com = treiber(u.zelkoCOM);
  // A probe that never switches (or never releases) must not drive the tool on without end: the
  // search is bounded by the probing travel.
  const int messweg = std::max(st.mm_in_Schritte('z', kMesswegMaxMm), kAnfahrSchritte);
  const auto zeigen = [&](double zNeu) {
    if (u.anzeigen) u.anzeigen(zNeu, p.zWZLdelta);
  };
  double zNeu = 0.0;
  bool gesetzt = false;
  for (int weg = 0; !gesetzt; weg += kAnfahrSchritte) {
    if (weg >= messweg) throw machine::PROBE_TRAVEL_LIMIT;
    st.Vektorfahrt_ausfuehren(kRelativ, kArbeit, 0, 0, kAnfahrSchritte, 1);
    gesetzt = com.Eingang_gesetzt(kMesstaster);
    zNeu = st.Position_mm_abfragen('z');
    zeigen(zNeu);
  }
  for (int weg = 0; gesetzt; ++weg) {
    if (weg >= messweg) throw machine::PROBE_TRAVEL_LIMIT;
    st.Vektorfahrt_ausfuehren(kRelativ, kArbeit, 0, 0, -1, 1);
    gesetzt = com.Eingang_gesetzt(kMesstaster);
    zNeu = st.Position_mm_abfragen('z');
    zeigen(zNeu);
  }
  st.Ausgangssignal_setzen(kAusgangL, 1);
  p.zWZLdelta = p.zWZLMessposition - zNeu;
  zeigen(zNeu);
  u.clock.sleepMillis(kRueckzugPauseMs);
  st.Vektorfahrt_ausfuehren(kRelativ, kEilgang, 0, 0, -st.mm_in_Schritte('z', kRueckzugMm), 1);
  machine::Protokoll_schreiben("Werkzeuglaenge_messen() :: Fertig");
  return zNeu;
}

TWZLMessungForm::TWZLMessungForm(platform::GuiDispatcher& gui, WzlHooks hooks) : gui_(gui), hooks_(std::move(hooks)) {}

void TWZLMessungForm::toGui(std::function<void(TWZLMessungForm&)> task) {
  gui_.post([this, alive = std::weak_ptr<char>(alive_), task = std::move(task)] {
    if (alive.expired()) return;
    task(*this);
    anzeigen();
  });
}

void TWZLMessungForm::anzeigen() {
  if (view_ != nullptr) view_->showState();
}

void TWZLMessungForm::OnCreate() {
  Caption = "WZL-Messung";
  // The abort button stands where the close button is; only one of the two is visible.
  AbbrechenBitBtn.Visible = false;
}

void TWZLMessungForm::OnActivate(const machine::Maschinenparameter& params) {
  MessdatenAnzeigen(params.xWZLMessposition, params.yWZLMessposition, params.zWZLMessposition, false);
  SchaltflaechenSetzen(true, false, true);
}

void TWZLMessungForm::MessdatenAnzeigen(double x, double y, double z, bool mitErgebnis) {
  x_ = x;
  y_ = y;
  z_ = z;
  Memo = {"xWZLMessposition = " + f2(x), "yWZLMessposition = " + f2(y), "zWZLMessposition = " + f2(z), ""};
  if (mitErgebnis) {
    Memo.push_back("         zWZLneu = " + f2(zWZLneu));
    Memo.push_back("");
    Memo.push_back("       zWZLdelta = " + f2(zWZLdelta));
  }
  anzeigen();
}

void TWZLMessungForm::SchaltflaechenSetzen(bool starten, bool abbrechen, bool schliessen) {
  StartenBitBtn.Enabled = starten;
  AbbrechenBitBtn.Visible = abbrechen;
  SchliessenBitBtn.Visible = schliessen;
  anzeigen();
}

void TWZLMessungForm::StartenBitBtnClick() {
  // Dropped when the worker is busy with a job.
  if (StartenBitBtn.Enabled && hooks_.messungStarten) hooks_.messungStarten();
}

void TWZLMessungForm::AbbrechenBitBtnClick() {
  if (!hooks_.Achsen_anhalten) return;
  try {
    hooks_.Achsen_anhalten();
  } catch (int code) {
    if (hooks_.Steuerungsfehler_melden) hooks_.Steuerungsfehler_melden(code);
  }
}

void TWZLMessungForm::SchliessenBitBtnClick() {
  if (OnCloseQuery() && view_ != nullptr) view_->closeDialog();
}

void TWZLMessungForm::WZLMessungAusfuehren(WzlUmgebung& umgebung) {
  toGui([](TWZLMessungForm& f) { f.SchaltflaechenSetzen(false, true, false); });
  const machine::Maschinenparameter& p = umgebung.steuerung.params();
  const double x = p.xWZLMessposition;
  const double y = p.yWZLMessposition;
  const double z = p.zWZLMessposition;
  auto zeigenVorher = std::move(umgebung.anzeigen);
  umgebung.anzeigen = [this, x, y, z, &zeigenVorher](double zNeu, double delta) {
    toGui([x, y, z, zNeu, delta](TWZLMessungForm& f) {
      f.zWZLneu = zNeu;
      f.zWZLdelta = delta;
      f.MessdatenAnzeigen(x, y, z, true);
    });
    if (zeigenVorher) zeigenVorher(zNeu, delta);
  };
  int code = 0;
  std::exception_ptr fault;
  try {
    Werkzeuglaenge_messen(umgebung);
  } catch (int thrown) {
    code = thrown;
  } catch (...) {
    // A fault that is no failure code ends the measurement too: the axes are halted first.
    fault = std::current_exception();
    try {
      umgebung.steuerung.haltAxes();
    } catch (...) {
    }
  }
  umgebung.anzeigen = std::move(zeigenVorher);
  if (code != 0 && hooks_.Steuerungsfehler_melden) {
    gui_.invokeAndWait([this, code, alive = std::weak_ptr<char>(alive_)] {
      if (!alive.expired()) hooks_.Steuerungsfehler_melden(code);
    });
  }
  if (fault && hooks_.showUnexpectedFault) {
    gui_.invokeAndWait([this, fault, alive = std::weak_ptr<char>(alive_)] {
      if (!alive.expired()) hooks_.showUnexpectedFault(fault);
    });
  }
  toGui([](TWZLMessungForm& f) { f.SchaltflaechenSetzen(true, false, true); });
}

}  // namespace app
