// Windows that can move the machine or write to it: Return and Enter never press a button there.
// No push button in them is a default or auto-default button, so a Return typed to end an edit
// cannot start a motion; only a click (or a key the window itself gives a meaning) does.
//
// Thread context: GUI thread; nothing blocks. The guard that noDefaultButtons installs is a
// child of the watched widget and goes with it.
#pragma once

#include <QDialog>

class QKeyEvent;

namespace platform {

// Keeps every push button inside `root`, those there now and those added later at any depth, from
// being a default or auto-default button, and lets no button take Return or Enter as a press.
// Space on a focused button still presses it, and a button's mnemonic still does.
void noDefaultButtons(QWidget* root);

// A dialog on which Return and Enter end an edit and do nothing else: its buttons are guarded by
// noDefaultButtons, and the keys are swallowed instead of pressing a default button or accepting.
// Escape keeps its meaning of QDialog unless a subclass takes it.
class QtSafeDialog : public QDialog {
 public:
  explicit QtSafeDialog(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace platform
