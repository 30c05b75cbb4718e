// Model of the download window `TForm1`: the port list, the folder choice with its file list,
// the start button, the status line and a cancel button, with their handlers. The Qt window is
// a view of it: it shows this state and calls these handlers.
//
// Thread context: the model belongs to the GUI thread; every public member function is called
// there. The download runs on a worker thread of the model's own, which never writes the model:
// it posts the status texts through the GUI dispatcher and shows its boxes by invoke-and-wait.
// Shared with the worker are only the link (whose cancel any thread may call) and an atomic
// flag.
//
// Blocking: Button1Click returns at once. The destructor cancels a running download and serves
// its requests on the GUI thread until the worker has ended (boxes it asks for then are not
// shown).
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "download/Bootloader.h"
#include "download/ComLink.h"
#include "download/DownloadResult.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"
#include "platform/UiServices.h"

namespace download {

inline constexpr const char* kApplicationTitle = "Kestrin-DOWNLOAD";
inline constexpr const char* kFormCaption = "Download-Manager für Zelko - Kestrin       Version 2.0";
inline constexpr const char* kFolderTitle = "Bitte Verzeichnis mit Firmware - Hex-File wählen!";

struct ControlState {
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

struct ListState {
  bool Enabled = true;
  bool Visible = true;
  std::vector<std::string> Items{};
  int ItemIndex = -1;

  // The selected item's text; empty when nothing is selected.
  std::string selected() const;
};

// What the model asks of its window. Called on the GUI thread only.
class TForm1View {
 public:
  virtual ~TForm1View() = default;
  // The model changed on its own (a status text, the end of a download): show its state.
  virtual void showState() = 0;
};

// What the window works with. All references must outlive the model.
struct DownloadFormServices {
  platform::UiServices& ui;
  platform::GuiDispatcher& gui;
  platform::Clock& clock;
  BootTiming timing{};
};

class TForm1 {
 public:
  explicit TForm1(DownloadFormServices services);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  void setView(TForm1View* view) { view_ = view; }

  // Creation: the port list, its first item selected.
  void FormCreate();
  // The folder choice: the HEX files of the chosen folder replace the folder button. A cancelled
  // choice changes nothing.
  void Button2Click();
  // A click on the file list at `index` (-1: beside the items).
  void Info1Click(int index);
  // Starts one download of the selected file through the selected port on the worker; ignored
  // while one runs or when nothing is selected.
  void Button1Click();
  // Asks the running download to stop at its next wait.
  void CancelButtonClick();
  // The window may not close while a download runs.
  bool OnCloseQuery() const { return !running_; }

  bool running() const { return running_; }
  // How the last download ended (Success before the first).
  DownloadResult lastResult() const { return lastResult_; }

  // ---- State shown by the window
  std::string Caption = kFormCaption;
  ControlState GroupBox1{.Caption = "Schnittstelle"};
  ListState ComboBox1;
  ControlState GroupBox2{.Caption = "Firmware - Hex-File"};
  ControlState Button2{.Caption = "Verzeichnis wählen !"};
  ListState ListBox1{.Visible = false};
  ControlState Button1{.Enabled = false, .Caption = "Download starten"};
  std::string Edit1;
  ControlState CancelButton{.Enabled = false, .Caption = "Abbrechen"};

 private:
  class Reporter;

  void finish(DownloadResult result);
  void lockControls(bool locked);
  void notifyView();

  DownloadFormServices services_;
  TForm1View* view_ = nullptr;
  bool running_ = false;
  bool closing_ = false;
  DownloadResult lastResult_ = DownloadResult::Success;
  std::shared_ptr<ComLink> link_;
  std::atomic<bool> workerDone_{true};
  std::thread worker_;
  // Expires with the model; closures posted by the worker check it before they touch the model.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace download
