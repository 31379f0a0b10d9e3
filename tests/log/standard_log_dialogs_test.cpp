#include "log/standard_log_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPromise>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

namespace orvex {
namespace {

// A load that reports progress until it has run `milliseconds` or is cancelled.
QFuture<int> SlowLoad(int milliseconds) {
  return QtConcurrent::run([milliseconds](QPromise<int>& promise) {
    promise.setProgressRange(0, milliseconds);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds && !promise.isCanceled()) {
      promise.setProgressValue(int(clock.elapsed()));
      QThread::msleep(10);
    }
    promise.addResult(1);
  });
}

TEST(StandardLogDialogsTest, WaitingForALoadKeepsTheEventLoopRunning) {
  QWidget owner;
  owner.show();
  StandardLogDialogs dialogs(&owner);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
  timer.start(20);
  const QFuture<int> load = SlowLoad(400);
  dialogs.waitForLoad(QFuture<void>(load), "big.log");
  EXPECT_TRUE(load.isFinished());
  EXPECT_FALSE(load.isCanceled());
  EXPECT_GE(ticks, 5) << "timer ticks went on during the load";
}

TEST(StandardLogDialogsTest, TheProgressDialogCancelsTheLoad) {
  QWidget owner;
  owner.show();
  StandardLogDialogs dialogs(&owner);
  bool shown = false;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&owner, &shown] {
    for (QProgressDialog* progress : owner.findChildren<QProgressDialog*>()) {
      if (progress->isVisible()) {
        shown = true;
        EXPECT_EQ(progress->labelText(), "Opening big.log");
        auto* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "Cancel");
        QTest::mouseClick(cancel, Qt::LeftButton);
      }
    }
  });
  user.start(50);
  const QFuture<int> load = SlowLoad(20000);
  QElapsedTimer clock;
  clock.start();
  dialogs.waitForLoad(QFuture<void>(load), "/tmp/big.log");
  EXPECT_TRUE(shown) << "a long load shows its progress";
  EXPECT_TRUE(load.isCanceled());
  EXPECT_LT(clock.elapsed(), 10000);
}

}  // namespace
}  // namespace orvex
