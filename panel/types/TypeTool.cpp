// TOOL rows. Sending the speeds borrows the run's parameter record for the one initialisation,
// so that the program's own speeds are never left changed by a tool.
#include "TypeTool.h"

#include <cstddef>
#include <string>

#include "machine/CommandLayer.h"
#include "machine/TextConvert.h"
#include "panel/Keywords.h"
#include "panel/PropertyRows.h"
#include "platform/NumberFormat.h"

namespace panel {

namespace {

constexpr std::string_view kTool = "TOOL";
constexpr int kWerteSpalte = 1;

std::int32_t cellInteger(const StringGrid& grid, int col, int row) {
  return platform::saturatingTrunc(cellNumber(grid, col, row));
}

// Puts the kept speeds back when it goes out of scope, however the initialisation ended.
class KeptSpeeds {
 public:
  explicit KeptSpeeds(machine::Maschinenparameter& params)
      : params_(params),
        start_(params.Startfreq),
        work_(params.Arbeitsfreq),
        rapid_(params.Eilfreq),
        ramp_(params.Rampenlaenge) {}
  ~KeptSpeeds() {
    params_.Startfreq = start_;
    params_.Arbeitsfreq = work_;
    params_.Eilfreq = rapid_;
    params_.Rampenlaenge = ramp_;
  }
  KeptSpeeds(const KeptSpeeds&) = delete;
  KeptSpeeds& operator=(const KeptSpeeds&) = delete;

 private:
  machine::Maschinenparameter& params_;
  std::int32_t start_;
  std::int32_t work_;
  std::int32_t rapid_;
  std::int32_t ramp_;
};

}  // namespace

int Tool_Neu(TMainFormState& form, int slot) {
  if (slot < 0 || slot >= kToolCount) return -1;
  form.iToolSlot = slot;
  const auto i = static_cast<std::size_t>(slot);
  const ToolTable& tools = form.ToolDef;
  const int row = appendObjectRow(form, std::string(kTool),
                                  {{1, std::to_string(tools.TStartfreq[i])},
                                   {2, std::to_string(tools.TArbeitsfreq[i])},
                                   {3, std::to_string(tools.TEilfreq[i])},
                                   {4, std::to_string(tools.TRampenlaenge[i])}});
  Tool_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<ToolRecord> Tool_Lesen(const TMainFormState&, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kTool) return std::nullopt;
  ToolRecord tool;
  tool.Startfreq = cellInteger(grid, 1, row);
  tool.Arbeitsfreq = cellInteger(grid, 2, row);
  tool.Eilfreq = cellInteger(grid, 3, row);
  tool.Rampenlaenge = cellInteger(grid, 4, row);
  tool.aktiv = machine::Text_ist_wahr(grid.Cells(kZelleModus, row));
  return tool;
}

void Tool_Fraesen(MillContext& context, const ToolRecord& tool) {
  if (!tool.aktiv || context.steuerung == nullptr) return;
  // Without a machine a simulation has nobody to tell; it must not fail for that.
  if (context.form.SimulationslaufCheckBox.Checked && !context.bSteuerungVerbunden) return;
  machine::Maschinenparameter& params = context.steuerung->params();
  const KeptSpeeds kept(params);
  params.Startfreq = tool.Startfreq;
  params.Arbeitsfreq = tool.Arbeitsfreq;
  params.Eilfreq = tool.Eilfreq;
  params.Rampenlaenge = tool.Rampenlaenge;
  context.steuerung->InitializeSteuerung(context.bHerstellermodus);
}

void Tool_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Tool" + std::to_string(form.iToolSlot + 1) + "-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Tool);
  layout.labels[1] = "Startfreq [Hz]:";
  layout.labels[2] = "Arbeitsfreq [Hz]:";
  layout.labels[3] = "Eilfreq [Hz]:";
  layout.labels[4] = "Rampenlänge [ms]:";
  layout.modeLabel = "aktiv:";
  showPropertyRows(form, row, layout);
}

void Tool_EigenschaftenUebernehmen(TMainFormState& form, int row) {
  StringGrid& props = form.EigenschaftenStringGrid;
  for (int i = 1; i <= 4; ++i) {
    const std::string& typed = props.Cells(kWerteSpalte, i);
    // A frequency or ramp of 0 Hz or ms would stall the controller; junk reads as 0.
    if (platform::saturatingTrunc(machine::Text_in_Zahl(typed)) >= 1) {
      form.DatenStringGrid.setCells(i, row, typed);
    } else {
      if (form.FehlerSignal) form.FehlerSignal();
      props.setCells(kWerteSpalte, i, form.DatenStringGrid.Cells(i, row));
    }
  }
}

}  // namespace panel
