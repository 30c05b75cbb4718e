// The properties grid of the selected object and its in-place editors: filling the grid, taking
// edited values over into the object row, which editor and value list a property row has, the
// write-back of each editor, the row colours, and the commands on all rows (all depths, disable
// and enable all).
//
// Thread context: GUI thread, on the main window's state; the functions with a draw context draw
// on its canvas. Blocks only on the trace log's file I/O and on files a row names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "panel/DrawContext.h"
#include "panel/InPlaceEditors.h"
#include "panel/MainFormState.h"
#include "panel/ObjectTypeTable.h"
#include "platform/Canvas.h"

namespace panel {

// Longest text an editor writes into a cell; a longer one is taken for a typing error.
inline constexpr std::size_t kZelleMaxZeichen = 1000;

// Fills the properties grid for row `iAktZeile`: the row and `iTrefferZeile` into the header
// cells of the document table, the label "Eigenschaften:", property rows 1.. emptied, `esgTyp`
// -1; then, unless the row is 0, the kind named by the order grid's keyword of that row shows it
// (a keyword of no known kind leaves the grid empty and `esgTyp` -1).
void EigenschaftenFuellen(TMainFormState& form, const ObjectTypeTable& types);
// Redraws the panel, then EigenschaftenFuellen.
void EigenschaftenAktualisieren(DrawContext& context);

// A click on properties cell (column, row): the kind `esgTyp` takes the grid's values over into
// row `iAktZeile` (corrected and re-formatted; a row of no known kind takes nothing), then the
// editor that the clicked row needs is shown, then the panel is redrawn. True when the take-over
// changed the object row.
bool esgGoEditing(DrawContext& context, int column, int row);

// The editor that property row `row` of kind `esgTyp` opens.
EditorKind esgEditorFuer(int esgTyp, int row);
// The items of the choice editor for property row `row` of kind `esgTyp`; empty for a row
// without a list.
std::vector<std::string> esgWerteliste(int esgTyp, int row);

// Shows (true) the editor that the edited row needs, or hides (false) every editor.
void esgKomponentenVisible(TMainFormState& form, bool visible);
// Prepares the editors for property row `row`: all hidden, label, text and value list of the row.
void esgEditorVorbereiten(TMainFormState& form, int row);

enum class EditResult { Unchanged, Changed, Refused };

// The free-text editor is left with `text`: trimmed, it goes into the edited cell of row
// `iAktZeile` and into the properties grid. A text that the document cannot hold (';', line ends
// and other control characters, characters outside Windows-1252, more than kZelleMaxZeichen
// characters) is refused: nothing is written and the editor shows the old text again.
EditResult esgTextUebernehmen(TMainFormState& form, std::string_view text);
// The choice editor's item `index` goes into the edited cell and the properties grid; an index
// outside the list is refused.
EditResult esgAuswahlUebernehmen(TMainFormState& form, int index);
// A file chosen for a plot or sub-drawing row: its name into cell 4, the full path into cell 5,
// both into the properties grid too, and the file editor shows the name. A path that the document
// cannot hold (see esgTextUebernehmen) is refused.
EditResult esgDateiUebernehmen(TMainFormState& form, const std::string& path);

// The colour every cell of property row `row` is drawn on (its text in black), by the row's
// value: plunge "ja", direction "Gegenuhrzeigersinn", any compensation but "mitte", milling mode
// "nein" or "nur zeichnen"; otherwise `buttonFace`.
platform::Colour esgOnDrawCell(const StringGrid& properties, int row, platform::Colour buttonFace);

// The depth cell of an object kind; -1 for kinds without one.
int tiefenZelle(int typ);
// Writes the default depth into the depth cell of every object row. True when a cell changed.
bool alleTiefenNeuSetzen(TMainFormState& form);
// Every object row whose milling mode is exactly `von` gets `nach`. True when a cell changed.
bool alleKonturenUmschalten(TMainFormState& form, std::string_view von, std::string_view nach);

}  // namespace panel
