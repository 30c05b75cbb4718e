// The guard against default buttons and the dialog that swallows Return and Enter.
#include "QtSafeDialog.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace platform {

namespace {

bool isReturn(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

// Watches every widget below the root, so that buttons made or moved in later are held too. A
// QPushButton inside a QDialog is auto-default unless told otherwise, and the dialog then makes
// one of them its default when it is shown or when one takes the focus; each of those moments
// comes after the button's polish or with its focus, where the guard clears both flags.
class DefaultButtonGuard final : public QObject {
 public:
  explicit DefaultButtonGuard(QWidget* root) : QObject(root) { watch(root); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ChildAdded: {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        // The child may still be under construction: its kind is looked at in its own events.
        if (child->isWidgetType()) watch(static_cast<QWidget*>(child));
        break;
      }
      case QEvent::Polish:
      case QEvent::Show:
      case QEvent::FocusIn:
        clearDefault(watched);
        break;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        if (qobject_cast<QAbstractButton*>(watched) != nullptr && isReturn(static_cast<QKeyEvent*>(event))) return true;
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void watch(QWidget* widget) {
    widget->removeEventFilter(this);
    widget->installEventFilter(this);
    clearDefault(widget);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) watch(child);
  }

  static void clearDefault(QObject* object) {
    if (auto* button = qobject_cast<QPushButton*>(object)) {
      button->setAutoDefault(false);
      button->setDefault(false);
    }
  }
};

}  // namespace

void noDefaultButtons(QWidget* root) { new DefaultButtonGuard(root); }

QtSafeDialog::QtSafeDialog(QWidget* parent) : QDialog(parent) { noDefaultButtons(this); }

void QtSafeDialog::keyPressEvent(QKeyEvent* event) {
  // What an edit or a list leaves of Return or Enter ends here: no default button is pressed and
  // the dialog is not accepted.
  if (isReturn(event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace platform
