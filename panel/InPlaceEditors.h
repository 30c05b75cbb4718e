// The in-place editors of the properties grid as a model: which one is shown, over which property
// row, with which label, text and value list. A window shows them over the row's cells.
//
// Thread context: owned by the GUI thread as part of TMainFormState; nothing blocks.
#pragma once

#include <string>
#include <vector>

namespace panel {

// Which editor is shown: none, the free-text edit `esgMaskEdit`, the choice `esgComboBox`, or
// the read-only file name `esgMaskEdit2` with its chooser button `esgButton`. The label panel
// `esgPanel` is shown with each of them.
enum class EditorKind { None, Text, Choice, File };

struct InPlaceEditorState {
  EditorKind shown = EditorKind::None;
  int row = 0;                     // property row being edited
  std::string label;               // caption of esgPanel: the row's label
  std::string text;                // text of the edit, the choice or the file name
  std::vector<std::string> Items;  // the choices of esgComboBox
  // Counts the openings and the refused entries, so that a window puts `text` into its editor
  // only then and never over what the user is typing.
  unsigned generation = 0;
};

}  // namespace panel
