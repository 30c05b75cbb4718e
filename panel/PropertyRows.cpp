// Shared parts of new rows and of the properties grid.
#include "PropertyRows.h"

#include "machine/TextConvert.h"
#include "panel/RowCells.h"

namespace panel {

namespace {

constexpr int kWerteSpalte = 1;

}  // namespace

int appendObjectRow(TMainFormState& form, const std::string& keyword,
                    const std::vector<std::pair<int, std::string>>& cells) {
  StringGrid& grid = form.DatenStringGrid;
  if (grid.ColCount() < kKonturSpalten) grid.setColCount(kKonturSpalten);
  const int row = grid.RowCount();
  grid.setRowCount(row + 1);
  grid.setCells(kZelleTyp, row, keyword);
  for (const auto& [col, text] : cells) grid.setCells(col, row, text);
  grid.setCells(kZelleModus, row, std::string(kModusJa));
  grid.setCells(kZelleSelektiert, row, "true");
  return row;
}

std::string defaultDepthCell(const TMainFormState& form) { return cellText(form.Abmessungen.Standardtiefe); }

PropertyLayout fileAtOriginLayout(std::string caption, KonturTyp typ) {
  PropertyLayout layout;
  layout.caption = std::move(caption);
  layout.esgTyp = static_cast<int>(typ);
  layout.labels[1] = "X-Ursprung:";
  layout.labels[2] = "Y-Ursprung:";
  layout.labels[3] = "Tiefe:";
  layout.labels[4] = "Datei-Name:";
  return layout;
}

void showPropertyRows(TMainFormState& form, int row, const PropertyLayout& layout) {
  StringGrid& props = form.EigenschaftenStringGrid;
  const StringGrid& grid = form.DatenStringGrid;
  form.EigenschaftenLabel = layout.caption;
  props.setCells(0, 0, "Eigenschaften:");
  props.setCells(kWerteSpalte, 0, "Werte:");
  for (int i = 1; i <= 10; ++i) {
    const std::string& label = layout.labels[static_cast<std::size_t>(i)];
    if (label.empty()) continue;
    props.setCells(0, i, label);
    props.setCells(kWerteSpalte, i, grid.Cells(i, row));
  }
  props.setCells(0, kZelleModus, layout.modeLabel);
  props.setCells(kWerteSpalte, kZelleModus, grid.Cells(kZelleModus, row));
  form.DatenStringGrid.setCells(kZelleSelektiert, row, "true");
  form.esgTyp = layout.esgTyp;
}

void takeNumericPropertyRows(TMainFormState& form, int row, int depthRow, int radiusRow, int lastNumericRow) {
  StringGrid& props = form.EigenschaftenStringGrid;
  if (depthRow > 0 && machine::Text_in_Zahl(props.Cells(kWerteSpalte, depthRow)) > 0.0)
    props.setCells(kWerteSpalte, depthRow, "0.00");
  if (radiusRow > 0 && machine::Text_in_Zahl(props.Cells(kWerteSpalte, radiusRow)) < 0.0)
    props.setCells(kWerteSpalte, radiusRow, "0.00");
  for (int i = 1; i <= lastNumericRow && i <= 10; ++i) takeNumericPropertyRow(form, row, i);
}

void takeNumericPropertyRow(TMainFormState& form, int row, int i) {
  StringGrid& props = form.EigenschaftenStringGrid;
  const std::string text = cellText(machine::Text_in_Zahl(props.Cells(kWerteSpalte, i)));
  props.setCells(kWerteSpalte, i, text);
  form.DatenStringGrid.setCells(i, row, text);
}

}  // namespace panel
