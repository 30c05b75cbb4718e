// Recording and queue answering of the UiServices double.
#include "ScriptedUi.h"

namespace testsupport {

using platform::MsgButtons;
using platform::MsgResult;

void ScriptedUi::pushAnswer(MsgResult answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedUi::pushReturn() {
  std::lock_guard lock(mutex_);
  answers_.push_back(std::nullopt);
}

void ScriptedUi::pushFileAnswer(std::optional<platform::FileDialogResult> answer) {
  std::lock_guard lock(mutex_);
  fileAnswers_.push_back(std::move(answer));
}

void ScriptedUi::setStartProgramResult(bool ok) {
  std::lock_guard lock(mutex_);
  startResult_ = ok;
}

void ScriptedUi::pushFolderAnswer(std::optional<std::string> folder) {
  std::lock_guard lock(mutex_);
  folderAnswers_.push_back(std::move(folder));
}

MsgResult ScriptedUi::messageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                                 platform::MsgIcon icon, std::optional<MsgResult> defaultButton) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::MessageBox;
  call.text = text;
  call.caption = caption;
  call.buttons = buttons;
  call.icon = icon;
  call.defaultButton = defaultButton;
  calls_.push_back(call);
  if (!answers_.empty()) {
    const std::optional<MsgResult> answer = answers_.front();
    answers_.pop_front();
    if (answer) return *answer;
    if (defaultButton) return *defaultButton;
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Yes;
  }
  if (buttons == MsgButtons::Ok) return MsgResult::Ok;
  ++unscripted_;
  return buttons == MsgButtons::OkCancel ? MsgResult::Cancel : MsgResult::No;
}

void ScriptedUi::Beep(unsigned hz, unsigned ms) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::Beep;
  call.hz = hz;
  call.ms = ms;
  calls_.push_back(call);
}

std::optional<platform::FileDialogResult> ScriptedUi::openFileDialog(const platform::FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::OpenDialog;
  call.dialog = request;
  calls_.push_back(call);
  if (fileAnswers_.empty()) return std::nullopt;
  auto answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  return answer;
}

std::optional<platform::FileDialogResult> ScriptedUi::saveFileDialog(const platform::FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::SaveDialog;
  call.dialog = request;
  calls_.push_back(call);
  if (fileAnswers_.empty()) return std::nullopt;
  auto answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  return answer;
}

bool ScriptedUi::startProgram(const std::string& path) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::StartProgram;
  call.text = path;
  calls_.push_back(call);
  return startResult_;
}

std::optional<std::string> ScriptedUi::chooseFolder(const std::string& title) {
  std::lock_guard lock(mutex_);
  UiCall call;
  call.kind = UiCall::Kind::FolderDialog;
  call.text = title;
  calls_.push_back(call);
  if (folderAnswers_.empty()) return std::nullopt;
  auto answer = folderAnswers_.front();
  folderAnswers_.pop_front();
  return answer;
}

std::vector<UiCall> ScriptedUi::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<UiCall> ScriptedUi::messageBoxes() const {
  std::lock_guard lock(mutex_);
  std::vector<UiCall> out;
  for (const auto& c : calls_)
    if (c.kind == UiCall::Kind::MessageBox) out.push_back(c);
  return out;
}

std::vector<UiCall> ScriptedUi::beeps() const {
  std::lock_guard lock(mutex_);
  std::vector<UiCall> out;
  for (const auto& c : calls_)
    if (c.kind == UiCall::Kind::Beep) out.push_back(c);
  return out;
}

int ScriptedUi::unscriptedQuestions() const {
  std::lock_guard lock(mutex_);
  return unscripted_;
}

void ScriptedUi::clear() {
  std::lock_guard lock(mutex_);
  calls_.clear();
  answers_.clear();
  fileAnswers_.clear();
  folderAnswers_.clear();
  unscripted_ = 0;
}

}  // namespace testsupport
