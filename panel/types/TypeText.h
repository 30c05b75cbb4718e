// TEXT rows: one line of text engraved in a stroke font, aligned left, centred or right on its
// position, each stroke cut as its own plunge, cut and lift, the travels between strokes at the
// workpiece surface.
//
// A row whose font file is missing, unreadable or malformed, or whose text is longer than
// kTextMaxZeichen characters, draws and mills nothing; milled, it sounds the error signal once.
//
// Thread context: Text_Neu, drawing, hit and property roles on the GUI thread; Text_Fraesen on
// the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. Parsing reads the font file the first time and after it changed (blocking file I/O).
// The parsed record is a value owned by the caller; its font is shared with the font cache.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"
#include "panel/types/StrokeFont.h"
#include "panel/types/TextLayout.h"

namespace panel {

// A longer text is taken for a typing error: refused when typed, not drawn or milled when read.
inline constexpr std::size_t kTextMaxZeichen = 1000;

struct TextRecord : RowBasis {
  std::string Ausrichtung;  // "links", "zentriert" or "rechts"
  std::string Textinhalt;
  std::string Schriftname;
  MmPoint position;  // as typed, shifted: the reference point on the baseline
  double Schrifthoehe = 0.0;
  double tiefe = 0.0;  // cut depth, positive into the material
  FontStatus schriftStatus = FontStatus::Missing;
  // The font, when the text can be laid out in it; null otherwise (nothing drawn or milled).
  std::shared_ptr<const StrokeFont> schrift;
  TextMetrik metrik;
  double breite = 0.0;  // measured width; 0 when there is nothing to lay out
  MmPoint start;        // left end of the aligned text's baseline
  // Pixel box: start (sx, sy), right and top edge, middle.
  platform::Point pStart;
  int rechts = 0;
  int oben = 0;
  platform::Point pMitte;
};

// Whether a typed text may become a TEXT row's content: valid UTF-8 of at most kTextMaxZeichen
// characters that the document file can hold (Windows-1252), without ';' (the document's cell
// separator) and without control characters.
bool textContentAllowed(std::string_view text);

int Text_Neu(TMainFormState& form);
std::optional<TextRecord> Text_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Text_ZeichneLeerfahrt(DrawContext& context, const TextRecord& text);
void Text_ZeichneKontur(DrawContext& context, const TextRecord& text);
void Text_ZeichneFraesweg(DrawContext& context, const TextRecord& text);
void Text_AusdehnungErweitern(Extent& extent, const TextRecord& text);

// Draws the strokes in the pen of the text's mode, each reached by a dotted travel line when
// travel moves are shown and the text is milled; a character the font lacks sounds the error
// signal.
void Text_Schreiben(DrawContext& context, const TextRecord& text);
// Cuts every stroke: coolant off, travel to its start, coolant on, plunge, the cut at the depth;
// coolant off after every character, and the error signal for one the font lacks. With a bitmap
// in the context the text is drawn as it is cut: the dotted travel line to each stroke from the
// end of the one before (when travel moves are shown), and each segment over its cut.
void Text_Schreiben(MillContext& context, const TextRecord& text);

// Mills the text with the safety height set to 0, so that the tool travels between strokes at
// the surface; the safety height is put back however the text ends, a stop included.
void Text_Fraesen(MillContext& context, const TextRecord& text);

bool Text_Selektieren(const TMainFormState& form, const TextRecord& text, int x, int y);
void Text_GriffTesten(TMainFormState& form, const TextRecord& text, int x, int y);

void Text_EigenschaftenAnzeigen(TMainFormState& form, int row);
// Takes depth, position and height back re-formatted and the text as typed; a text that
// textContentAllowed refuses sounds the error signal and the row keeps its old text.
void Text_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
