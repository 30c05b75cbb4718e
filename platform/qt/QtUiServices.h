// The user-interface services on Qt Widgets: message boxes with the given caption, icon and
// buttons, the system beep, the file and folder dialogs and the start of other programs.
//
// Thread context: GUI thread only (workers reach it through the GUI dispatcher). Message boxes
// and file dialogs are modal and block until the user answers. The parent widget is not owned;
// boxes and dialogs are centred over it while it exists.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "platform/UiServices.h"

namespace platform {

class QtUiServices final : public UiServices {
 public:
  explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}

  // The window that boxes and dialogs belong to.
  void setParent(QWidget* parent) { parent_ = parent; }

  MsgResult messageBox(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon,
                       std::optional<MsgResult> defaultButton = std::nullopt) override;
  // The system beep; the desktop decides pitch and length.
  void Beep(unsigned hz, unsigned ms) override;
  std::optional<FileDialogResult> openFileDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> saveFileDialog(const FileDialogRequest& request) override;
  bool startProgram(const std::string& path) override;
  std::optional<std::string> chooseFolder(const std::string& title) override;

 private:
  std::optional<FileDialogResult> fileDialog(const FileDialogRequest& request, bool save);

  QPointer<QWidget> parent_;
};

// The filter "Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*" as Qt's name filters, one per pair:
// the description, followed by the pattern in parentheses unless the description already names
// it; patterns separated by ';' become space-separated. A pair without a pattern keeps its
// description alone.
QStringList qtNameFilters(const std::string& filter);

}  // namespace platform
