// BIBLIOTHEK rows.
#include "TypeBiblio.h"

#include <filesystem>
#include <system_error>

#include "panel/DocumentFile.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"

namespace panel {

namespace {

constexpr std::string_view kBiblio = "BIBLIOTHEK";
constexpr int kZellePfad = 5;

// The insertion shift of the contents, set back to 0 however they are left, a stop included.
class InsertionShift {
 public:
  InsertionShift(TMainFormState& form, MmPoint ursprung) : form_(form) {
    form_.Einfuegeversatz = Shift{ursprung.x, ursprung.y};
  }
  ~InsertionShift() { form_.Einfuegeversatz = Shift{}; }
  InsertionShift(const InsertionShift&) = delete;
  InsertionShift& operator=(const InsertionShift&) = delete;

 private:
  TMainFormState& form_;
};

// The type of a content row; empty for sub-drawings, notes and unknown keywords, which a
// sub-drawing passes over.
std::optional<KonturTyp> contentType(const StringGrid& grid, int row) {
  const int typ = keywordTypeNumber(trimBlanks(grid.Cells(kZelleTyp, row)));
  if (typ < 0) return std::nullopt;
  const auto kind = static_cast<KonturTyp>(typ);
  if (kind == KonturTyp::Biblio || kind == KonturTyp::Hinweis) return std::nullopt;
  return kind;
}

}  // namespace

int Biblio_Neu(TMainFormState& form, const std::string& path) {
  const int row = appendObjectRow(form, std::string(kBiblio),
                                  {{1, "0.00"},
                                   {2, "0.00"},
                                   {3, defaultDepthCell(form)},
                                   {4, std::filesystem::path(path).filename().string()},
                                   {kZellePfad, path}});
  Biblio_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<BiblioRecord> Biblio_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kBiblio) return std::nullopt;
  BiblioRecord biblio;
  static_cast<RowBasis&>(biblio) = readRowBasis(grid, row);
  biblio.ursprung = {cellNumber(grid, 1, row), cellNumber(grid, 2, row)};
  biblio.tiefe = cutDepth(grid, 3, row);
  biblio.Pfad = grid.Cells(kZellePfad, row);
  std::error_code ec;
  if (biblio.Pfad.empty() || !std::filesystem::exists(biblio.Pfad, ec)) return std::nullopt;
  auto inhalt = std::make_shared<StringGrid>(kKonturSpalten, 1);
  BibliothekLaden(*inhalt, biblio.breite, biblio.hoehe, biblio.Pfad);
  biblio.inhalt = std::move(inhalt);
  biblio.o = toPixel(form.Ansicht, biblio.ursprung);
  biblio.breitePx = mm2PixelLength(form.Ansicht, biblio.breite);
  biblio.hoehePx = mm2PixelLength(form.Ansicht, biblio.hoehe);
  return biblio;
}

void Biblio_ZeichneLeerfahrt(DrawContext& context, const BiblioRecord& biblio) {
  drawTravel(context, biblio.Modus, biblio.o);
}

void Biblio_ZeichneKontur(DrawContext& context, const BiblioRecord& biblio) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  clearBrush(canvas);
  canvas.setPen(outlinePen(context.form.Farben, biblio.Modus));
  context.form.BiblioStringGrid = *biblio.inhalt;
  Biblio_InhaltZeichnen(context, biblio);
  if (biblio.selektiert) {
    const platform::Point o = biblio.o;
    drawHandles(canvas, {{o.x - 15, o.y + 15}, {o.x + 15, o.y + 15}, {o.x + 15, o.y - 15}, {o.x - 15, o.y - 15}});
    if (context.form.Griffpunkt == kGriffBiblioUrsprung) AktivGriffZeichnen(canvas, o.x, o.y);
  }
  if (!isMilled(biblio.Modus)) canvas.moveTo(before.x, before.y);
}

void Biblio_ZeichneNummer(DrawContext& context, const BiblioRecord& biblio, int row) {
  NummerZeichnen(context, biblio.o.x, biblio.o.y, row);
}

void Biblio_AusdehnungErweitern(Extent& extent, const BiblioRecord& biblio) {
  extent.include(0.0, 0.0, biblio.breite, biblio.hoehe);
}

void Biblio_InhaltZeichnen(DrawContext& context, const BiblioRecord& biblio) {
  TMainFormState& form = context.form;
  const bool drawNummer = form.DrawNummer;
  form.DrawNummer = false;
  {
    const InsertionShift shift(form, biblio.ursprung);
    // Each content row is drawn in the sub-drawing's mode and unselected.
    StringGrid inhalt = *biblio.inhalt;
    for (int row = 1; row < inhalt.RowCount(); ++row) {
      inhalt.setCells(kZelleModus, row, biblio.Modus);
      inhalt.setCells(kZelleSelektiert, row, "false");
      const std::optional<KonturTyp> kind = contentType(inhalt, row);
      if (!kind || *kind == KonturTyp::Tool) continue;
      const DrawRole& role = context.objectTypes[*kind].drawRow;
      if (role) role(context, inhalt, row);
    }
  }
  form.DrawNummer = drawNummer;
}

void Biblio_Fraesen(MillContext& context, const BiblioRecord& biblio) {
  if (!isMilled(biblio.Modus)) return;
  context.motion.cncMoveTo(biblio.ursprung.x, biblio.ursprung.y);
  Biblio_InhaltFraesen(context, biblio);
}

void Biblio_InhaltFraesen(MillContext& context, const BiblioRecord& biblio) {
  const InsertionShift shift(context.form, biblio.ursprung);
  // The contents mill by their own stored modes; a TOOL row switches the speeds from there on.
  const StringGrid& inhalt = *biblio.inhalt;
  for (int row = 1; row < inhalt.RowCount(); ++row) {
    const std::optional<KonturTyp> kind = contentType(inhalt, row);
    if (!kind) continue;
    const MillRole& role = context.objectTypes[*kind].millRow;
    if (role) role(context, inhalt, row);
  }
}

bool Biblio_Selektieren(const TMainFormState&, const BiblioRecord& biblio, int x, int y) {
  const platform::Point o = biblio.o;
  return o.x <= x && x <= o.x + biblio.breitePx && o.y - biblio.hoehePx <= y && y <= o.y;
}

void Biblio_GriffTesten(TMainFormState& form, const BiblioRecord& biblio, int x, int y) {
  const platform::Point o = biblio.o;
  if (o.x < x && x < o.x + biblio.breitePx && o.y - biblio.hoehePx < y && y < o.y)
    form.Griffpunkt = kGriffBiblioUrsprung;
}

void Biblio_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  showPropertyRows(form, row, fileAtOriginLayout("Bibliothek-Eigenschaften:", KonturTyp::Biblio));
}

void Biblio_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 3, -1, 3); }

}  // namespace panel
