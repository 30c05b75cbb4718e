// Plain state of the main window's controls that the panel model reads and writes.
//
// Thread context: owned by the GUI thread as part of TMainFormState; copied as a value into a
// run's snapshot. No blocking, no ownership beyond the values themselves.
#pragma once

#include <string>
#include <vector>

namespace panel {

struct CheckBoxState {
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

struct MenuItemState {
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

struct TrackBarState {
  int Position = 0;
  int Min = 0;
  int Max = 10;
};

struct ProgressBarState {
  int Position = 0;
  int Min = 0;
  int Max = 0;
};

// Enabled and visible flags and the caption of a panel, button, tab sheet or group box.
struct ControlState {
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

// A string grid's selected row, its first scrolled row and how many rows below the fixed header
// row the window shows (the window reports that), and its enabled flag. `generation` counts the
// rebuilds, so that a window refreshes a long grid only when it was rebuilt.
struct GridControlState {
  int Row = 1;
  int TopRow = 1;
  int VisibleRowCount = 1;
  bool Enabled = true;
  unsigned generation = 0;
};

struct RadioGroupState {
  int ItemIndex = -1;
  std::string Caption;
  std::vector<std::string> Items;
};

}  // namespace panel
