// The properties grid: filled by the kind of the selected row, taken over by the kind shown, and
// edited in place through the editor each property row has.
#include "PropertyGrid.h"

#include <array>
#include <filesystem>

#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "panel/Keywords.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"
#include "panel/RowCells.h"
#include "panel/Selection.h"

namespace panel {

namespace {

constexpr int kLabelSpalte = 0;
constexpr int kWerteSpalte = 1;
constexpr int kZeileDateiName = 4;
constexpr int kZeileDateiPfad = 5;

// Which property rows open which editor, per kind (esgTyp 0-13).
struct EditorRows {
  std::array<EditorKind, kEigenschaftenZeilen> rows{};
};

constexpr EditorRows editorRows(std::initializer_list<int> text, std::initializer_list<int> choice, int file = -1) {
  EditorRows e;
  for (int r : text) e.rows[static_cast<std::size_t>(r)] = EditorKind::Text;
  for (int r : choice) e.rows[static_cast<std::size_t>(r)] = EditorKind::Choice;
  if (file > 0) e.rows[static_cast<std::size_t>(file)] = EditorKind::File;
  return e;
}

constexpr std::array<EditorRows, kKonturTypCount> kEditoren = {
    editorRows({1, 2, 3, 4}, {11}),                  // TOOL
    editorRows({1, 2, 3, 4, 5}, {11}),               // PLAN
    editorRows({1, 2, 3}, {11}),                     // PUNKT
    editorRows({1, 2, 3, 4, 5}, {8, 9, 10, 11}),     // LINIE1
    editorRows({1, 2, 3, 4, 5, 6}, {8, 9, 10, 11}),  // RECHTECK1
    editorRows({1, 2, 3, 4, 5, 6}, {8, 9, 10, 11}),  // RECHTECK2
    editorRows({1, 2, 3, 4, 5, 6}, {8, 9, 10, 11}),  // RECHTECK3
    editorRows({1, 2, 3, 4, 5, 6}, {8, 9, 10, 11}),  // VIELECK
    editorRows({1, 2, 3, 4}, {8, 9, 10, 11}),        // KREIS
    editorRows({1, 2, 3, 4, 5, 6}, {9, 10, 11}),     // KBOGEN
    editorRows({2, 3, 4, 6, 7}, {1, 5, 11}),         // TEXT
    editorRows({1, 2, 3}, {11}, kZeileDateiName),    // HPGL/PLT
    editorRows({1, 2, 3}, {11}, kZeileDateiName),    // BIBLIOTHEK
    editorRows({}, {}),                              // note
};

std::vector<std::string> radiusCorrections(int esgTyp) {
  switch (static_cast<KonturTyp>(esgTyp)) {
    case KonturTyp::Plan:
    case KonturTyp::Linie1:
      return {"mitte"};
    case KonturTyp::Rechteck1:
    case KonturTyp::Rechteck2:
    case KonturTyp::Rechteck3:
      return {"mitte", "innen", "innen-tasche", "aussen", "aussen-steg"};
    case KonturTyp::Vieleck:
    case KonturTyp::Kbogen:
      return {"mitte", "innen", "aussen"};
    case KonturTyp::Kreis:
      return {"mitte", "innen", "innen-tasche", "aussen"};
    default:
      return {};
  }
}

bool objectRow(const TMainFormState& form, int row) { return row >= 1 && row < form.DatenStringGrid.RowCount(); }

// The cells of a row, to tell whether a take-over changed it.
std::array<std::string, kKonturSpalten> rowCells(const StringGrid& grid, int row) {
  std::array<std::string, kKonturSpalten> cells;
  for (int col = 0; col < kKonturSpalten; ++col) cells[static_cast<std::size_t>(col)] = grid.Cells(col, row);
  return cells;
}

// Writes `text` into the edited cell of the selected row and into the properties grid.
EditResult writeEdited(TMainFormState& form, int cell, const std::string& text) {
  const int row = form.iAktZeile;
  if (!objectRow(form, row)) return EditResult::Unchanged;
  form.EigenschaftenStringGrid.setCells(kWerteSpalte, cell, text);
  form.esgEditor.text = text;
  if (form.DatenStringGrid.Cells(cell, row) == text) return EditResult::Unchanged;
  form.DatenStringGrid.setCells(cell, row, text);
  return EditResult::Changed;
}

EditResult refuse(TMainFormState& form) {
  // The editor shows the text it had before.
  ++form.esgEditor.generation;
  return EditResult::Refused;
}

}  // namespace

void EigenschaftenFuellen(TMainFormState& form, const ObjectTypeTable& types) {
  const int r = form.iAktZeile;
  form.DatenStringGrid.setCells(0, 0, std::to_string(r));
  form.DatenStringGrid.setCells(1, 0, std::to_string(form.iTrefferZeile));
  form.EigenschaftenLabel = "Eigenschaften:";
  StringGrid& props = form.EigenschaftenStringGrid;
  for (int i = 1; i < props.RowCount(); ++i) {
    props.setCells(kLabelSpalte, i, std::string());
    props.setCells(kWerteSpalte, i, std::string());
  }
  // A row of no known kind is shown as nothing, and nothing is ever taken over into it.
  form.esgTyp = -1;
  if (r == 0) return;
  const int typ = keywordTypeNumber(trimBlanks(form.ReihenfolgeStringGrid.Cells(1, r)));
  if (typ < 0) return;
  const PropertyRole& show = types[static_cast<KonturTyp>(typ)].showProperties;
  if (show) show(form, r);
}

void EigenschaftenAktualisieren(DrawContext& context) {
  DrawTVXFormat(context);
  EigenschaftenFuellen(context.form, context.objectTypes);
}

bool esgGoEditing(DrawContext& context, int column, int row) {
  TMainFormState& form = context.form;
  const std::string where = std::to_string(column) + ", " + std::to_string(row);
  machine::Protokoll_schreiben("esgGoEditing(" + where + ")");
  const int r = form.iAktZeile;
  bool changed = false;
  // Only into the row the grid shows, and only by its own kind.
  if (form.esgTyp >= 0 && objectRow(form, r) && rowTypeNumber(form.DatenStringGrid, r) == form.esgTyp) {
    const PropertyRole& take = context.objectTypes[static_cast<KonturTyp>(form.esgTyp)].takeProperties;
    if (take) {
      const auto before = rowCells(form.DatenStringGrid, r);
      take(form, r);
      changed = rowCells(form.DatenStringGrid, r) != before;
    }
  }
  form.esgEditor.row = row;
  // The editor starts from the value as the take-over left it.
  form.esgEditor.text = form.EigenschaftenStringGrid.Cells(kWerteSpalte, row);
  ++form.esgEditor.generation;
  esgKomponentenVisible(form, true);
  DrawTVXFormat(context);
  machine::Protokoll_schreiben("esgGoEditing(" + where + ") : End");
  return changed;
}

EditorKind esgEditorFuer(int esgTyp, int row) {
  if (esgTyp < 0 || esgTyp >= kKonturTypCount || row < 0 || row >= kEigenschaftenZeilen) return EditorKind::None;
  return kEditoren[static_cast<std::size_t>(esgTyp)].rows[static_cast<std::size_t>(row)];
}

std::vector<std::string> esgWerteliste(int esgTyp, int row) {
  switch (row) {
    case 1:
      return {"rechts", "links", "zentriert"};
    case 5:
      return {"courier.cxf", "normal.cxf", "scriptc.cxf"};
    case 8:
      return {"ja", "nein"};
    case 9:
      return {"Uhrzeigersinn", "Gegenuhrzeigersinn"};
    case 10:
      return radiusCorrections(esgTyp);
    case 11:
      return {"ja", "nein", "nur zeichnen"};
    default:
      return {};
  }
}

void esgKomponentenVisible(TMainFormState& form, bool visible) {
  form.esgEditor.shown = visible ? esgEditorFuer(form.esgTyp, form.esgEditor.row) : EditorKind::None;
}

void esgEditorVorbereiten(TMainFormState& form, int row) {
  InPlaceEditorState& e = form.esgEditor;
  e.shown = EditorKind::None;
  e.row = row;
  e.label = form.EigenschaftenStringGrid.Cells(kLabelSpalte, row);
  e.text = form.EigenschaftenStringGrid.Cells(kWerteSpalte, row);
  e.Items = esgWerteliste(form.esgTyp, row);
  ++e.generation;
}

EditResult esgTextUebernehmen(TMainFormState& form, std::string_view text) {
  if (form.esgEditor.shown != EditorKind::Text) return EditResult::Unchanged;
  if (!cellTextAllowed(text, kZelleMaxZeichen)) return refuse(form);
  return writeEdited(form, form.esgEditor.row, machine::Text_trimmen(text));
}

EditResult esgAuswahlUebernehmen(TMainFormState& form, int index) {
  const InPlaceEditorState& e = form.esgEditor;
  if (e.shown != EditorKind::Choice) return EditResult::Unchanged;
  if (index < 0 || static_cast<std::size_t>(index) >= e.Items.size()) return refuse(form);
  return writeEdited(form, e.row, machine::Text_trimmen(e.Items[static_cast<std::size_t>(index)]));
}

EditResult esgDateiUebernehmen(TMainFormState& form, const std::string& path) {
  const int row = form.iAktZeile;
  if (form.esgEditor.shown != EditorKind::File || !objectRow(form, row)) return EditResult::Unchanged;
  if (path.empty() || !cellTextAllowed(path, kZelleMaxZeichen)) return refuse(form);
  const std::string name = std::filesystem::path(path).filename().string();
  StringGrid& props = form.EigenschaftenStringGrid;
  StringGrid& grid = form.DatenStringGrid;
  props.setCells(kWerteSpalte, kZeileDateiName, name);
  props.setCells(kWerteSpalte, kZeileDateiPfad, path);
  form.esgEditor.text = name;
  ++form.esgEditor.generation;
  if (grid.Cells(kZeileDateiName, row) == name && grid.Cells(kZeileDateiPfad, row) == path) {
    return EditResult::Unchanged;
  }
  grid.setCells(kZeileDateiName, row, name);
  grid.setCells(kZeileDateiPfad, row, path);
  return EditResult::Changed;
}

platform::Colour esgOnDrawCell(const StringGrid& properties, int row, platform::Colour buttonFace) {
  const std::string& wert = properties.Cells(kWerteSpalte, row);
  switch (row) {
    case 8:
      if (wert == "ja") return 0xFFCCFF;
      break;
    case 9:
      if (wert == "Gegenuhrzeigersinn") return 0xD7FFFF;
      break;
    case 10:
      if (wert != "mitte" && !wert.empty()) return 0xFFEBD0;
      break;
    case 11:
      if (wert == kModusNein) return 0xEFEFEF;
      if (wert == kModusNurZeichnen) return 0x70C0FF;
      break;
    default:
      break;
  }
  return buttonFace;
}

int tiefenZelle(int typ) {
  switch (static_cast<KonturTyp>(typ)) {
    case KonturTyp::Punkt:
    case KonturTyp::Hpgl:
      return 3;
    case KonturTyp::Kreis:
      return 4;
    case KonturTyp::Plan:
    case KonturTyp::Linie1:
    case KonturTyp::Rechteck1:
    case KonturTyp::Rechteck2:
    case KonturTyp::Rechteck3:
      return 5;
    case KonturTyp::Vieleck:
    case KonturTyp::Kbogen:
      return 6;
    case KonturTyp::Text:
      return 7;
    default:
      return -1;
  }
}

bool alleTiefenNeuSetzen(TMainFormState& form) {
  const std::string tiefe = defaultDepthCell(form);
  StringGrid& grid = form.DatenStringGrid;
  bool changed = false;
  for (int row = 1; row < grid.RowCount(); ++row) {
    const int cell = tiefenZelle(rowTypeNumber(grid, row));
    if (cell < 0 || grid.Cells(cell, row) == tiefe) continue;
    grid.setCells(cell, row, tiefe);
    changed = true;
  }
  return changed;
}

bool alleKonturenUmschalten(TMainFormState& form, std::string_view von, std::string_view nach) {
  StringGrid& grid = form.DatenStringGrid;
  bool changed = false;
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (grid.Cells(kZelleModus, row) != von) continue;
    grid.setCells(kZelleModus, row, std::string(nach));
    changed = true;
  }
  return changed;
}

}  // namespace panel
