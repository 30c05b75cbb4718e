// The panel drawing: layout and decorations, and the drawing walk over the rows.
#include "PanelDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "machine/TraceLog.h"
#include "panel/DrawHelpers.h"
#include "panel/Keywords.h"
#include "panel/Palette.h"
#include "panel/RowCells.h"
#include "platform/NumberFormat.h"

namespace panel {

using platform::Brush;
using platform::BrushStyle;
using platform::Canvas;
using platform::Pen;
using platform::PenStyle;

namespace {

constexpr int kNullpunktRadius = 9;

void useRulerFont(Canvas& canvas) {
  platform::Font font = canvas.font();
  font.name = std::string(kLinealSchrift);
  font.size = kLinealSchriftgroesse;
  canvas.setFont(font);
}

int textWidth(Canvas& canvas, const std::string& text) { return canvas.textExtent(text).width; }

// Ruler label: fixed-point with the given precision and two decimals; a minimum of 0 as "0".
std::string rulerLabel(double value, int precision, bool isMinimum) {
  if (isMinimum && value == 0.0) return "0";
  return platform::formatFixedSignificant(value, precision, 2);
}

int scaled(double value, double scale) { return clampPixel(value * scale); }

// The drawing walk over rows 1 to the last: each type's drawing role, in the fixed order of the
// keywords; unknown keywords, TOOL and notes draw nothing.
void drawRow(DrawContext& context, int row) {
  const StringGrid& grid = context.form.DatenStringGrid;
  const int typ = keywordTypeNumber(trimBlanks(grid.Cells(kZelleTyp, row)));
  if (typ < 0) return;
  const KonturTyp kind = static_cast<KonturTyp>(typ);
  const DrawRole& role = context.objectTypes[kind].drawRow;
  if (role) role(context, grid, row);
  if (kind == KonturTyp::Hpgl && row == context.form.iAktZeile && context.DrawPageControlOnChange)
    context.DrawPageControlOnChange();
}

void drawRows(DrawContext& context) {
  for (int row = 1; row < context.form.DatenStringGrid.RowCount(); ++row) drawRow(context, row);
}

}  // namespace

void PanelLayoutBerechnen(PanelAnsicht& view, Canvas& canvas) {
  useRulerFont(canvas);
  const int fh = fontHeight(canvas.font());
  const platform::Size bitmap = canvas.size();
  view.x0 = textWidth(canvas, "999.99") + 10;
  view.y0 = bitmap.height + 2 * fh - 10;
  view.width = bitmap.width - view.x0 - textWidth(canvas, ".99") - 10;
  view.height = bitmap.height + 2 * fh - 20;
  const double spanX = view.xMax - view.xMin;
  const double spanY = view.yMax - view.yMin;
  const double sx = spanX != 0.0 ? view.width / spanX : 1.0;
  const double sy = spanY != 0.0 ? view.height / spanY : 1.0;
  // A paint box or panel of no size would give a scale of 0 or below; every conversion back to
  // millimetres divides by it.
  view.dMassstab = std::max(std::min(sx, sy) - 0.1, kMinimumMassstab);
}

void PanelHintergrundZeichnen(Canvas& canvas, int x0, int y0, int width, int height) {
  const platform::Size bitmap = canvas.size();
  canvas.setPen(Pen{kHintergrundFarbe, 1, PenStyle::Solid, platform::PenMode::Copy});
  canvas.setBrush(Brush{kHintergrundFarbe, BrushStyle::Solid});
  canvas.rectangle(0, 0, bitmap.width, bitmap.height);
  canvas.setBrush(Brush{kPlattenFarbe, BrushStyle::Solid});
  canvas.fillRect({x0, y0 - height, x0 + width, y0});
  canvas.moveTo(x0, y0);
}

void LinealeZeichnen(Canvas& canvas, int x0, int y0, int width, int height, double scale, double xMin, double yMin,
                     double xMax, double yMax) {
  canvas.setPen(Pen{0xFFFFFF, 1, PenStyle::Solid, platform::PenMode::Copy});
  canvas.setBrush(Brush{kHintergrundFarbe, BrushStyle::Solid});
  platform::Font font = canvas.font();
  font.colour = 0xFFFFFF;
  canvas.setFont(font);
  const int fh = fontHeight(font);

  auto xTick = [&](double value, bool isMinimum) {
    const int x = x0 + scaled(value, scale);
    canvas.moveTo(x, y0);
    canvas.lineTo(x, y0 + 5);
    const std::string label = rulerLabel(value, 6, isMinimum);
    canvas.textOut(x - textWidth(canvas, label) / 2, y0 + 5, label);
  };
  auto yTick = [&](double value, bool isMinimum) {
    const int y = y0 - scaled(value, scale);
    canvas.moveTo(x0, y);
    canvas.lineTo(x0 - 5, y);
    const std::string label = rulerLabel(value, 7, isMinimum);
    canvas.textOut(x0 - textWidth(canvas, label) - 7, y + fh / 2 - 2, label);
  };

  xTick(xMin, true);
  xTick(xMax, false);
  if (3 * static_cast<int>(rulerLabel(xMax, 6, false).size()) < width) xTick(xMax / 2.0, false);
  yTick(yMin, true);
  yTick(yMax, false);
  if (3 * fh < height) yTick(yMax / 2.0, false);
  canvas.moveTo(x0, y0);
}

void NullpunktZeichnen(DrawContext& context) {
  Canvas& canvas = context.canvas;
  const TMainFormState& form = context.form;
  const int px = mm2PixelX(form.Ansicht, 0.0);
  const int py = mm2PixelY(form.Ansicht, 0.0);
  if (form.DrawLeerfahrten) {
    canvas.setPen(Pen{form.Farben.FarbeLeerfahrt, 1, PenStyle::Dot, platform::PenMode::Copy});
    canvas.lineTo(px, py);
  }
  canvas.setPen(Pen{kNullpunktFarbe, 1, PenStyle::Solid, platform::PenMode::Copy});
  canvas.setBrush(Brush{kNullpunktFarbe, BrushStyle::Clear});
  canvas.ellipse(px - kNullpunktRadius, py - kNullpunktRadius, px + kNullpunktRadius, py + kNullpunktRadius);

  // The filled quarter between the radius to the right and the radius down the screen.
  std::vector<platform::Point> quarter{{px, py}};
  constexpr int kSteps = 8;
  for (int i = 0; i <= kSteps; ++i) {
    const double a = (std::numbers::pi / 2.0) * i / kSteps;
    quarter.push_back({px + platform::saturatingRound(kNullpunktRadius * std::cos(a)),
                       py + platform::saturatingRound(kNullpunktRadius * std::sin(a))});
  }
  canvas.setPen(Pen{kNullpunktFarbe, 1, PenStyle::Clear, platform::PenMode::Copy});
  canvas.setBrush(Brush{kNullpunktFarbe, BrushStyle::Solid});
  canvas.polygon(quarter);
  canvas.setPen(Pen{kNullpunktFarbe, 1, PenStyle::Solid, platform::PenMode::Copy});
  canvas.moveTo(px, py);
}

void NummerZeichnen(DrawContext& context, int x, int y, int row) {
  Canvas& canvas = context.canvas;
  const TMainFormState& form = context.form;
  const platform::Point pos = canvas.penPos();
  const int r = textWidth(canvas, "999") / 2;
  const int cx = row == form.iTrefferZeile ? x + 18 : x;
  const int cy = y;

  Pen pen = canvas.pen();
  pen.colour = form.Farben.FarbeFraesweg;
  pen.style = PenStyle::Solid;
  canvas.setPen(pen);
  canvas.setBrush(Brush{canvas.brush().colour, BrushStyle::Clear});
  canvas.ellipse(cx - r, cy - r, cx + r, cy + r);

  canvas.setBrush(Brush{0xFFFFFF, BrushStyle::Solid});
  platform::Font font = canvas.font();
  font.colour = form.Farben.FarbeFraesweg;
  canvas.setFont(font);
  const std::string text = std::to_string(row);
  const platform::Size extent = canvas.textExtent(text);
  canvas.textOut(cx - extent.width / 2, cy - extent.height / 2, text);
  canvas.moveTo(pos.x, pos.y);
}

void GummiRectZeichnen(DrawContext& context) {
  const TMainFormState& form = context.form;
  if (!form.bGummiRect) return;
  Canvas& canvas = context.canvas;
  const RubberBand& g = form.GummiRect;
  canvas.setPen(Pen{form.Farben.FarbeGummiRect, 1, PenStyle::Dot, platform::PenMode::Copy});
  canvas.moveTo(g.x1, g.y1);
  canvas.lineTo(g.x1, g.y2);
  canvas.lineTo(g.x2, g.y2);
  canvas.lineTo(g.x2, g.y1);
  canvas.lineTo(g.x1, g.y1);
}

void AusdehnungZeichnen(DrawContext& context) {
  const TMainFormState& form = context.form;
  if (!form.bHerstellermodus || !form.DrawNF) return;
  Canvas& canvas = context.canvas;
  const Brush saved = canvas.brush();
  canvas.setPen(Pen{0xFFFFFF, 1, PenStyle::Solid, platform::PenMode::Copy});
  canvas.setBrush(Brush{kAusdehnungSchraffur, BrushStyle::DiagCross});
  const Extent& e = form.Ausdehnung;
  canvas.rectangle(mm2PixelX(form.Ansicht, e.xMin), mm2PixelY(form.Ansicht, e.yMin), mm2PixelX(form.Ansicht, e.xMax),
                   mm2PixelY(form.Ansicht, e.yMax));
  canvas.setBrush(Brush{canvas.brush().colour, saved.style});
}

void NutzenZeichnen(DrawContext& context) {
  TMainFormState& form = context.form;
  const bool drawNummer = form.DrawNummer;
  form.DrawNummer = false;
  const TNutzenfertigung copies = form.Nutzenfertigung;
  const int xCount = NutzenAnzahlBegrenzen(copies.xNFAnzahl);
  const int yCount = NutzenAnzahlBegrenzen(copies.yNFAnzahl);
  for (int i = 0; i < xCount; ++i) {
    for (int j = 0; j < yCount; ++j) {
      if (i == 0 && j == 0) continue;
      form.Nutzenversatz = Shift{i * copies.xNFAbstand, j * copies.yNFAbstand};
      for (int row = 1; row < form.DatenStringGrid.RowCount(); ++row) {
        // A copy is never drawn selected.
        const std::string selected = form.DatenStringGrid.Cells(kZelleSelektiert, row);
        form.DatenStringGrid.setCells(kZelleSelektiert, row, "false");
        drawRow(context, row);
        form.DatenStringGrid.setCells(kZelleSelektiert, row, selected);
      }
    }
  }
  form.DrawNummer = drawNummer;
  form.Nutzenversatz = Shift{};
}

void DrawTVXFormat(DrawContext& context) {
  machine::Protokoll_schreiben("DrawTVXFormat()");
  TMainFormState& form = context.form;
  Canvas& canvas = context.canvas;
  PanelAnsicht& view = form.Ansicht;

  view.xMin = 0.0;
  view.yMin = 0.0;
  view.xMax = form.Abmessungen.Plattenbreite;
  view.yMax = form.Abmessungen.Plattenhoehe;
  PanelLayoutBerechnen(view, canvas);
  view.width = scaled(form.Abmessungen.Plattenbreite, view.dMassstab);
  view.height = scaled(form.Abmessungen.Plattenhoehe, view.dMassstab);

  PanelHintergrundZeichnen(canvas, view.x0, view.y0, view.width, view.height);
  LinealeZeichnen(canvas, view.x0, view.y0, view.width, view.height, view.dMassstab, view.xMin, view.yMin, view.xMax,
                  view.yMax);
  NullpunktZeichnen(context);

  form.Ausdehnung = Extent{};
  form.Einfuegeversatz = Shift{};
  form.Nutzenversatz = Shift{};
  drawRows(context);
  form.Ausdehnung.xMax += form.Abmessungen.Fraeserdurchmesser;
  form.Ausdehnung.yMax += form.Abmessungen.Fraeserdurchmesser;
  form.AusdehnungEinzeln = form.Ausdehnung;

  AusdehnungZeichnen(context);
  if (form.MenuNutzenfertigung.Checked) NutzenZeichnen(context);
  GummiRectZeichnen(context);
  if (context.copyToScreen) context.copyToScreen();
  machine::Protokoll_schreiben("DrawTVXFormat() :: End");
}

void AnsichtNeuZeichnen(DrawContext& context) {
  switch (context.form.Dokumenttyp) {
    case DocumentKind::Panel:
      DrawTVXFormat(context);
      break;
    case DocumentKind::Hpgl:
    case DocumentKind::CommandFile:
    case DocumentKind::DinIso:
    case DocumentKind::Dxf:
      if (context.formatPaint) context.formatPaint(context.form.Dokumenttyp);
      break;
    case DocumentKind::None:
      break;
  }
}

}  // namespace panel
