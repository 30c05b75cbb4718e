// UiServices double for tests: records every call in order and answers from scripted queues.
//
// Thread context: any thread (calls are serialised by a mutex), though the core only calls it
// from the GUI thread. Nothing blocks.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/UiServices.h"

namespace testsupport {

struct UiCall {
  enum class Kind { MessageBox, Beep, OpenDialog, SaveDialog, StartProgram, FolderDialog };
  Kind kind = Kind::MessageBox;
  std::string text;  // message text, the program path, or the folder dialog's title
  std::string caption;
  platform::MsgButtons buttons = platform::MsgButtons::Ok;
  platform::MsgIcon icon = platform::MsgIcon::None;
  std::optional<platform::MsgResult> defaultButton;  // the button Return presses, if the caller chose one
  unsigned hz = 0;
  unsigned ms = 0;
  platform::FileDialogRequest dialog;
};

class ScriptedUi final : public platform::UiServices {
 public:
  // Answers for message boxes, taken in order. With the queue empty an OK-only box answers Ok
  // and any question answers No (or Cancel), and the call is counted as unscripted.
  void pushAnswer(platform::MsgResult answer);
  // An answer by Return: the box's default button, as the caller chose it, or else the box's own
  // (Ok, or Yes).
  void pushReturn();
  // Answers for the file dialogs (nullopt = cancelled); an empty queue answers cancelled.
  void pushFileAnswer(std::optional<platform::FileDialogResult> answer);
  // Result of startProgram (true when not set).
  void setStartProgramResult(bool ok);
  // Answers for the folder dialog (nullopt = cancelled); an empty queue answers cancelled.
  void pushFolderAnswer(std::optional<std::string> folder);

  platform::MsgResult messageBox(const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                                 platform::MsgIcon icon,
                                 std::optional<platform::MsgResult> defaultButton = std::nullopt) override;
  void Beep(unsigned hz, unsigned ms) override;
  std::optional<platform::FileDialogResult> openFileDialog(const platform::FileDialogRequest& request) override;
  std::optional<platform::FileDialogResult> saveFileDialog(const platform::FileDialogRequest& request) override;
  bool startProgram(const std::string& path) override;
  std::optional<std::string> chooseFolder(const std::string& title) override;

  std::vector<UiCall> calls() const;
  // Only the message boxes, or only the beeps, in order.
  std::vector<UiCall> messageBoxes() const;
  std::vector<UiCall> beeps() const;
  int unscriptedQuestions() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<UiCall> calls_;
  // nullopt: Return.
  std::deque<std::optional<platform::MsgResult>> answers_;
  std::deque<std::optional<platform::FileDialogResult>> fileAnswers_;
  std::deque<std::optional<std::string>> folderAnswers_;
  bool startResult_ = true;
  int unscripted_ = 0;
};

}  // namespace testsupport
