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

struct RadioGroupState {
  int ItemIndex = -1;
  std::string Caption;
  std::vector<std::string> Items;
};

}  // namespace panel
