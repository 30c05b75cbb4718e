// Inside the main window: what one job on a worker is made of (its command layer, motion
// primitives and run context, all on the job's snapshot), and the main window's side of the
// program-memory dialog.
//
// Thread context: a Lauf is built and used on the worker that runs the job; the FlashAnbindung
// calls come on the GUI thread or the dialog's worker as FlashSteuerung says. Both refer to the
// main window, which outlives them.
#pragma once

#include "MainForm.h"
#include "panel/CncMotion.h"

namespace app {

struct TMainForm::Lauf {
  // `run` must outlive the Lauf.
  Lauf(TMainForm& form, PendingRun& run);

  machine::CommandLayer steuerung;
  panel::CncMotion motion;
  panel::RunContext context;
};

class TMainForm::FlashAnbindung final : public FlashSteuerung {
 public:
  explicit FlashAnbindung(TMainForm& form) : form_(form) {}

  machine::ProtocolBackend& zelkoCOM() override;
  void Programmdurchlaeufe_hinterlegen(int count) override;
  void AuftragVorbereiten() override;
  void cncFraesen() override;
  void Steuerungsfehler_melden(int code) override;
  std::string Dokumentpfad() override;

 private:
  TMainForm& form_;
};

}  // namespace app
