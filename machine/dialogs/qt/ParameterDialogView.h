// The parameter dialog on Qt Widgets: a view of machine::TParameterDlg with its four tabs
// ("Schrittmotorsteuerkarten-Typ", "Geschwindigkeit", "Maschine", "Referenz"), each with its own
// OK and Cancel button.
//
// Its size is fixed, and Return and Enter press no button: only a click on "&OK" saves.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes; open() shows it
// without blocking. The model is not owned. Closing by the window frame or Escape counts as
// Cancel.
#pragma once

#include <array>
#include <vector>

#include "machine/dialogs/ParameterDialog.h"
#include "platform/qt/QtSafeDialog.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace machineqt {

class ParameterDialogView final : public platform::QtSafeDialog {
 public:
  ParameterDialogView(machine::TParameterDlg& model, QWidget* parent = nullptr);

  int exec() override;
  void open() override;
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Gruppe {
    machine::ParameterRadioGroup* modell = nullptr;
    QGroupBox* box = nullptr;
    QButtonGroup* knoepfe = nullptr;
  };

  void aktivieren();
  void anzeigen();
  // The six colours of the model: main area, second area and their texts and headings.
  void farbenAnzeigen();
  // The texts and choices of the controls into the model.
  void uebernehmen();
  Gruppe neueGruppe(machine::ParameterRadioGroup& modell, const char* name, QWidget* parent);
  void gruppeAnzeigen(Gruppe& g);

  machine::TParameterDlg& model_;
  QTabWidget* seiten_ = nullptr;
  std::array<QRadioButton*, machine::TParameterDlg::kTypen> typen_{};
  QLabel* lptcomLabel_ = nullptr;
  QWidget* comPanel_ = nullptr;
  QWidget* lptPanel_ = nullptr;
  QComboBox* com_ = nullptr;
  QComboBox* baud_ = nullptr;
  std::array<QRadioButton*, 3> lpt_{};
  QLineEdit* lptEdit_ = nullptr;
  std::array<QLineEdit*, 4> geschw_{};
  std::array<QLineEdit*, 4> uebersetz_{};
  std::array<QLineEdit*, 4> motStep_{};
  std::array<QLineEdit*, 4> refOffset_{};
  QLineEdit* refFreq_ = nullptr;
  std::array<QLineEdit*, 4> refNr_{};
  std::vector<QWidget*> uZeile_;
  // The tab sheets (main area), the panels and groups on them (second area), and the headings on
  // each.
  std::array<QWidget*, 4> pages_{};
  std::vector<QWidget*> secondAreas_;
  std::vector<QLabel*> mainHeadings_;
  std::vector<QLabel*> secondHeadings_;
  std::vector<Gruppe> gruppen_;
  bool fuellen_ = false;
};

}  // namespace machineqt
