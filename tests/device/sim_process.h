#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <signal.h>

namespace orvex::test {

// The device simulator as a child process on a free port, for tests that talk
// to it over loopback. Its output is collected line by line. Stopped with
// SIGINT (as Ctrl+C would) when it goes out of scope.
class SimProcess {
 public:
  explicit SimProcess(const QStringList& options) {
    process_.setProgram(QStringLiteral(ORVEX_DEVICE_SIM));
    process_.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0")} + options);
    process_.start();
    waitFor([this] { return port_ != 0; }, 5000);
  }
  ~SimProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    if (!interrupt()) process_.kill();
    process_.waitForFinished(2000);
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // 0 when the simulator did not come up.
  quint16 port() const { return port_; }

  // Every line printed so far.
  QStringList lines() {
    collect();
    return lines_;
  }

  bool waitForLine(const QString& line, int timeoutMs = 3000) {
    return waitFor([&] { return lines_.contains(line); }, timeoutMs);
  }

  // Sends SIGINT and waits for the process to end; false when it did not.
  bool interrupt() {
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
    const bool finished = process_.waitForFinished(3000);
    collect();
    return finished;
  }

  QProcess& process() { return process_; }

 private:
  template <typename Condition>
  bool waitFor(Condition done, int timeoutMs) {
    return QTest::qWaitFor(
               [&] {
                 collect();
                 return done() || process_.state() == QProcess::NotRunning;
               },
               timeoutMs) &&
           done();
  }

  void collect() {
    pending_ += process_.readAllStandardOutput();
    for (qsizetype end; (end = pending_.indexOf('\n')) >= 0;) {
      const QString line = QString::fromUtf8(pending_.first(end));
      pending_.remove(0, end + 1);
      lines_.append(line);
      if (port_ == 0 && line.startsWith(QLatin1String("listening on port "))) {
        port_ = line.mid(18).toUShort();
      }
    }
  }

  QProcess process_;
  QByteArray pending_;
  QStringList lines_;
  quint16 port_ = 0;
};

}  // namespace orvex::test
