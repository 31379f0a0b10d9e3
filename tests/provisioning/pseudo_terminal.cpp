#include "pseudo_terminal.h"

#include "terminal_speed.h"

#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <array>

namespace orvex::test {

PseudoTerminal::PseudoTerminal() {
  std::array<char, 128> name{};
  if (::openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
    master_ = slave_ = -1;
    return;
  }
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  portName_ = QString::fromLocal8Bit(name.data());
}

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

QByteArray PseudoTerminal::Read(qsizetype count, int timeoutMs) {
  QByteArray received;
  const QDeadlineTimer deadline(timeoutMs);
  while (received.size() < count && !deadline.hasExpired()) {
    pollfd readable{master_, POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(deadline.remainingTime())) <= 0) continue;
    std::array<char, 4096> chunk{};
    const ssize_t got = ::read(master_, chunk.data(), chunk.size());
    if (got > 0) received.append(chunk.data(), got);
  }
  return received;
}

QByteArray PseudoTerminal::ReadAll(int quietMs) {
  QByteArray received;
  for (;;) {
    pollfd readable{master_, POLLIN, 0};
    if (::poll(&readable, 1, quietMs) <= 0) return received;
    std::array<char, 4096> chunk{};
    const ssize_t got = ::read(master_, chunk.data(), chunk.size());
    if (got <= 0) return received;
    received.append(chunk.data(), got);
  }
}

termios PseudoTerminal::LineSettings() const {
  termios settings{};
  ::tcgetattr(slave_, &settings);
  return settings;
}

int PseudoTerminal::OutputRate() const { return TerminalOutputRate(slave_); }

qint64 PseudoTerminal::StopReading() {
  // Raw, as the port sets it; filled in cooked mode, the terminal would take
  // more again once the port switches it to raw.
  termios raw = LineSettings();
  ::cfmakeraw(&raw);
  ::tcsetattr(slave_, TCSANOW, &raw);
  ::fcntl(slave_, F_SETFL, ::fcntl(slave_, F_GETFL) | O_NONBLOCK);
  const std::array<char, 1024> filler{};
  qint64 taken = 0;
  for (;;) {
    const ssize_t put = ::write(slave_, filler.data(), filler.size());
    if (put <= 0) break;
    taken += put;
  }
  ::fcntl(slave_, F_SETFL, ::fcntl(slave_, F_GETFL) & ~O_NONBLOCK);
  return taken;
}

}  // namespace orvex::test
