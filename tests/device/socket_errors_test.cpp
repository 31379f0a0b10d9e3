#include "device/socket_errors.h"

#include "support/test_printers.h"

#include <QMetaEnum>

#include <gtest/gtest.h>

namespace orvex {
namespace {

using E = QAbstractSocket::SocketError;

TEST(WinsockErrorCode, GivesTheNumbersTheSessionDependsOn) {
  struct Row {
    E error;
    int code;
  };
  for (const Row& row : {
           Row{E::ConnectionRefusedError, 10061},
           Row{E::SocketTimeoutError, 10060},
           Row{E::HostNotFoundError, 11001},
           Row{E::NetworkError, 10051},
           Row{E::RemoteHostClosedError, 10054},
       }) {
    EXPECT_EQ(WinsockErrorCode(row.error), row.code) << int(row.error);
  }
}

// The session silences 10060 and 10061 and shows a second box for every
// other number; no other error may take one of these numbers or 0.
TEST(WinsockErrorCode, OnlyRefusalsAndTimeOutsMapToTheSilencedNumbers) {
  const QMetaEnum errors = QMetaEnum::fromType<E>();
  ASSERT_GT(errors.keyCount(), 20);
  for (int i = 0; i < errors.keyCount(); ++i) {
    const auto error = static_cast<E>(errors.value(i));
    const int code = WinsockErrorCode(error);
    const QByteArray name = errors.key(i);
    EXPECT_NE(code, 0) << name.constData();
    if (code == winsock::kConnectionRefused) {
      EXPECT_TRUE(name.contains("ConnectionRefused")) << name.constData();
    }
    if (code == winsock::kConnectionTimedOut) {
      EXPECT_TRUE(name.contains("Timeout")) << name.constData();
    }
  }
}

TEST(SocketErrorTexts, FillTheComponentsMessages) {
  EXPECT_EQ(AsynchronousSocketErrorText(10054), QStringLiteral("Asynchronous socket error 10054"));
  EXPECT_EQ(WindowsSocketErrorText(QStringLiteral("Host not found"), 11001,
                                   QStringLiteral("ASync Lookup")),
            QStringLiteral("Windows socket error: Host not found (11001), on API 'ASync Lookup'"));
  // A reason that holds a placeholder of its own is shown as it stands.
  EXPECT_EQ(WindowsSocketErrorText(QStringLiteral("bad %1 %2"), 10054, QStringLiteral("recv")),
            QStringLiteral("Windows socket error: bad %1 %2 (10054), on API 'recv'"));
}

}  // namespace
}  // namespace orvex
