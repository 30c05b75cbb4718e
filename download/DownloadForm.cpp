// The download window's handlers and the hand-over between its worker and the GUI thread.
#include "DownloadForm.h"

#include <chrono>
#include <exception>
#include <utility>

#include "download/DownloadFlow.h"
#include "download/HexFolder.h"

namespace download {

namespace {

// While the model waits for its worker to end, it looks for the worker's requests this often.
constexpr std::chrono::milliseconds kEndPoll{5};

}  // namespace

std::string ListState::selected() const {
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size())) return {};
  return Items[static_cast<std::size_t>(ItemIndex)];
}

// The worker's side of the hand-over: status texts are posted, boxes shown by invoke-and-wait.
class TForm1::Reporter final : public DownloadReporter {
 public:
  Reporter(TForm1& form, std::weak_ptr<char> alive) : form_(form), alive_(std::move(alive)) {}

  void status(const std::string& text) override {
    form_.services_.gui.post([form = &form_, alive = alive_, text] {
      if (alive.expired()) return;
      form->Edit1 = text;
      form->notifyView();
    });
  }

  void message(const std::string& text, const std::string& caption, platform::MsgIcon icon) override {
    form_.services_.gui.invokeAndWait([form = &form_, alive = alive_, &text, &caption, icon] {
      // A window that is closing shows no more boxes: its download is being cancelled.
      if (alive.expired() || form->closing_) return;
      form->services_.ui.messageBox(text, caption, platform::MsgButtons::Ok, icon);
    });
  }

 private:
  TForm1& form_;
  std::weak_ptr<char> alive_;
};

TForm1::TForm1(DownloadFormServices services) : services_(std::move(services)) {}

TForm1::~TForm1() {
  closing_ = true;
  if (!worker_.joinable()) return;
  link_->cancel();
  while (!workerDone_.load()) {
    services_.gui.runPending();
    std::this_thread::sleep_for(kEndPoll);
  }
  // The worker's last closure may have joined it already.
  if (worker_.joinable()) worker_.join();
}

void TForm1::FormCreate() {
  ComboBox1.Items = PortExists();
  ComboBox1.ItemIndex = ComboBox1.Items.empty() ? -1 : 0;
}

void TForm1::Button2Click() {
  if (running_) return;
  const auto folder = services_.ui.chooseFolder(kFolderTitle);
  if (!folder) return;
  ListBox1.Items = FindHexFiles(*folder);
  ListBox1.ItemIndex = -1;
  Button2.Visible = false;
  ListBox1.Visible = true;
}

void TForm1::Info1Click(int index) {
  if (running_ || index < 0 || index >= static_cast<int>(ListBox1.Items.size())) return;
  ListBox1.ItemIndex = index;
  Button1.Enabled = true;
}

void TForm1::Button1Click() {
  const std::string file = ListBox1.selected();
  if (running_ || file.empty()) return;
  running_ = true;
  lockControls(true);

  DownloadRequest request{ComboBox1.selected(), file};
  link_ = std::make_shared<ComLink>();
  workerDone_ = false;
  worker_ = std::thread([this, request = std::move(request), link = link_, alive = std::weak_ptr<char>(alive_)] {
    Reporter reporter(*this, alive);
    DownloadResult result = DownloadResult::Cancelled;
    try {
      result = runDownload(request, *link, services_.clock, reporter, services_.timing);
    } catch (const std::exception&) {
      // Out of memory or a failing thread hand-over: the download counts as failed.
      result = DownloadResult::WriteError;
    }
    workerDone_ = true;
    services_.gui.post([this, alive, result] {
      if (!alive.expired()) finish(result);
    });
  });
}

void TForm1::CancelButtonClick() {
  if (running_ && link_) link_->cancel();
}

void TForm1::finish(DownloadResult result) {
  if (worker_.joinable()) worker_.join();
  link_.reset();
  running_ = false;
  lastResult_ = result;
  lockControls(false);
  notifyView();
}

void TForm1::lockControls(bool locked) {
  ComboBox1.Enabled = !locked;
  ListBox1.Enabled = !locked;
  Button2.Enabled = !locked;
  // The start button stays available for further downloads once the first file was chosen.
  Button1.Enabled = !locked && ListBox1.ItemIndex >= 0;
  CancelButton.Enabled = locked;
}

void TForm1::notifyView() {
  if (view_ != nullptr) view_->showState();
}

}  // namespace download
