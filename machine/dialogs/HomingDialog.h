// Model of the homing dialog `TReferenzfahrtForm` "Referenzfahrt": the axes to home, the start
// and cancel buttons, the limit-switch inputs shown by the colour of the axis labels, and its
// worker `TReferenzfahrtThread` that runs the homing while the dialog stays responsive.
//
// Thread context: the model belongs to the GUI thread; its view calls every handler there. The
// worker (created at each activation, ended at close) runs the homing on a copy of the
// parameters and of the chosen axes taken when "S&tarten" was pressed; it changes the model only
// through closures posted to the GUI thread and shows boxes there while it waits. OnActivate
// blocks while the controller is initialised; a post and the close wait at most 50 ms for the
// worker. The services must outlive the model.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "machine/dialogs/DialogControls.h"
#include "machine/dialogs/MachineDialogServices.h"
#include "platform/CommandWorker.h"

namespace machine {

class TReferenzfahrtForm {
 public:
  static constexpr int kReferenzfahrt = 1;
  // The pause after a homing run before the buttons come back.
  static constexpr int kPauseMs = 500;

  explicit TReferenzfahrtForm(MachineDialogServices services);
  ~TReferenzfahrtForm();
  TReferenzfahrtForm(const TReferenzfahrtForm&) = delete;
  TReferenzfahrtForm& operator=(const TReferenzfahrtForm&) = delete;

  // The view's refresh after a change the model made on its own (the worker's control changes).
  void setOnChanged(std::function<void()> onChanged) { gui_.onChanged = std::move(onChanged); }
  // Called on the GUI thread each time a homing run has ended and its buttons are back.
  void setOnIdle(std::function<void()> onIdle) { onIdle_ = std::move(onIdle); }

  // Each showing: colours, the axes from RefAktiv, a new worker, the controller initialised (a
  // failure is shown with the dialog's caption), the input timer started.
  void OnActivate();
  // Posts the homing of the checked axes; dropped while the worker is busy.
  void StartenBitBtnOnClick();
  // Immediate stop, only while a homing run is under way (Escape too).
  void AbbrechenBitBtnClick();
  void OnKeyPress(char key);
  // The label colours from the limit inputs of the parallel-port controllers.
  void TimerOnTimer();
  // True when the view may close. A homing run under way refuses; otherwise the worker is ended,
  // the timer stopped, and the axis choice stored in the parameter file.
  bool OnClose();

  // True from the post of a homing run until its buttons are back.
  bool referenzfahrtLaeuft() const { return laeuft_; }
  bool workerLaeuft() const { return worker_ && worker_->running(); }

  std::string Caption = "Referenzfahrt";
  int Hintergrundfarbe = 0x808080;
  int Schriftfarbe = kSchwarz;
  bool bHerstellermodus = false;
  std::string Meldungstitel;

  DialogControl Panel;
  AxisCheckBox xCheckBox{.Caption = " x-Achse"};
  AxisCheckBox yCheckBox{.Caption = " y-Achse"};
  AxisCheckBox zCheckBox{.Caption = " z-Achse"};
  AxisCheckBox uCheckBox{.Caption = " u-Achse"};
  DialogControl StartenBitBtn{.Caption = "S&tarten"};
  DialogControl AbbrechenBitBtn{.Visible = false, .Caption = "&Abbrechen"};
  DialogControl SchliessenBitBtn{.Caption = "&Schließen"};
  DialogTimer Timer;

 private:
  struct Auftrag {
    Maschinenparameter params;
    std::array<int, 4> achsen{};
  };

  void KnoepfeFreigeben(bool bedienbar, bool abbrechenSichtbar, bool schliessenSichtbar);
  // Runs on the worker.
  void Referenzfahrt();
  void melden(int code);

  MachineDialogServices services_;
  GuiHandOver gui_;
  std::function<void()> onIdle_;
  bool laeuft_ = false;
  std::mutex auftragMutex_;
  std::optional<Auftrag> auftrag_;
  // Last member: ended (and joined) first.
  std::unique_ptr<platform::CommandWorker> worker_;
};

}  // namespace machine
