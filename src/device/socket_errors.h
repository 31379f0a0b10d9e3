#pragma once

#include <QAbstractSocket>
#include <QString>

namespace orvex {

// The phase of the link in which an error was reported.
enum class ErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

// The Winsock numbers the session's behaviour depends on. The link reports its
// errors with these numbers on every platform.
namespace winsock {
constexpr int kNoAddress = 1110;  // a connection was started with an empty host
constexpr int kNetworkUnreachable = 10051;
constexpr int kConnectionReset = 10054;
constexpr int kConnectionTimedOut = 10060;
constexpr int kConnectionRefused = 10061;
constexpr int kHostNotFound = 11001;
}  // namespace winsock

// The Winsock number for an error Qt reports on a TCP socket. Never 0: every
// error Qt reports is an error here too. RemoteHostClosedError maps to the
// reset number; the link reports it only for a reset, an orderly close of the
// peer being no error.
int WinsockErrorCode(QAbstractSocket::SocketError error);

// The texts of the link's own errors.
QString AsynchronousSocketErrorText(int code);
QString WindowsSocketErrorText(const QString& reason, int code, const QString& api);
QString NoAddressText();
QString HostChangeRefusedText();

}  // namespace orvex
