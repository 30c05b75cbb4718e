// The download window's model: the port list, the folder choice and its file list, and the
// download on its worker with the status line, the result box, a cancel and a close.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BootRig.h"
#include "download/DownloadForm.h"
#include "download/HexFolder.h"
#include "support/QueueDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

using download::DownloadResult;
using download::TForm1;
using downloadtest::BootRig;
using peers::BootFrame;
using testsupport::UiCall;

class CountingView final : public download::TForm1View {
 public:
  void showState() override { ++shown; }
  int shown = 0;
};

// A line as slow as the bootloader's: a download of many rows takes long enough to be cancelled.
peers::BootSim::Options pacedLine() {
  peers::BootSim::Options options;
  options.wireBaud = 9600;
  return options;
}

class DownloadFormTest : public ::testing::Test {
 protected:
  DownloadFormTest() : rig_(pacedLine()) {
    // The real clock: the worker's pauses pass as on a machine, and the simulator keeps up.
    form_ = std::make_unique<TForm1>(
        download::DownloadFormServices{ui_, gui_, platform::systemClock(), downloadtest::testTiming()});
    form_->setView(&view_);
  }

  // The folder with `files` chosen; the first file clicked.
  void chooseFiles(const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, text] : files) rig_.write(name, text);
    ui_.pushFolderAnswer(rig_.folder.string());
    form_->Button2Click();
    form_->Info1Click(0);
  }

  void startOn(const std::string& port) {
    form_->ComboBox1.Items = {port};
    form_->ComboBox1.ItemIndex = 0;
    form_->Button1Click();
  }

  bool waitForEnd() {
    return gui_.drainUntil([this] { return !form_->running(); }, std::chrono::seconds(60));
  }

  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const UiCall& call : ui_.messageBoxes()) texts.push_back(call.text);
    return texts;
  }

  BootRig rig_;
  testsupport::ScriptedUi ui_;
  testsupport::QueueDispatcher gui_;
  CountingView view_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(DownloadFormTest, StartsWithThePortsPresentAndOnlyTheFolderChoiceOffered) {
  form_->FormCreate();
  const auto& ports = form_->ComboBox1.Items;
  // The simulator's port is there; the list ascends by number.
  EXPECT_NE(std::find(ports.begin(), ports.end(), BootRig::kPort), ports.end());
  EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), [](const std::string& a, const std::string& b) {
    return std::stoi(a.substr(3)) < std::stoi(b.substr(3));
  }));
  EXPECT_EQ(form_->ComboBox1.ItemIndex, 0);
  EXPECT_EQ(form_->Caption, "Download-Manager für Zelko - Kestrin       Version 2.0");
  EXPECT_TRUE(form_->Button2.Visible);
  EXPECT_FALSE(form_->ListBox1.Visible);
  EXPECT_FALSE(form_->Button1.Enabled);
  EXPECT_FALSE(form_->CancelButton.Enabled);
}

TEST_F(DownloadFormTest, AFolderChoiceListsItsHexFilesSortedAndAClickOffersTheDownload) {
  const auto& folder = rig_.folder;
  for (const char* name : {"b.hex", "A.HEX", "c.Hex", "notes.txt", "hex"}) rig_.write(name, "");
  std::filesystem::create_directories(folder / "dir.hex");
  std::filesystem::create_directories(folder / "plain");
  rig_.write("dir.hex/inner.hex", "");
  rig_.write("plain/outer.hex", "");
  std::filesystem::create_directory_symlink(folder, folder / "loop.hex");

  ui_.pushFolderAnswer(folder.string());
  form_->Button2Click();
  ASSERT_EQ(ui_.calls().size(), 1u);
  EXPECT_EQ(ui_.calls()[0].kind, UiCall::Kind::FolderDialog);
  EXPECT_EQ(ui_.calls()[0].text, "Bitte Verzeichnis mit Firmware - Hex-File wählen!");
  EXPECT_EQ(form_->ListBox1.Items,
            (std::vector<std::string>{(folder / "A.HEX").string(), (folder / "b.hex").string(),
                                      (folder / "c.Hex").string(), (folder / "dir.hex/inner.hex").string()}));
  EXPECT_FALSE(form_->Button2.Visible);
  EXPECT_TRUE(form_->ListBox1.Visible);
  EXPECT_FALSE(form_->Button1.Enabled);

  form_->Info1Click(7);
  EXPECT_FALSE(form_->Button1.Enabled);
  form_->Info1Click(1);
  EXPECT_TRUE(form_->Button1.Enabled);
  EXPECT_EQ(form_->ListBox1.selected(), (folder / "b.hex").string());
}

TEST_F(DownloadFormTest, ACancelledOrEmptyFolderChoiceOffersNoDownload) {
  ui_.pushFolderAnswer(std::nullopt);
  form_->Button2Click();
  // Cancelled: the folder button stays, to choose again.
  EXPECT_TRUE(form_->Button2.Visible);
  EXPECT_FALSE(form_->ListBox1.Visible);

  ui_.pushFolderAnswer(rig_.folder.string());
  form_->Button2Click();
  EXPECT_TRUE(form_->ListBox1.Visible);
  EXPECT_TRUE(form_->ListBox1.Items.empty());
  form_->Info1Click(0);
  form_->Button1Click();
  EXPECT_FALSE(form_->Button1.Enabled);
  EXPECT_FALSE(form_->running());
}

TEST_F(DownloadFormTest, TheDownloadRunsOnTheWorkerAndEndsWithTheSuccessTexts) {
  chooseFiles({{"fw.hex", downloadtest::hexFile({{{0, 0x040100}, {40, 0x000001}}, {}, {}})}});
  startOn(BootRig::kPort);
  EXPECT_TRUE(form_->running());
  EXPECT_FALSE(form_->Button1.Enabled);
  EXPECT_FALSE(form_->ComboBox1.Enabled);
  EXPECT_TRUE(form_->CancelButton.Enabled);
  EXPECT_FALSE(form_->OnCloseQuery());
  // A second press while it runs starts nothing.
  form_->Button1Click();

  ASSERT_TRUE(waitForEnd());
  EXPECT_EQ(form_->lastResult(), DownloadResult::Success);
  EXPECT_EQ(form_->Edit1, "Download beendet!");
  EXPECT_EQ(boxTexts(), std::vector<std::string>{"Datenübertragung erfolgreich beendet!"});
  EXPECT_EQ(rig_.sim.instruction(40), 0x000001u);
  EXPECT_EQ(rig_.sim.frames(BootFrame::Kind::Enter).size(), 1u);
  // Ready for the next one.
  EXPECT_TRUE(form_->Button1.Enabled);
  EXPECT_TRUE(form_->ComboBox1.Enabled);
  EXPECT_FALSE(form_->CancelButton.Enabled);
  EXPECT_TRUE(form_->OnCloseQuery());
  EXPECT_GT(view_.shown, 0);
}

downloadtest::Firmware manyRows() {
  downloadtest::Firmware firmware;
  for (std::uint32_t row = 0; row < 200; ++row) firmware.instructions[row * 32] = row;
  return firmware;
}

bool rowsWritten(const BootRig& rig, std::size_t count) {
  return rig.sim.waitFor(
      [count](const std::vector<BootFrame>& frames) {
        return static_cast<std::size_t>(std::count_if(frames.begin(), frames.end(), [](const BootFrame& f) {
                 return f.kind == BootFrame::Kind::WriteProgram;
               })) >= count;
      },
      std::chrono::seconds(30));
}

TEST_F(DownloadFormTest, CancelStopsTheWriteAtTheNextRowWithoutTheSuccessTexts) {
  chooseFiles({{"fw.hex", downloadtest::hexFile(manyRows())}});
  startOn(BootRig::kPort);
  ASSERT_TRUE(rowsWritten(rig_, 3));
  form_->CancelButtonClick();
  ASSERT_TRUE(waitForEnd());
  EXPECT_EQ(form_->lastResult(), DownloadResult::Cancelled);
  EXPECT_EQ(form_->Edit1, "Cancelled");
  EXPECT_EQ(boxTexts(), std::vector<std::string>{
                            "Der Download wurde abgebrochen!\nDie Firmware wurde nicht vollständig übertragen!"});
  EXPECT_LT(rig_.sim.frames(BootFrame::Kind::WriteProgram).size(), 200u);
  EXPECT_TRUE(form_->Button1.Enabled);
}

TEST_F(DownloadFormTest, AWindowGoingAwayMidDownloadCancelsItAndShowsNoMoreBoxes) {
  chooseFiles({{"fw.hex", downloadtest::hexFile(manyRows())}});
  startOn(BootRig::kPort);
  ASSERT_TRUE(rowsWritten(rig_, 2));
  form_.reset();
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_LT(rig_.sim.frames(BootFrame::Kind::WriteProgram).size(), 200u);
}

TEST_F(DownloadFormTest, AFailedDownloadShowsItsMessageAndLeavesTheButtonForAnother) {
  ::setenv("VELTRIS_COM203", "/dev/veltris-no-such-port", 1);
  chooseFiles({{"fw.hex", downloadtest::hexFile({{{0, 1}}, {}, {}})}});
  startOn("COM203");
  ASSERT_TRUE(waitForEnd());
  EXPECT_EQ(form_->lastResult(), DownloadResult::PortNotOpened);
  EXPECT_EQ(boxTexts(), std::vector<std::string>{
                            "\nSerielle Schnittstelle COM/dev/veltris-no-such-port kann nicht geöffnet werden !\n"});
  EXPECT_NE(form_->Edit1, "Download beendet!");
  EXPECT_TRUE(form_->Button1.Enabled);
}

}  // namespace
