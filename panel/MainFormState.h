// The main window's state that the panel model reads and writes: the document table, the
// document-wide values, the job options and the progress display.
//
// Thread context: belongs to the GUI thread, which edits it; the window is a view of it. It is a
// copyable value: a run works on a snapshot taken when the run is posted. Not synchronised;
// nothing blocks. Initial values are those of a new document, except that no document is open
// (`Dokumenttyp` None, empty `Dokumentpfad`).
#pragma once

#include <functional>
#include <string>

#include "panel/ControlState.h"
#include "panel/DocumentKind.h"
#include "panel/DocumentValues.h"
#include "panel/EmbeddedPlot.h"
#include "panel/Extent.h"
#include "panel/HandleCodes.h"
#include "panel/InPlaceEditors.h"
#include "panel/Palette.h"
#include "panel/PanelView.h"
#include "panel/Shift.h"
#include "panel/StringGrid.h"
#include "panel/ToolTable.h"

namespace panel {

// Columns of the document table: keyword, ten parameters, milling mode, selection flag.
inline constexpr int kKonturSpalten = 13;

// Rows of the properties grid: the caption row and one row per cell of an object row.
inline constexpr int kEigenschaftenZeilen = 13;

// Columns of the order grid: number, keyword, and a column never filled below its header.
inline constexpr int kReihenfolgeSpalten = 3;

// The properties grid with its headers "Eigenschaften:" and "Werte:".
inline StringGrid eigenschaftenGrid() {
  StringGrid grid(2, kEigenschaftenZeilen);
  grid.setCells(0, 0, "Eigenschaften:");
  grid.setCells(1, 0, "Werte:");
  return grid;
}

// Corners of the rubber band in bitmap pixels: start (x1, y1) and current (x2, y2).
struct RubberBand {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
};

struct TMainFormState {
  // Document table: row 0 is the header, rows 1.. the objects in drawing and milling order.
  StringGrid DatenStringGrid{kKonturSpalten, 1};

  TAbmessungen Abmessungen;
  TNutzenfertigung Nutzenfertigung;

  // Before machining.
  CheckBoxState ReferenzfahrtCheckBox{.Caption = "Referenzfahrt"};
  CheckBoxState WZLCheckBox{.Caption = "Werkzeuglänge bestimmen"};
  CheckBoxState WSNullpunktCheckBox{.Checked = true, .Caption = "zum Werkstücknullpunkt"};
  CheckBoxState SpindelmotorCheckBox{.Checked = true, .Caption = "Spindelmotor (an/aus)"};
  CheckBoxState KuehlmittelpumpeCheckBox{.Caption = "Kühlmittelpumpe (an/aus)"};
  CheckBoxState AbsaugungCheckBox{.Caption = "Absaugung (an/aus)"};

  // After machining: 0 workpiece zero, 1 park position, 2 homing.
  RadioGroupState nachBearbeitungRadioGroup{.ItemIndex = 0,
                                            .Caption = " nach Bearbeitung ",
                                            .Items = {"zum Werkstücknullpunkt", "zur Parkposition", "Referenzfahrt"}};

  CheckBoxState SimulationslaufCheckBox{.Caption = "Simulationslauf"};
  TrackBarState SimulationslaufTrackBar{.Position = 10, .Min = 2, .Max = 25};
  ProgressBarState FortschrittsanzeigeProgressBar;

  // Multi-up production on: the milling run repeats the layout over the grid of copies.
  MenuItemState MenuNutzenfertigung{.Caption = "&Nutzenfertigung"};

  DocumentKind Dokumenttyp = DocumentKind::None;
  std::string Dokumentpfad;
  int iAktZeile = 1;

  Shift Nutzenversatz;       // shift of the copy being drawn or milled
  Shift Einfuegeversatz;     // shift of the sub-drawing being drawn or milled
  Extent Ausdehnung;         // extent of everything drawn, mm
  Extent AusdehnungEinzeln;  // extent of one copy of the layout, for the extent display

  // Drawing.
  PanelAnsicht Ansicht;  // the main window's view record
  Palette Farben;
  bool DrawNF = false;           // extent display (maker mode)
  bool DrawFraeswege = true;     // tool paths
  bool DrawNummer = false;       // row numbers
  bool DrawLeerfahrten = false;  // travel moves
  bool bGummiRect = false;       // rubber-band mode
  RubberBand GummiRect;
  bool bHerstellermodus = false;  // maker mode ("/ZELKO")

  // Selection and properties.
  int iTrefferZeile = 0;        // row hit by the last selection (-1 none); its number is drawn shifted
  int Griffpunkt = kKeinGriff;  // grabbed handle code
  int esgTyp = -1;              // object kind shown in the properties grid; -1 none
  StringGrid EigenschaftenStringGrid = eigenschaftenGrid();
  GridControlState EigenschaftenStringGridControl;
  std::string EigenschaftenLabel = "Eigenschaften:";  // caption above the properties grid
  // Column and row of the properties cell selected last.
  int esgSpalte = 0;
  int esgZeile = 0;
  InPlaceEditorState esgEditor;

  // Order grid: a header row and one line per object row, in milling order; and its buttons.
  StringGrid ReihenfolgeStringGrid{kReihenfolgeSpalten, 2};
  GridControlState ReihenfolgeStringGridControl;
  ControlState NachObenSpeedButton;
  ControlState NachUntenSpeedButton;
  ControlState DelSpeedButton;

  // Speeds of the tools T1-T7, copied into new TOOL rows.
  ToolTable ToolDef;
  // Slot 0-6 of the tool button used last since the start; only the TOOL caption shows it.
  int iToolSlot = 0;

  // The double beep for refused input (GUI thread). May be empty.
  std::function<void()> FehlerSignal{};

  // The library grid the window shows: the rows of the sub-drawing document drawn last, row 0 its
  // header.
  StringGrid BiblioStringGrid{kKonturSpalten, 1};
  // Reads the plot files of HPGL/PLT rows (the main window's HPGL module). May be empty: plot
  // rows then have no plot to draw or mill.
  PlotReader plotReader{};
};

}  // namespace panel
