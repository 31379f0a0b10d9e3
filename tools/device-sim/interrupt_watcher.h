#pragma once

#include <QObject>

#include <memory>

namespace orvex {

// Turns SIGINT and SIGTERM (Ctrl+C, Ctrl+Break and console close on Windows)
// into the signal `interrupted`, emitted on the thread that created the
// watcher. One watcher per process.
class InterruptWatcher : public QObject {
  Q_OBJECT

 public:
  explicit InterruptWatcher(QObject* parent = nullptr);
  ~InterruptWatcher() override;

 Q_SIGNALS:
  void interrupted();

 private:
  struct Platform;
  std::unique_ptr<Platform> platform_;
};

}  // namespace orvex
