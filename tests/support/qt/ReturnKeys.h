// For the Qt tests: Return and Enter typed into every widget of a window that takes the focus.
//
// Thread context: GUI thread; each key is delivered at once, nothing waits.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>

namespace testsupport {

// Activates `window`, then gives each visible, enabled widget below it that takes the focus the
// focus (as Tab would) and types Return, then the keypad's Enter, into the widget that holds the
// focus; `after` runs after each key with the widget and the key's name. Returns how many widgets
// were tried.
inline int returnAndEnterEverywhere(QWidget* window, const std::function<void(QWidget*, const char*)>& after) {
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) qFatal("window not active");
  int tried = 0;
  // The widgets are listed first: a key may make or remove widgets (a cell editor, say).
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus || w->window() != window) continue;
    for (const auto& [key, modifiers, name] : {std::tuple{Qt::Key_Return, Qt::NoModifier, "Return"},
                                               std::tuple{Qt::Key_Enter, Qt::KeypadModifier, "Enter"}}) {
      if (!w->isVisible() || !w->isEnabled()) break;
      w->setFocus(Qt::TabFocusReason);
      QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : w;
      QTest::keyClick(target, key, modifiers);
      after(w, name);
    }
    ++tried;
  }
  return tried;
}

}  // namespace testsupport
