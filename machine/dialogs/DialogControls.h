// Plain state of the machine dialogs' controls: enabled and visible flags, captions, choices,
// texts and colours, which the dialog models hold and their views show.
//
// Thread context: values owned by the dialog models on the GUI thread; nothing blocks.
#pragma once

#include <string>
#include <vector>

namespace machine {

inline constexpr int kSchwarz = 0x000000;

struct DialogControl {
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

struct AxisCheckBox {
  bool Checked = false;
  bool Enabled = true;
  std::string Caption;
  int Schriftfarbe = kSchwarz;  // black while the axis's limit input is active
};

struct DialogTimer {
  bool Enabled = false;
  int Interval = 0;  // ms
};

struct DialogRadioGroup {
  bool Enabled = true;
  int ItemIndex = 0;
  std::vector<std::string> Items;
};

struct DialogEdit {
  bool Enabled = true;
  std::string Text;
};

struct DialogScrollBar {
  bool Enabled = true;
  int Position = 0;
  int Min = 0;
  int Max = 100;
};

}  // namespace machine
