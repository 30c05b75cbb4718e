// For the Qt tests: user-interface services whose message boxes are the program's own, each
// answered by a key typed into it once it is up; the other services are the scripted double's.
//
// Thread context: GUI thread, as the services themselves. A box blocks in its own event loop
// until the key has answered it.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/QtUiServices.h"
#include "support/ScriptedUi.h"

namespace testsupport {

class KeyAnsweringUi final : public platform::UiServices {
 public:
  explicit KeyAnsweringUi(Qt::Key key = Qt::Key_Return, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
      : key_(key), modifiers_(modifiers) {}

  void setKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    key_ = key;
    modifiers_ = modifiers;
    click_ = QMessageBox::NoButton;
  }
  // The boxes are answered by a click on `button` instead.
  void setClick(QMessageBox::StandardButton button) { click_ = button; }
  // The texts of the boxes shown, in order.
  std::vector<std::string> texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
  }

  platform::MsgResult messageBox(const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                                 platform::MsgIcon icon,
                                 std::optional<platform::MsgResult> defaultButton = std::nullopt) override {
    {
      std::lock_guard lock(mutex_);
      texts_.push_back(text);
    }
    // The key goes where the user's would: to the widget of the box that holds the focus.
    QTimer typist;
    typist.setInterval(1);
    QObject::connect(&typist, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      typist.stop();
      if (click_ != QMessageBox::NoButton) {
        if (QAbstractButton* button = box->button(click_)) button->click();
        return;
      }
      QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, key_, modifiers_);
    });
    typist.start();
    return boxes_.messageBox(text, caption, buttons, icon, defaultButton);
  }
  void Beep(unsigned hz, unsigned ms) override { rest.Beep(hz, ms); }
  std::optional<platform::FileDialogResult> openFileDialog(const platform::FileDialogRequest& request) override {
    return rest.openFileDialog(request);
  }
  std::optional<platform::FileDialogResult> saveFileDialog(const platform::FileDialogRequest& request) override {
    return rest.saveFileDialog(request);
  }
  bool startProgram(const std::string& path) override { return rest.startProgram(path); }

  ScriptedUi rest;

 private:
  Qt::Key key_;
  Qt::KeyboardModifiers modifiers_;
  QMessageBox::StandardButton click_ = QMessageBox::NoButton;
  platform::QtUiServices boxes_;
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
};

}  // namespace testsupport
