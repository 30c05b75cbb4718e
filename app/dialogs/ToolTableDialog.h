// Model of the tool-table dialog "Tool-Einstellungen": its grid of T1-T7 and its two buttons,
// filled from and taken back into the main window's tool table.
//
// Thread context: GUI thread; a plain value owned by the dialog's view, which shows it modally
// and calls the handlers below. The tool table is the caller's; the handlers hold no reference
// to it. Nothing blocks.
#pragma once

#include <string>

#include "panel/StringGrid.h"
#include "panel/ToolTable.h"

namespace app {

using panel::filledToolValues;
using panel::kToolCount;
using panel::ToolTable;
using panel::ToolValues;

enum class DialogResult { None, Ok, Cancel };

struct DialogButton {
  std::string Caption;
  DialogResult ModalResult = DialogResult::None;  // the result the dialog closes with
};

inline constexpr int kToolGridCols = 5;
inline constexpr int kToolGridRows = 1 + kToolCount;

struct TToolDefForm {
  std::string Caption = "Tool-Einstellungen";
  // Row 0 holds the column captions and column 0 the tool names, both fixed; the other cells
  // are edited by the user, and ranges of them can be selected.
  panel::StringGrid toolStringGrid{kToolGridCols, kToolGridRows};
  DialogButton OKBitBtn{"&OK", DialogResult::Ok};
  // Only closes the dialog; the close takes the grid over all the same.
  DialogButton AbbrechenBitBtn{"&Abbrechen", DialogResult::Cancel};

  // Each time the dialog is shown: captions, and every tool's four values in its row.
  void OnActivate(const ToolTable& tools);
  // OK and every way of closing ("&Abbrechen" and the close box too) store the grid in the
  // table; a cell that is not a whole number stores 0.
  void OKBitBtnClick(ToolTable& tools) const;
  void OnClose(ToolTable& tools) const;
};

}  // namespace app
