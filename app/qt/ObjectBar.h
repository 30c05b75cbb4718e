// The object bar `LeftPanel` of the main window: the rubber-band toggle, the object buttons that
// append rows, the two pop-out panels with the tool slots T1-T7 and the three rectangles, and
// below them the drawing switches and the data-grid button. A view of app::TMainForm: it shows
// the model's flags and calls its handlers.
//
// Thread context: GUI thread. The model must outlive the bar; the pop-out panels are children of
// `overlay` (laid over the drawing), the bar itself is placed by its owner.
#pragma once

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "app/MainForm.h"

class QFrame;
class QToolButton;

namespace appqt {

class ObjectBar final : public QWidget {
 public:
  // `command` runs a handler of the model the way the window runs a user's command.
  using Command = std::function<void(const std::function<void()>&)>;

  ObjectBar(app::TMainForm& form, Command command, QWidget* overlay, QWidget* parent = nullptr);

  void showState();

 private:
  QToolButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                      std::function<void()> handler);
  // A toggle of the drawing: shown down while the flag is set, its handler called with the new
  // state.
  QToolButton* toggle(const char* name, const QString& caption, const QString& hint, bool app::TMainForm::*flag,
                      void (app::TMainForm::*handler)(bool));
  // Places a pop-out panel beside the bar, 6 pixels above the button that opened it.
  void placePanel(QFrame* panel, const QToolButton* opener);

  app::TMainForm& form_;
  Command command_;
  QToolButton* GummiRectSpeedButton_ = nullptr;
  QToolButton* ToolSpeedButton_ = nullptr;
  QToolButton* RechteckSpeedButton_ = nullptr;
  QFrame* ToolPanel_ = nullptr;
  QFrame* RechteckPanel_ = nullptr;
  // The buttons that append rows (and open the sub-panels), shown for panel documents only.
  std::vector<QToolButton*> objektKnoepfe_;
  std::vector<std::pair<QToolButton*, bool app::TMainForm::*>> toggles_;
  QToolButton* DSGSpeedButton_ = nullptr;
  QToolButton* DrawNFSpeedButton_ = nullptr;
};

}  // namespace appqt
