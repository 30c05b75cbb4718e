// The main window on Qt Widgets: a view of app::TMainForm. Menus and toolbars at the top, the
// object bar on the left, the drawing (and the text of the file) in the middle with the data
// grids over it, the settings and run pages on the right and the status bar below. It shows the
// model's captions, checks, enabled and visible flags, progress and status texts, copies the
// drawing bitmap to the screen, shows the model's dialogs centred over itself, and passes the
// user's clicks and keys to the model's handlers. Every widget and action carries the component
// name of the model as its objectName.
//
// Thread context: GUI thread only. The model, the canvas and the tool-table dialog's model are
// not owned; they must outlive the window. Handlers run guarded: a failure code that a handler
// lets through is dropped, an exception shown in an error box (app/Uncaught.h); neither reaches Qt.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "platform/TerminationSignals.h"
#include "platform/qt/QtCanvas.h"

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace machineqt {
class HomingDialogView;
class JoggingDialogView;
class ParameterDialogView;
}  // namespace machineqt

namespace appqt {

class ControlBar;
class DataGridPages;
class InfoDialogView;
class MainMenus;
class ObjectBar;
class PaintBox;
class SettingsPage;
class FlashDialogView;
class ToolLengthDialogView;
class ToolTableDialogView;

class MainWindow final : public QMainWindow, public app::TMainFormView {
 public:
  MainWindow(app::TMainForm& form, platform::QtCanvas& canvas, QWidget* parent = nullptr);
  ~MainWindow() override;

  void showState() override;
  void PaintBoxOnPaint() override;
  void closeWindow() override;
  void endProgram(int status) override;

  void placeComponents() override;

  // Hidden, then placed with its centre over the window's centre: where each dialog the model
  // shows is put before it is shown.
  void centreOver(QDialog* dialog);

  // Passes every termination signal to the model; `watched` must outlive the window.
  void watchTerminationSignals(platform::TerminationSignals& watched);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildDrawPages(QWidget* parent);
  QWidget* buildRunPanel();
  void buildStatusBar();
  // Runs a handler of the model, catching what it lets through, then shows the model.
  void call(const std::function<void()>& handler);
  // A command of the user (menu, button, click): an edit still open is taken over first.
  void command(const std::function<void()>& handler);
  void showRightPages();
  void activate();
  // Sizes the bitmap to the paint box, unless a run draws on it.
  void fitBitmap();
  void showDrawPages();

  app::TMainForm& form_;
  platform::QtCanvas& canvas_;
  bool shown_ = false;
  bool closed_ = false;
  bool destroying_ = false;

  std::unique_ptr<MainMenus> menus_;
  ControlBar* ControlBar_ = nullptr;
  QTabWidget* DrawPageControl_ = nullptr;
  QWidget* GrafischTabSheet_ = nullptr;
  PaintBox* PaintBox_ = nullptr;
  QWidget* TextuellTabSheet_ = nullptr;
  QPlainTextEdit* DatenRichEdit_ = nullptr;
  // What the text view shows: the document's path, its line count and its first line.
  std::string shownText_;
  DataGridPages* SGPageControl_ = nullptr;
  QTabWidget* RightPageControl_ = nullptr;
  ObjectBar* LeftPanel_ = nullptr;
  SettingsPage* ERTabSheet_ = nullptr;
  QWidget* FraesenTabSheet_ = nullptr;
  QGroupBox* vorBearbeitungGroupBox_ = nullptr;
  QGroupBox* waehrendBearbeitungGroupBox_ = nullptr;
  QCheckBox* ReferenzfahrtCheckBox_ = nullptr;
  QCheckBox* WZLCheckBox_ = nullptr;
  QCheckBox* WSNullpunktCheckBox_ = nullptr;
  QCheckBox* SpindelmotorCheckBox_ = nullptr;
  QCheckBox* KuehlmittelpumpeCheckBox_ = nullptr;
  QCheckBox* AbsaugungCheckBox_ = nullptr;
  QGroupBox* nachBearbeitungRadioGroup_ = nullptr;
  std::array<QRadioButton*, 3> nachBearbeitungItems_{};
  QCheckBox* SimulationslaufCheckBox_ = nullptr;
  QSlider* SimulationslaufTrackBar_ = nullptr;
  QPushButton* FraesenStartenBitBtn_ = nullptr;
  QPushButton* AnhaltenBitBtn_ = nullptr;
  QLabel* FortschrittsanzeigeLabel_ = nullptr;
  QProgressBar* FortschrittsanzeigeProgressBar_ = nullptr;
  std::array<QLabel*, app::kStatusBarPanels> statusPanels_{};
  QTimer* InitTimer_ = nullptr;

  ToolTableDialogView* ToolDefForm_ = nullptr;
  machineqt::ParameterDialogView* ParameterDlg_ = nullptr;
  machineqt::HomingDialogView* ReferenzfahrtForm_ = nullptr;
  machineqt::JoggingDialogView* ManuelleFahrtForm_ = nullptr;
  FlashDialogView* FlashDlg_ = nullptr;
  ToolLengthDialogView* WZLMessungForm_ = nullptr;
  // Made when it is first shown.
  InfoDialogView* InfoDlg_ = nullptr;
};

}  // namespace appqt
