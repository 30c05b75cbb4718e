// The GUI thread's dispatcher on Qt's event loop: order and thread of posted closures, the wait
// of a worker for its closure, closures run while the GUI thread waits, and failures stopped at
// the dispatcher.
#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/qt/QtGuiDispatcher.h"

class QtGuiDispatcherTest : public QObject {
  Q_OBJECT

 private slots:
  void postedClosuresRunLaterOnTheGuiThreadInPostingOrder() {
    platform::QtGuiDispatcher gui;
    std::vector<int> ran;
    bool onGuiThread = true;
    std::thread worker([&] {
      for (int i = 0; i < 100; ++i)
        gui.post([&, i] {
          ran.push_back(i);
          onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        });
    });
    worker.join();
    QVERIFY(ran.empty());
    QTRY_COMPARE(ran.size(), std::size_t{100});
    for (int i = 0; i < 100; ++i) QCOMPARE(ran[static_cast<std::size_t>(i)], i);
    QVERIFY(onGuiThread);
  }

  void aWorkerWaitsUntilItsClosureHasRun() {
    platform::QtGuiDispatcher gui;
    int value = 0;
    std::atomic<int> seenByWorker{-1};
    std::thread worker([&] {
      gui.invokeAndWait([&] { value = 42; });
      seenByWorker = value;
    });
    QTRY_VERIFY(seenByWorker.load() != -1);
    worker.join();
    QCOMPARE(seenByWorker.load(), 42);
  }

  void onTheGuiThreadInvokeAndWaitRunsAtOnce() {
    platform::QtGuiDispatcher gui;
    bool ran = false;
    gui.invokeAndWait([&] { ran = true; });
    QVERIFY(ran);
  }

  void runPendingServesAWaitingWorkerWithoutTheEventLoop() {
    platform::QtGuiDispatcher gui;
    std::atomic<bool> posted{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
      gui.post([&] { posted = true; });
      gui.invokeAndWait([] {});
      done = true;
    });
    // As the main window does while it waits for its worker at its end.
    while (!done) gui.runPending();
    worker.join();
    QVERIFY(posted);
  }

  void aThrowingClosureDoesNotStopTheOthers() {
    platform::QtGuiDispatcher gui;
    bool after = false;
    gui.post([] { throw 1009; });
    gui.post([] { throw std::runtime_error("kaputt"); });
    gui.post([&] { after = true; });
    QTRY_VERIFY(after);
  }
};

QTEST_GUILESS_MAIN(QtGuiDispatcherTest)
#include "QtGuiDispatcherTest.moc"
