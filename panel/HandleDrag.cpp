// The drag rules per kind and handle. The rows whose rule needs the object's geometry are parsed
// once per mouse position; the others take the mouse point as it is.
#include "HandleDrag.h"

#include <optional>
#include <string>

#include "machine/TraceLog.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/PropertyGrid.h"
#include "panel/RowCells.h"
#include "panel/Selection.h"
#include "panel/types/TypeKbogen.h"
#include "panel/types/TypeKreis.h"
#include "panel/types/TypeLinie.h"
#include "panel/types/TypeRechteck.h"
#include "panel/types/TypeVieleck.h"

namespace panel {

namespace {

// The cells a drag writes: pairs of a cell and its new value.
class CellWrites {
 public:
  void set(int cell, double value) {
    if (count_ < kMax) writes_[count_++] = {cell, value};
  }
  // Writes the values formatted as cells; true when a cell changed.
  bool applyTo(StringGrid& grid, int row) const {
    bool changed = false;
    for (int i = 0; i < count_; ++i) {
      std::string text = cellText(writes_[i].value);
      if (grid.Cells(writes_[i].cell, row) != text) {
        grid.setCells(writes_[i].cell, row, std::move(text));
        changed = true;
      }
    }
    return changed;
  }

 private:
  struct Write {
    int cell = 0;
    double value = 0.0;
  };
  static constexpr int kMax = 4;
  Write writes_[kMax];
  int count_ = 0;
};

void moveTo(CellWrites& w, double X, double Y) {
  w.set(1, X);
  w.set(2, Y);
}

// A radius handle of a polygon, circle or arc: the distance from the centre along the handle's
// axis; never written negative. `first` is the kind's left handle, followed by right, top, bottom.
void radiusHandle(CellWrites& w, int code, int first, MmPoint centre, double X, double Y) {
  double r = 0.0;
  switch (code - first) {
    case 0:
      r = centre.x - X;
      break;
    case 1:
      r = X - centre.x;
      break;
    case 2:
      r = Y - centre.y;
      break;
    default:
      r = centre.y - Y;
      break;
  }
  if (r >= 0.0) w.set(3, r);
}

void dragLine(CellWrites& w, const LinieRecord& l, int code, double X, double Y) {
  if (code == kGriffLinieStart) {
    moveTo(w, X, Y);
  } else if (code == kGriffLinieEnde) {
    w.set(3, X);
    w.set(4, Y);
  } else if (code == kGriffLinieMitte) {
    // The midpoint follows the mouse; length and direction stay.
    const double dx = X - l.mitte.x;
    const double dy = Y - l.mitte.y;
    w.set(1, l.start.x + dx);
    w.set(2, l.start.y + dy);
    w.set(3, l.ende.x + dx);
    w.set(4, l.ende.y + dy);
  }
}

void dragRechteck1(CellWrites& w, const RechteckRecord& r, int code, double X, double Y) {
  if (code == kGriffRechteckLinks) {
    if (X < r.P3.x && Y < r.P3.y) moveTo(w, X, Y);
  } else if (code == kGriffRechteckMitte) {
    w.set(1, X - r.w / 2.0);
    w.set(2, Y - r.h / 2.0);
    w.set(3, X + r.w / 2.0);
    w.set(4, Y + r.h / 2.0);
  } else if (code == kGriffRechteckRechts) {
    if (X > r.P1.x && Y > r.P1.y) {
      w.set(3, X);
      w.set(4, Y);
    }
  }
}

// Centre and size: the centre stays, so the edges on the grabbed corner's side follow the mouse
// and the opposite edges move the other way.
void dragRechteck2(CellWrites& w, const RechteckRecord& r, int code, double X, double Y) {
  double breite = -1.0;
  double hoehe = -1.0;
  if (code == kGriffRechteckLinks) {
    breite = 2.0 * (r.P1.x - X) + r.w;
    hoehe = 2.0 * (r.P1.y - Y) + r.h;
  } else if (code == kGriffRechteckMitte) {
    moveTo(w, X, Y);
  } else if (code == kGriffRechteckRechts) {
    breite = 2.0 * (X - r.P1.x) - r.w;
    hoehe = 2.0 * (Y - r.P1.y) - r.h;
  }
  if (breite >= 0.0 && hoehe >= 0.0) {
    w.set(3, breite);
    w.set(4, hoehe);
  }
}

void dragRechteck3(CellWrites& w, const RechteckRecord& r, int code, double X, double Y) {
  if (code == kGriffRechteckLinks) {
    moveTo(w, X, Y);
  } else if (code == kGriffRechteckMitte) {
    moveTo(w, X - r.w / 2.0, Y - r.h / 2.0);
  } else if (code == kGriffRechteckRechts) {
    if (X > r.P1.x && Y > r.P1.y) {
      w.set(3, X - r.P1.x);
      w.set(4, Y - r.P1.y);
    }
  }
}

// A kind that is centre plus radius handles: the centre handle moves it, the others set the radius.
template <class Record>
void dragRound(CellWrites& w, const std::optional<Record>& record, int code, int centreCode, double X, double Y) {
  if (!record) return;
  if (code == centreCode) {
    moveTo(w, X, Y);
  } else if (code > centreCode && code <= centreCode + 4) {
    radiusHandle(w, code, centreCode + 1, record->M, X, Y);
  }
}

// Collects the writes of handle `code` of row `row`, a row of kind `typ`.
CellWrites dragWrites(const TMainFormState& form, int typ, int row, int code, double X, double Y) {
  CellWrites w;
  const StringGrid& grid = form.DatenStringGrid;
  switch (static_cast<KonturTyp>(typ)) {
    case KonturTyp::Plan:
      if (code == kGriffPlanMitte) moveTo(w, X, Y);
      break;
    case KonturTyp::Punkt:
      if (code == kGriffPunkt) moveTo(w, X, Y);
      break;
    case KonturTyp::Linie1:
      if (const auto l = Linie1_Lesen(form, grid, row)) dragLine(w, *l, code, X, Y);
      break;
    case KonturTyp::Rechteck1:
      if (const auto r = Rechteck1_Lesen(form, grid, row)) dragRechteck1(w, *r, code, X, Y);
      break;
    case KonturTyp::Rechteck2:
      if (const auto r = Rechteck2_Lesen(form, grid, row)) dragRechteck2(w, *r, code, X, Y);
      break;
    case KonturTyp::Rechteck3:
      if (const auto r = Rechteck3_Lesen(form, grid, row)) dragRechteck3(w, *r, code, X, Y);
      break;
    case KonturTyp::Vieleck:
      dragRound(w, Vieleck_Lesen(form, grid, row), code, kGriffVieleckMitte, X, Y);
      break;
    case KonturTyp::Kreis:
      dragRound(w, Kreis_Lesen(form, grid, row), code, kGriffKreisMitte, X, Y);
      break;
    case KonturTyp::Kbogen:
      dragRound(w, Kbogen_Lesen(form, grid, row), code, kGriffKbogenMitte, X, Y);
      break;
    case KonturTyp::Text:
      // Whichever anchor was grabbed, the position cells take the point.
      w.set(2, X);
      w.set(3, Y);
      break;
    case KonturTyp::Hpgl:
      if (code == kGriffHpglUrsprung) moveTo(w, X, Y);
      break;
    case KonturTyp::Biblio:
      if (code == kGriffBiblioUrsprung) moveTo(w, X, Y);
      break;
    case KonturTyp::Tool:
    case KonturTyp::Hinweis:
      break;
  }
  return w;
}

}  // namespace

bool esgDragDrop(DrawContext& context, int x, int y) {
  TMainFormState& form = context.form;
  const int row = form.iTrefferZeile;
  if (row == -1) return false;
  machine::Protokoll_schreiben("esgDragDrop()");
  const double X = Pixel2mmX(form.Ansicht, x);
  const double Y = Pixel2mmY(form.Ansicht, y);
  bool changed = false;
  // The rule is the one of the kind shown; a row of another kind (a handle of an overlapped
  // object) is left alone rather than written with cells that mean something else to it.
  if (form.esgTyp >= 0 && form.esgTyp == rowTypeNumber(form.DatenStringGrid, row)) {
    changed = dragWrites(form, form.esgTyp, row, form.Griffpunkt, X, Y).applyTo(form.DatenStringGrid, row);
  }
  EigenschaftenAktualisieren(context);
  machine::Protokoll_schreiben("esgDragDrop() :: End");
  return changed;
}

}  // namespace panel
