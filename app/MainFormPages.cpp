// The drawing switches of the main window, the data grids over the drawing and the placing of
// the window's panels.
#include <optional>
#include <utility>

#include "MainForm.h"
#include "machine/TraceLog.h"
#include "panel/types/TypeHpgl.h"

namespace app {

void TMainForm::zeichenschalterSetzen(bool& flag, bool down) {
  // During a run the bitmap holds the cut drawn so far; the switches are locked with the panel.
  if (laeuft_) return;
  flag = down;
  AnsichtNeuZeichnen();
}

void TMainForm::DrawNFSpeedButtonOnClick(bool down) { zeichenschalterSetzen(DrawNF, down); }

void TMainForm::DrawFraeswegeSpeedButtonOnClick(bool down) { zeichenschalterSetzen(DrawFraeswege, down); }

void TMainForm::DrawNummerSpeedButtonOnClick(bool down) { zeichenschalterSetzen(DrawNummer, down); }

void TMainForm::DrawLeerfahrtenSpeedButtonOnClick(bool down) { zeichenschalterSetzen(DrawLeerfahrten, down); }

void TMainForm::DSGSpeedButtonOnClick(bool down) {
  DSGSpeedButtonDown = down;
  SGPageControl.Visible = down && Dokumenttyp != panel::DocumentKind::None;
}

void TMainForm::datenlisteEinsetzen(SGPage page, std::function<void(panel::StringGrid&)> fill) {
  datenlisten_.at(static_cast<std::size_t>(page)) = std::move(fill);
}

void TMainForm::datenlistenEinsetzen() {
  datenlisteEinsetzen(SGPage::HPGL, [this](panel::StringGrid& grid) { plotDatenEintragen(grid); });
  datenlisteEinsetzen(SGPage::DINISO,
                      [this](panel::StringGrid& grid) { DINISODatenEintragen(grid, DINISODatenmodul.elements()); });
  datenlisteEinsetzen(SGPage::DXF,
                      [this](panel::StringGrid& grid) { DXFDatenEintragen(grid, DXFDatenmodul.elements()); });
}

void TMainForm::plotDatenEintragen(panel::StringGrid& grid) {
  // Each plot row reads its plot into a module of its own; the grid shows the one the row draws.
  if (Dokumenttyp == panel::DocumentKind::Panel && iAktZeile >= 1 && iAktZeile < DatenStringGrid.RowCount()) {
    const std::optional<panel::HpglRecord> zeile = panel::Hpgl_Lesen(*this, DatenStringGrid, iAktZeile);
    if (zeile && zeile->plot) {
      if (const formats::HpglElementList* liste = formats::hpglPlotElements(*zeile->plot)) {
        HPGLDatenEintragen(grid, *liste);
        return;
      }
    }
  }
  HPGLDatenEintragen(grid, HPGLDatenmodul.elements());
}

void TMainForm::DrawPageControlOnChange() {
  panel::StringGrid* grid = nullptr;
  switch (SGPageControlSeite) {
    case SGPage::HPGL:
      grid = &HPGLStringGrid;
      break;
    case SGPage::DINISO:
      grid = &DINISOStringGrid;
      break;
    case SGPage::DXF:
      grid = &DXFStringGrid;
      break;
    case SGPage::Daten:
      return;
  }
  const auto& fill = datenlisten_.at(static_cast<std::size_t>(SGPageControlSeite));
  if (fill) fill(*grid);
}

void TMainForm::PlatziereKomponenten() {
  machine::Protokoll_schreiben("PlatziereKomponenten()");
  if (view_ != nullptr) view_->placeComponents();
  machine::Protokoll_schreiben("PlatziereKomponenten() :: End");
}

void TMainForm::ControlBarPaint() {
  PlatziereKomponenten();
  AnsichtNeuZeichnen();
}

}  // namespace app
