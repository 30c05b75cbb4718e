// The user-facing services that the core asks for: message boxes, beeps, file dialogs and the
// start of other programs. The application supplies a Qt implementation; tests a scripted one.
//
// Thread context: GUI thread only. A worker that needs one of these asks the GUI thread to call
// it and waits for the answer. Every call blocks until the user (or the double) has answered.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
  std::string title;
  std::string filter;   // "Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*"
  int filterIndex = 1;  // 1-based, as the filter string counts its pairs
  std::string initialDir;
  std::string fileName;
  std::string defaultExt;  // without the dot
};

struct FileDialogResult {
  std::string path;
  int filterIndex = 1;
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Shows a modal box and returns the button the user chose. `defaultButton` is the button that
  // Return and Enter press; nullopt leaves the box's own (Ok, or Yes). A question whose yes
  // moves the machine, writes the program memory or starts a download gives No, which is then
  // the Escape answer as well.
  virtual MsgResult messageBox(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon,
                               std::optional<MsgResult> defaultButton = std::nullopt) = 0;
  // A tone of `hz` for `ms` milliseconds; returns when it has sounded.
  virtual void Beep(unsigned hz, unsigned ms) = 0;
  // nullopt when the user cancelled.
  virtual std::optional<FileDialogResult> openFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogResult> saveFileDialog(const FileDialogRequest& request) = 0;
  // Starts another program without waiting for it; false when it could not be started.
  virtual bool startProgram(const std::string& path) = 0;
  // The folder browser with `title`; nullopt when the user cancelled (or, as here, when the
  // services offer no folder choice).
  virtual std::optional<std::string> chooseFolder(const std::string& title) {
    (void)title;
    return std::nullopt;
  }
};

}  // namespace platform
