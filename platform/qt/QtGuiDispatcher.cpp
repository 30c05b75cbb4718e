// The dispatcher's queue, the events that wake the GUI thread for it, and the wait of a worker
// for its closure.
#include "QtGuiDispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <utility>

namespace platform {

namespace {

void runGuarded(const std::function<void()>& task) {
  try {
    task();
  } catch (int code) {
    std::fprintf(stderr, "veltris: Fehlercode %d in einem Auftrag an die Oberfläche\n", code);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "veltris: Ausnahme in einem Auftrag an die Oberfläche: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "veltris: unbekannte Ausnahme in einem Auftrag an die Oberfläche\n");
  }
}

// Lives on the GUI thread; each of its events runs one waiting closure. The event itself carries
// nothing, so no data of a worker is read through Qt's queue.
class Receiver final : public QObject {
 public:
  explicit Receiver(std::function<void()> onEvent) : onEvent_(std::move(onEvent)) {}

 protected:
  void customEvent(QEvent*) override { onEvent_(); }

 private:
  std::function<void()> onEvent_;
};

}  // namespace

QtGuiDispatcher::QtGuiDispatcher()
    : receiver_(std::make_unique<Receiver>([this] { runOne(); })), eventType_(QEvent::registerEventType()) {}

QtGuiDispatcher::~QtGuiDispatcher() {
  // Events still posted go with the receiver; the closures with the queue.
  receiver_.reset();
  std::deque<std::function<void()>> dropped;
  std::lock_guard lock(mutex_);
  dropped.swap(queue_);
}

void QtGuiDispatcher::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  QCoreApplication::postEvent(receiver_.get(), new QEvent(static_cast<QEvent::Type>(eventType_)));
}

void QtGuiDispatcher::invokeAndWait(std::function<void()> task) {
  if (QThread::currentThread() == receiver_->thread()) {
    runGuarded(task);
    return;
  }
  platform::postAndWait(*this, std::move(task));
}

bool QtGuiDispatcher::runOne() {
  std::function<void()> task;
  {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    task = std::move(queue_.front());
    queue_.pop_front();
  }
  runGuarded(task);
  return true;
}

void QtGuiDispatcher::runPending() {
  while (runOne()) {
  }
}

}  // namespace platform
