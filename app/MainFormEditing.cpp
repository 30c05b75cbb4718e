// Editing a panel document in the main window: the paint box's mouse, the object buttons, the
// properties grid with its editors and popup menu, and the order grid with its buttons.
#include <filesystem>
#include <string>

#include "MainForm.h"
#include "machine/TraceLog.h"
#include "panel/HandleDrag.h"
#include "panel/OrderGrid.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyGrid.h"
#include "panel/RowCells.h"
#include "panel/Selection.h"
#include "panel/types/TypeHpgl.h"

namespace app {

namespace {

constexpr const char* kHpglFilter = "HPGL-Dateien (*.hpgl, *.plt)|*.hpgl;*.plt|";
constexpr const char* kTvxFilter = "Tessaly (*.tvx)|*.tvx|";
constexpr int kPfadZelle = 5;

std::string lowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

panel::KonturTyp typOf(ObjektKnopf knopf) {
  switch (knopf) {
    case ObjektKnopf::Plan:
      return panel::KonturTyp::Plan;
    case ObjektKnopf::Punkt:
      return panel::KonturTyp::Punkt;
    case ObjektKnopf::Linie:
      return panel::KonturTyp::Linie1;
    case ObjektKnopf::Rechteck1:
      return panel::KonturTyp::Rechteck1;
    case ObjektKnopf::Rechteck2:
      return panel::KonturTyp::Rechteck2;
    case ObjektKnopf::Rechteck3:
      return panel::KonturTyp::Rechteck3;
    case ObjektKnopf::Vieleck:
      return panel::KonturTyp::Vieleck;
    case ObjektKnopf::Kreis:
      return panel::KonturTyp::Kreis;
    case ObjektKnopf::Kreisbogen:
      return panel::KonturTyp::Kbogen;
    case ObjektKnopf::Text:
      return panel::KonturTyp::Text;
    case ObjektKnopf::Hpgl:
      return panel::KonturTyp::Hpgl;
    case ObjektKnopf::Hinweis:
      return panel::KonturTyp::Hinweis;
    case ObjektKnopf::Biblio:
      return panel::KonturTyp::Biblio;
  }
  return panel::KonturTyp::Hinweis;
}

}  // namespace

bool TMainForm::bearbeitbar() const { return !laeuft_ && Dokumenttyp == panel::DocumentKind::Panel; }

panel::DrawContext TMainForm::zeichenKontext() {
  panel::DrawContext context{*this, services_.canvas, services_.objectTypes, [this] {
                               if (view_ != nullptr) view_->PaintBoxOnPaint();
                             }};
  context.DrawPageControlOnChange = [this] {
    if (SGPageControl.Visible) DrawPageControlOnChange();
  };
  return context;
}

void TMainForm::panelNeuZeichnen() {
  // Before the initialisation the window has no size to lay the panel out in.
  if (!bInitFertig) return;
  panel::DrawContext context = zeichenKontext();
  panel::DrawTVXFormat(context);
}

void TMainForm::EigenschaftenAktualisieren() {
  panelNeuZeichnen();
  panel::EigenschaftenFuellen(*this, services_.objectTypes);
}

void TMainForm::ReihenfolgeSG_Neu_Aufbauen() {
  machine::Protokoll_schreiben("ReihenfolgeSG_Neu_Aufbauen()");
  RightPageControlSeite = RightPage::Einstellungen;
  // The rows changed: an editor left open would write into whatever row now stands there.
  panel::esgKomponentenVisible(*this, false);
  ToolPanel.Visible = false;
  RechteckPanel.Visible = false;
  panel::ReihenfolgeAufbauen(*this);
  EigenschaftenAktualisieren();
  panel::ReihenfolgeKnoepfe(*this);
  machine::Protokoll_schreiben("ReihenfolgeSG_Neu_Aufbauen() : End");
}

// ---- Paint box

void TMainForm::PaintBoxOnMouseDown(MouseButton button, int x, int y) {
  if (!bearbeitbar() || button != MouseButton::Left || bMaustasteGedrueckt) return;
  bMaustasteGedrueckt = true;
  const panel::PanelAnsicht& v = Ansicht;
  const bool imPanel = v.x0 < x && x < v.x0 + v.width && v.y0 - v.height < y && y < v.y0;
  if (!imPanel) return;
  if (bGummiRect) {
    GummiRect = panel::RubberBand{x, y, x, y};
    return;
  }
  panel::esgKomponentenVisible(*this, false);
  panel::SelectiereObject(*this, services_.objectTypes, x, y);
  ReihenfolgeSG_Neu_Aufbauen();
  panel::GriffpunktSuchen(*this, services_.objectTypes, x, y);
}

void TMainForm::PaintBoxOnMouseMove(int x, int y) {
  if (!bearbeitbar()) return;
  const panel::PanelAnsicht& v = Ansicht;
  if (!(v.x0 < x && x < v.x0 + v.width && v.y0 - v.height < y && y < v.y0)) return;
  if (bMaustasteGedrueckt) {
    GummiRect.x2 = x;
    GummiRect.y2 = y;
    if (Griffpunkt != panel::kKeinGriff) {
      panel::DrawContext context = zeichenKontext();
      if (panel::esgDragDrop(context, x, y)) bGeaendert = true;
    } else if (bGummiRect) {
      // The band follows the mouse.
      panelNeuZeichnen();
    }
    return;
  }
  if (iTrefferZeile == iAktZeile && panel::GriffpunktSuchen(*this, services_.objectTypes, x, y)) panelNeuZeichnen();
}

void TMainForm::PaintBoxOnMouseUp(MouseButton button) {
  if (Dokumenttyp != panel::DocumentKind::Panel || button != MouseButton::Left || !bMaustasteGedrueckt) return;
  bMaustasteGedrueckt = false;
  Griffpunkt = panel::kKeinGriff;
}

// ---- Object buttons

void TMainForm::GummiRectSpeedButtonClick(bool down) { bGummiRect = down; }

void TMainForm::ToolSpeedButtonClick() {
  if (!bearbeitbar()) return;
  ToolPanel.Visible = true;
  RechteckPanel.Visible = false;
}

void TMainForm::RechteckSpeedButtonClick() {
  if (!bearbeitbar()) return;
  ToolPanel.Visible = false;
  RechteckPanel.Visible = true;
}

void TMainForm::objektAnhaengen(panel::KonturTyp typ, const panel::NewRowRequest& request) {
  const panel::NewRole& neu = services_.objectTypes[typ].newRow;
  if (!neu) {
    if (FehlerSignal) FehlerSignal();
    return;
  }
  if (neu(*this, request) < 0) return;
  // The sub-panel a row was chosen from stays open for the next choice.
  const bool tools = ToolPanel.Visible;
  const bool rechtecke = RechteckPanel.Visible;
  iAktZeile = DatenStringGrid.RowCount() - 1;
  ReihenfolgeSG_Neu_Aufbauen();
  ToolPanel.Visible = tools && typ == panel::KonturTyp::Tool;
  RechteckPanel.Visible = rechtecke && (typ == panel::KonturTyp::Rechteck1 || typ == panel::KonturTyp::Rechteck2 ||
                                        typ == panel::KonturTyp::Rechteck3);
  bGeaendert = true;
}

void TMainForm::TSpeedButtonClick(int slot) {
  if (!bearbeitbar() || slot < 0 || slot >= panel::kToolCount) return;
  objektAnhaengen(panel::KonturTyp::Tool, panel::NewRowRequest{slot, {}});
}

std::optional<std::string> TMainForm::dateiWaehlen(const char* filter, const char* fileName,
                                                   const std::string& initialDir) {
  platform::FileDialogRequest request;
  request.filter = filter;
  request.fileName = fileName;
  request.initialDir = initialDir.empty() ? Dialogordner : initialDir;
  const auto chosen = services_.ui.openFileDialog(request);
  if (!chosen) return std::string();
  // The document file separates its cells with ';' and has no escape for it: the row would come
  // back broken when the document is opened again.
  if (!panel::cellTextAllowed(chosen->path, panel::kZelleMaxZeichen)) {
    services_.ui.messageBox(chosen->path +
                                "\nDieser Pfad kann nicht im Dokument gespeichert werden: er enthält ein ';' oder ein "
                                "Zeichen, das die Datei nicht aufnehmen kann.",
                            kProgrammname, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    return std::nullopt;
  }
  return chosen->path;
}

void TMainForm::ObjektSpeedButtonClick(ObjektKnopf knopf) {
  if (!bearbeitbar()) return;
  const panel::KonturTyp typ = typOf(knopf);
  panel::NewRowRequest request;
  if (knopf == ObjektKnopf::Hpgl || knopf == ObjektKnopf::Biblio) {
    // Without a new-row role there is nothing to choose a file for.
    if (!services_.objectTypes[typ].newRow) {
      if (FehlerSignal) FehlerSignal();
      return;
    }
    const bool plot = knopf == ObjektKnopf::Hpgl;
    const auto path = dateiWaehlen(plot ? kHpglFilter : kTvxFilter, plot ? "*.plt" : "*.tvx", {});
    if (!path) return;
    if (!plot) {
      std::error_code ec;
      if (path->empty() || !std::filesystem::is_regular_file(*path, ec) || lowerExtension(*path) != ".tvx") return;
    }
    request.path = *path;
  }
  const int rows = DatenStringGrid.RowCount();
  objektAnhaengen(typ, request);
  // The reader's messages on a chosen plot come once, here; every redraw reads it silently.
  if (typ == panel::KonturTyp::Hpgl && !request.path.empty() && DatenStringGrid.RowCount() > rows) {
    panel::hpglReportFile(*this, request.path, services_.ui);
  }
}

// ---- Properties grid

void TMainForm::esgOnSelectCell(int column, int row) {
  machine::Protokoll_schreiben("esgOnSelectCell(" + std::to_string(column) + ", " + std::to_string(row) + ")");
  esgSpalte = column;
  esgZeile = row;
  machine::Protokoll_schreiben("esgOnSelectCell() : End");
}

void TMainForm::esgOnClick() {
  if (!bearbeitbar() || !EigenschaftenStringGridControl.Enabled) return;
  machine::Protokoll_schreiben("esgOnClick()");
  panel::esgEditorVorbereiten(*this, esgZeile);
  panel::DrawContext context = zeichenKontext();
  if (panel::esgGoEditing(context, esgSpalte, esgZeile)) bGeaendert = true;
  machine::Protokoll_schreiben("esgOnClick() :: End");
}

void TMainForm::esgMaskEditOnExit(const std::string& text) {
  if (!bearbeitbar()) return;
  switch (panel::esgTextUebernehmen(*this, text)) {
    case panel::EditResult::Changed:
      bGeaendert = true;
      break;
    case panel::EditResult::Refused:
      if (FehlerSignal) FehlerSignal();
      break;
    case panel::EditResult::Unchanged:
      break;
  }
}

void TMainForm::esgComboBoxOnChange(int index) {
  if (!bearbeitbar()) return;
  machine::Protokoll_schreiben("esgComboBoxOnChange()");
  if (panel::esgAuswahlUebernehmen(*this, index) == panel::EditResult::Changed) bGeaendert = true;
  panelNeuZeichnen();
  machine::Protokoll_schreiben("esgComboBoxOnChange() :: End");
}

void TMainForm::esgButtonOnClick() {
  if (!bearbeitbar() || esgEditor.shown != panel::EditorKind::File) return;
  const std::string bisher = DatenStringGrid.Cells(kPfadZelle, iAktZeile);
  const std::string ordner = bisher.empty() ? std::string() : std::filesystem::path(bisher).parent_path().string();
  // A sub-drawing is a panel document; only a plot row chooses plot files.
  const bool biblio = esgTyp == static_cast<int>(panel::KonturTyp::Biblio);
  const auto path = dateiWaehlen(biblio ? kTvxFilter : kHpglFilter, biblio ? "*.tvx" : "*.plt", ordner);
  if (!path || path->empty()) return;
  if (panel::esgDateiUebernehmen(*this, *path) == panel::EditResult::Changed) {
    bGeaendert = true;
    if (!biblio) panel::hpglReportFile(*this, *path, services_.ui);
    panelNeuZeichnen();
  }
}

void TMainForm::epumAlleTiefenNeuSetzenClick() {
  if (!bearbeitbar()) return;
  // The rows change under the editor, which would write its old text back on leaving.
  panel::esgKomponentenVisible(*this, false);
  if (panel::alleTiefenNeuSetzen(*this)) bGeaendert = true;
  EigenschaftenAktualisieren();
}

void TMainForm::epumDisablenClick() {
  if (!bearbeitbar()) return;
  // The rows change under the editor, which would write its old text back on leaving.
  panel::esgKomponentenVisible(*this, false);
  if (panel::alleKonturenUmschalten(*this, panel::kModusJa, panel::kModusNein)) bGeaendert = true;
  EigenschaftenAktualisieren();
}

void TMainForm::epumEnablenClick() {
  if (!bearbeitbar()) return;
  // The rows change under the editor, which would write its old text back on leaving.
  panel::esgKomponentenVisible(*this, false);
  if (panel::alleKonturenUmschalten(*this, panel::kModusNein, panel::kModusJa)) bGeaendert = true;
  EigenschaftenAktualisieren();
}

// ---- Order grid

void TMainForm::rsgOnSelectCell(int row) {
  if (!bearbeitbar()) return;
  panel::esgKomponentenVisible(*this, false);
  if (!panel::ReihenfolgeWaehlen(*this, row)) return;
  EigenschaftenAktualisieren();
  panel::ReihenfolgeKnoepfe(*this);
  iTrefferZeile = row;
  Griffpunkt = panel::kKeinGriff;
}

void TMainForm::NachObenSpeedButtonClick() { reihenfolgeAendern(panel::KonturNachOben); }

void TMainForm::NachUntenSpeedButtonClick() { reihenfolgeAendern(panel::KonturNachUnten); }

void TMainForm::reihenfolgeAendern(bool (*verschieben)(panel::TMainFormState&)) {
  if (!bearbeitbar()) return;
  panel::esgKomponentenVisible(*this, false);
  if (!verschieben(*this)) return;
  ReihenfolgeSG_Neu_Aufbauen();
  bGeaendert = true;
}

void TMainForm::DelSpeedButtonClick() {
  if (!bearbeitbar()) return;
  panel::esgKomponentenVisible(*this, false);
  if (!bEntwicklungsmodus &&
      services_.ui.messageBox("Möchten Sie die Kontur wirklich löschen?\n", kProgrammname, platform::MsgButtons::YesNo,
                              platform::MsgIcon::Question) != platform::MsgResult::Yes) {
    return;
  }
  if (panel::KonturLoeschen(*this)) bGeaendert = true;
  ReihenfolgeSG_Neu_Aufbauen();
}

}  // namespace app
