// What reaches the top of the program: a failure code is dropped, an exception shown in one
// error box, and a failure met while that box is open only noted.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProgramFolder.h"
#include "app/Uncaught.h"
#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/ScriptedUi.h"

namespace {

using apptest::ProgramFolderTest;

std::vector<std::string> trace() { return platform::readTextLines(machine::Protokolldatei()).lines; }

bool traced(const std::string& line) {
  const auto lines = trace();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct Thrown {
  const char* name;
  void (*raise)();
  const char* box;  // the box's text; null for none
  const char* line;
};

class UncaughtTest : public ProgramFolderTest, public ::testing::WithParamInterface<Thrown> {};

TEST_P(UncaughtTest, IsDroppedOrShownAndTheCallerGoesOn) {
  testsupport::ScriptedUi ui;
  app::runCatchingAll(ui, [] { GetParam().raise(); });
  const auto boxes = ui.messageBoxes();
  if (GetParam().box == nullptr) {
    EXPECT_TRUE(boxes.empty());
  } else {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, GetParam().box);
    EXPECT_EQ(boxes[0].caption, "Tessaly");
    EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::Ok);
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Error);
  }
  EXPECT_TRUE(traced(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(Cases, UncaughtTest,
                         ::testing::Values(Thrown{"FailureCode", [] { throw 1012; }, nullptr,
                                                  "unbehandelt: Fehlercode 1012 nicht behandelt"},
                                           Thrown{"Exception", [] { throw std::runtime_error("Datei nicht lesbar"); },
                                                  "Datei nicht lesbar", "unbehandelt: Datei nicht lesbar"},
                                           Thrown{"OutOfMemory", [] { throw std::bad_alloc(); }, "std::bad_alloc",
                                                  "unbehandelt: std::bad_alloc"},
                                           Thrown{"EmptyText", [] { throw std::runtime_error(""); },
                                                  "Unbekannter Fehler", "unbehandelt: Unbekannter Fehler"},
                                           Thrown{"NoException", [] { throw "Text"; }, "Unbekannter Fehler",
                                                  "unbehandelt: Unbekannter Fehler"}),
                         [](const auto& param) { return std::string(param.param.name); });

// Services whose box fails once more while it is open, as a repaint behind the box might.
class FailingAgainUi final : public platform::UiServices {
 public:
  platform::MsgResult messageBox(const std::string& text, const std::string&, platform::MsgButtons, platform::MsgIcon,
                                 std::optional<platform::MsgResult>) override {
    texts.push_back(text);
    if (texts.size() == 1) app::runCatchingAll(*this, [] { throw std::runtime_error("noch einmal"); });
    return platform::MsgResult::Ok;
  }
  void Beep(unsigned, unsigned) override {}
  std::optional<platform::FileDialogResult> openFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<platform::FileDialogResult> saveFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  bool startProgram(const std::string&) override { return false; }

  std::vector<std::string> texts;
};

TEST_F(ProgramFolderTest, AFailureWhileTheBoxIsOpenIsOnlyNotedAndTheNextOneShownAgain) {
  FailingAgainUi ui;
  app::runCatchingAll(ui, [] { throw std::runtime_error("zuerst"); });
  EXPECT_EQ(ui.texts, std::vector<std::string>{"zuerst"});
  EXPECT_TRUE(traced("unbehandelt: noch einmal"));

  app::runCatchingAll(ui, [] { throw std::runtime_error("danach"); });
  EXPECT_EQ(ui.texts, (std::vector<std::string>{"zuerst", "danach"}));
}

}  // namespace
