#include "socket_errors.h"

namespace orvex {

int WinsockErrorCode(QAbstractSocket::SocketError error) {
  using E = QAbstractSocket::SocketError;
  switch (error) {
    case E::ConnectionRefusedError:
    case E::ProxyConnectionRefusedError:
      return winsock::kConnectionRefused;
    case E::RemoteHostClosedError:
    case E::ProxyConnectionClosedError:
      return winsock::kConnectionReset;
    case E::HostNotFoundError:
    case E::ProxyNotFoundError:
      return winsock::kHostNotFound;
    case E::SocketTimeoutError:
    case E::ProxyConnectionTimeoutError:
      return winsock::kConnectionTimedOut;
    case E::NetworkError:
      return winsock::kNetworkUnreachable;
    case E::SocketAccessError:
    case E::ProxyAuthenticationRequiredError:
      return 10013;  // WSAEACCES
    case E::SocketResourceError:
      return 10055;  // WSAENOBUFS
    case E::DatagramTooLargeError:
      return 10040;  // WSAEMSGSIZE
    case E::AddressInUseError:
      return 10048;  // WSAEADDRINUSE
    case E::SocketAddressNotAvailableError:
      return 10049;  // WSAEADDRNOTAVAIL
    case E::UnsupportedSocketOperationError:
      return 10047;  // WSAEAFNOSUPPORT: Qt reports a missing IPv6 stack this way
    case E::UnfinishedSocketOperationError:
      return 10036;  // WSAEINPROGRESS
    case E::TemporaryError:
      return 10035;  // WSAEWOULDBLOCK
    case E::OperationError:
      return 10022;  // WSAEINVAL: an operation in the wrong socket state
    case E::ProxyProtocolError:
    case E::SslHandshakeFailedError:
    case E::SslInternalError:
    case E::SslInvalidUserDataError:
    case E::UnknownSocketError:
      break;
  }
  return 10107;  // WSASYSCALLFAILURE: Winsock's number for a failure it cannot name
}

QString AsynchronousSocketErrorText(int code) {
  return QStringLiteral("Asynchronous socket error %1").arg(code);
}

QString WindowsSocketErrorText(const QString& reason, int code, const QString& api) {
  // One multi-argument call: a "%1" inside the reason text stays as it is.
  return QStringLiteral("Windows socket error: %1 (%2), on API '%3'")
      .arg(reason, QString::number(code), api);
}

QString NoAddressText() { return QStringLiteral("No address specified"); }

QString HostChangeRefusedText() {
  return QStringLiteral("Can't change value while socket is active");
}

}  // namespace orvex
