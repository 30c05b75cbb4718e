// The tool-length measurement: the measuring sequence with the probe on input 5 of a controller
// of type 5 or 6, and the model of its dialog "WZL-Messung" with the measured values.
//
// Thread context: the sequence runs on the run worker (the dialog's command, or the milling run
// before machining) and blocks while the machine moves; failures are thrown as integer codes
// (2000 after a stop, PROBE_TRAVEL_LIMIT when the probe does not switch within its travel). The
// dialog model belongs to the GUI thread; its worker side (WZLMessungAusfuehren) posts the memo
// and the buttons to the GUI thread and shows failure boxes by invoke-and-wait.
// Ownership: the services and hooks must outlive the model.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlState.h"
#include "machine/CommandLayer.h"
#include "machine/ProtocolBackend.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"

namespace app {

// How far the probe is looked for below the measuring position before the measurement fails.
inline constexpr double kMesswegMaxMm = 50.0;

// What the sequence works with. `steuerung` is bound to the run's parameter record, into which
// the measured difference `zWZLdelta` is written.
struct WzlUmgebung {
  machine::CommandLayer& steuerung;
  // The protocol driver; used only for controller types 5 and 6.
  machine::ProtocolBackend* zelkoCOM = nullptr;
  platform::Clock& clock;
  bool bHerstellermodus = false;
  // Shows the memo with the results so far (routed to the GUI thread). May be empty.
  std::function<void(double zWZLneu, double zWZLdelta)> anzeigen{};
};

// The measuring sequence: homing z, x, y; the measuring position one axis at a time; the probe
// approached in steps of 10 and released in single steps; the difference stored; the tool
// retracted by 5 mm. Gives the z position at which the probe released (0 for other types, which
// only clear the difference).
double Werkzeuglaenge_messen(WzlUmgebung& umgebung);

// What the dialog asks of the main window.
struct WzlHooks {
  // GUI thread: posts command 1 to the run worker; false when the worker was busy.
  std::function<bool()> messungStarten{};
  // GUI thread: the decelerated stop (which sets the stop request); throws a failure code.
  std::function<void()> Achsen_anhalten{};
  // GUI thread: shows a failure code in the box captioned with the product name.
  std::function<void(int code)> Steuerungsfehler_melden{};
  // GUI thread: shows a fault that is no failure code in the box captioned with the product name.
  std::function<void(std::exception_ptr fault)> showUnexpectedFault{};
};

class TWZLMessungFormView {
 public:
  virtual ~TWZLMessungFormView() = default;
  virtual void showState() = 0;
  virtual void closeDialog() = 0;
};

class TWZLMessungForm {
 public:
  TWZLMessungForm(platform::GuiDispatcher& gui, WzlHooks hooks);
  TWZLMessungForm(const TWZLMessungForm&) = delete;
  TWZLMessungForm& operator=(const TWZLMessungForm&) = delete;

  void setView(TWZLMessungFormView* view) { view_ = view; }

  // The caption, and the abort button in the close button's place.
  void OnCreate();
  // Memo without results from the measuring position of `params`; start enabled, abort hidden,
  // close visible.
  void OnActivate(const machine::Maschinenparameter& params);
  void OnClose() {}
  void StartenBitBtnClick();
  void AbbrechenBitBtnClick();
  void SchliessenBitBtnClick();
  // Whether the dialog may close: not while a measurement runs.
  bool OnCloseQuery() const { return !AbbrechenBitBtn.Visible; }

  // Worker: the dialog's command. Buttons into the running state, the sequence, a failure shown,
  // buttons back. The measured difference is in the umgebung's parameter record afterwards.
  void WZLMessungAusfuehren(WzlUmgebung& umgebung);

  // GUI thread: the memo for the measuring position `x`, `y`, `z`, with the results when given.
  void MessdatenAnzeigen(double x, double y, double z, bool mitErgebnis);
  void SchaltflaechenSetzen(bool starten, bool abbrechen, bool schliessen);

  std::string Caption;
  ControlState StartenBitBtn{.Caption = "S&tarten"};
  ControlState SchliessenBitBtn{.Caption = "&Schließen"};
  ControlState AbbrechenBitBtn{.Visible = false, .Caption = "&Abbrechen"};
  std::vector<std::string> Memo;
  // The z position at which the probe released in the last measurement, and the difference.
  double zWZLneu = 0.0;
  double zWZLdelta = 0.0;

 private:
  void toGui(std::function<void(TWZLMessungForm&)> task);
  void anzeigen();

  platform::GuiDispatcher& gui_;
  WzlHooks hooks_;
  TWZLMessungFormView* view_ = nullptr;
  double x_ = 0.0;
  double y_ = 0.0;
  double z_ = 0.0;
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace app
