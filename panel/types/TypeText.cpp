// TEXT rows. The font is read once per parse and kept in the parsed record, so the drawing and
// the milling that follow the parse lay out exactly the text that was measured.
#include "TypeText.h"

#include <algorithm>
#include <string>

#include "machine/TextConvert.h"
#include "panel/DrawHelpers.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/ObjectDrawing.h"
#include "panel/PropertyRows.h"
#include "panel/types/FontCache.h"
#include "platform/TextCodec.h"

namespace panel {

namespace {

constexpr std::string_view kText = "TEXT";
constexpr int kWerteSpalte = 1;
constexpr int kZeileText = 4;
constexpr int kZeileTiefe = 7;

// The safety height at the surface while a text is cut, and back afterwards, also when a failure
// code (the stop among them) leaves the text.
class SafetyHeightAtSurface {
 public:
  explicit SafetyHeightAtSurface(TAbmessungen& abmessungen)
      : abmessungen_(abmessungen), saved_(abmessungen.Sicherheitsebene) {
    abmessungen_.Sicherheitsebene = 0.0;
  }
  ~SafetyHeightAtSurface() { abmessungen_.Sicherheitsebene = saved_; }
  SafetyHeightAtSurface(const SafetyHeightAtSurface&) = delete;
  SafetyHeightAtSurface& operator=(const SafetyHeightAtSurface&) = delete;

 private:
  TAbmessungen& abmessungen_;
  double saved_;
};

void layout(const TextRecord& t, const TextStrokeSink& sink) {
  if (t.schrift) Text_Schreiben(*t.schrift, t.metrik, t.Textinhalt, t.start, &sink);
}

// The way to a stroke's start: a dotted travel line when travel moves are shown and the text is
// milled, else a plain move of the pen; then the pen of the text's mode for the stroke.
void drawTravelToStroke(platform::Canvas& canvas, const TMainFormState& form, const TextRecord& t,
                        platform::Point start) {
  if (form.DrawLeerfahrten && isMilled(t.Modus)) {
    canvas.setPen(dottedPen(form.Farben.FarbeLeerfahrt));
    canvas.lineTo(start.x, start.y);
  } else {
    canvas.moveTo(start.x, start.y);
  }
  canvas.setPen(outlinePen(form.Farben, t.Modus));
}

void drawSegment(platform::Canvas& canvas, const TMainFormState& form, MmPoint from, MmPoint to) {
  const platform::Point a = toPixel(form.Ansicht, from);
  const platform::Point b = toPixel(form.Ansicht, to);
  canvas.moveTo(a.x, a.y);
  canvas.lineTo(b.x, b.y);
}

}  // namespace

bool textContentAllowed(std::string_view text) { return cellTextAllowed(text, kTextMaxZeichen); }

int Text_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kText),
                                  {{1, "links"},
                                   {2, "0.0"},
                                   {3, "0.0"},
                                   {4, "ABC"},
                                   {5, std::string(kSchriftNormal)},
                                   {6, "3.0"},
                                   {7, defaultDepthCell(form)}});
  Text_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<TextRecord> Text_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kText) return std::nullopt;
  TextRecord t;
  static_cast<RowBasis&>(t) = readRowBasis(grid, row);
  t.Ausrichtung = cellOption(grid, 1, row);
  t.Textinhalt = cellOption(grid, 4, row);
  t.Schriftname = cellOption(grid, 5, row);
  t.position = {shiftedX(form, cellNumber(grid, 2, row)), shiftedY(form, cellNumber(grid, 3, row))};
  t.Schrifthoehe = cellNumber(grid, 6, row);
  t.tiefe = cutDepth(grid, 7, row);

  const std::shared_ptr<const FontLoad> load = sharedStrokeFont(t.Schriftname);
  t.schriftStatus = load->status;
  const StrokeFont* font = load->status == FontStatus::Ok ? &load->font : nullptr;
  t.metrik = textMetrik(font, t.Schriftname, t.Schrifthoehe);
  if (font != nullptr && platform::utf8Characters(t.Textinhalt).size() <= kTextMaxZeichen) {
    // Shares the font read once with every other parse of it.
    t.schrift = std::shared_ptr<const StrokeFont>(load, font);
    t.breite = Text_Schreiben(*t.schrift, t.metrik, t.Textinhalt, t.position, nullptr);
  }

  t.start = t.position;
  if (t.Ausrichtung == "zentriert") {
    t.start.x = t.position.x - t.breite / 2.0;
  } else if (t.Ausrichtung != "links") {
    t.start.x = t.position.x - t.breite;
  }

  const PanelAnsicht& view = form.Ansicht;
  t.pStart = toPixel(view, t.start);
  t.rechts = t.pStart.x + pixelLength(view, t.breite);
  const int hoehePx = pixelLength(view, t.Schrifthoehe);
  t.oben = t.pStart.y - hoehePx;
  t.pMitte = {t.pStart.x + (t.rechts - t.pStart.x) / 2, t.pStart.y - hoehePx / 2};
  return t;
}

void Text_ZeichneLeerfahrt(DrawContext& context, const TextRecord& t) { drawTravel(context, t.Modus, t.pStart); }

void Text_Schreiben(DrawContext& context, const TextRecord& t) {
  platform::Canvas& canvas = context.canvas;
  const TMainFormState& form = context.form;
  TextStrokeSink sink;
  sink.strich = [&](const std::vector<MmPoint>& punkte) {
    drawTravelToStroke(canvas, form, t, toPixel(form.Ansicht, punkte.front()));
    for (std::size_t i = 1; i < punkte.size(); ++i) {
      const platform::Point p = toPixel(form.Ansicht, punkte[i]);
      canvas.lineTo(p.x, p.y);
    }
  };
  sink.zeichenFertig = [&](bool gefunden) {
    if (!gefunden && form.FehlerSignal) form.FehlerSignal();
  };
  layout(t, sink);
}

void Text_Schreiben(MillContext& context, const TextRecord& t) {
  MotionPrimitives& motion = context.motion;
  platform::Canvas* canvas = context.canvas;
  const TMainFormState& form = context.form;
  TextStrokeSink sink;
  sink.strich = [&](const std::vector<MmPoint>& punkte) {
    const MmPoint start = punkte.front();
    // The travel line goes from where the last stroke ended, before the travel moves the pen; the
    // pen of the mode then also gives the cuts that the motion primitives draw their style.
    if (canvas != nullptr) drawTravelToStroke(*canvas, form, t, toPixel(form.Ansicht, start));
    motion.cncKuehlmittelpumpe(0);
    motion.cncMoveTo(start.x, start.y);
    motion.cncKuehlmittelpumpe(1);
    motion.cncLineTo(0, start.x, start.y, t.tiefe);
    for (std::size_t i = 1; i < punkte.size(); ++i) {
      motion.cncLineTo(1, punkte[i].x, punkte[i].y, t.tiefe);
      // The stroke over its cut, as a redraw shows it; the screen takes it with the next cut or
      // at the end of the row.
      if (canvas != nullptr) drawSegment(*canvas, form, punkte[i - 1], punkte[i]);
    }
  };
  sink.zeichenFertig = [&](bool gefunden) {
    motion.cncKuehlmittelpumpe(0);
    if (!gefunden && context.FehlerSignal) context.FehlerSignal();
  };
  layout(t, sink);
}

void Text_ZeichneKontur(DrawContext& context, const TextRecord& t) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  Text_Schreiben(context, t);
  if (t.selektiert) {
    const int sx = t.pStart.x;
    const int sy = t.pStart.y;
    const int mx = t.pMitte.x;
    drawHandles(canvas, {{sx - 15, sy + 15},
                         {mx, sy + 15},
                         {t.rechts + 15, sy + 15},
                         {t.rechts + 15, t.oben - 15},
                         {mx, t.oben - 15},
                         {sx - 15, t.oben - 15}});
    switch (context.form.Griffpunkt) {
      case kGriffTextLinks:
        AktivGriffZeichnen(canvas, sx, sy);
        break;
      case kGriffTextLinks + 1:
        AktivGriffZeichnen(canvas, mx, sy);
        break;
      case kGriffTextLinks + 2:
        AktivGriffZeichnen(canvas, t.rechts, sy);
        break;
      default:
        break;
    }
  }
  // A text that is not milled leaves the chain of travel lines where it found it.
  if (!isMilled(t.Modus)) canvas.moveTo(before.x, before.y);
}

void Text_ZeichneFraesweg(DrawContext& context, const TextRecord& t) {
  if (!isMilled(t.Modus)) return;
  clearBrush(context.canvas);
  context.canvas.setPen(solidPen(context.form.Farben.FarbeFraesweg));
  Text_Schreiben(context, t);
}

void Text_AusdehnungErweitern(Extent& extent, const TextRecord& t) {
  // From the aligned start: a centred or right-aligned text lies left of its position.
  extent.include(t.start.x, t.position.y, t.start.x + t.breite, t.position.y + t.Schrifthoehe);
}

void Text_Fraesen(MillContext& context, const TextRecord& t) {
  if (!isMilled(t.Modus)) return;
  if (!t.schrift) {
    if (context.FehlerSignal) context.FehlerSignal();
    return;
  }
  const SafetyHeightAtSurface surface(context.form.Abmessungen);
  Text_Schreiben(context, t);
}

bool Text_Selektieren(const TMainFormState&, const TextRecord& t, int x, int y) {
  return std::min(t.pStart.x, t.rechts) <= x && x <= std::max(t.pStart.x, t.rechts) &&
         std::min(t.oben, t.pStart.y) <= y && y <= std::max(t.oben, t.pStart.y);
}

void Text_GriffTesten(TMainFormState& form, const TextRecord& t, int x, int y) {
  if (!t.selektiert) return;
  if (!(t.pStart.x - 15 < x && x < t.rechts + 15 && t.oben - 15 < y && y < t.pStart.y + 15)) return;
  if (t.Ausrichtung == "links") {
    form.Griffpunkt = kGriffTextLinks;
  } else if (t.Ausrichtung == "zentriert") {
    form.Griffpunkt = kGriffTextLinks + 1;
  } else if (t.Ausrichtung == "rechts") {
    form.Griffpunkt = kGriffTextLinks + 2;
  }
}

void Text_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Text-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Text);
  layout.labels[1] = "Ausrichtung:";
  layout.labels[2] = "X-Position:";
  layout.labels[3] = "Y-Position:";
  layout.labels[4] = "Textinhalt:";
  layout.labels[5] = "Schriftname:";
  layout.labels[6] = "Schrifthöhe:";
  layout.labels[7] = "Tiefe:";
  showPropertyRows(form, row, layout);
}

void Text_EigenschaftenUebernehmen(TMainFormState& form, int row) {
  StringGrid& props = form.EigenschaftenStringGrid;
  if (machine::Text_in_Zahl(props.Cells(kWerteSpalte, kZeileTiefe)) > 0.0)
    props.setCells(kWerteSpalte, kZeileTiefe, "0.00");
  for (int i : {2, 3, 6, kZeileTiefe}) takeNumericPropertyRow(form, row, i);
  // Alignment and font name come from their list editor, which writes them itself.
  const std::string text = props.Cells(kWerteSpalte, kZeileText);
  if (textContentAllowed(text)) {
    form.DatenStringGrid.setCells(kZeileText, row, text);
  } else {
    if (form.FehlerSignal) form.FehlerSignal();
    props.setCells(kWerteSpalte, kZeileText, form.DatenStringGrid.Cells(kZeileText, row));
  }
}

}  // namespace panel
