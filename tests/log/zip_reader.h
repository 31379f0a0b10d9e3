#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace orvex::test {

// The entries of a zip file (stored or deflated), by name, read with zlib.
// Empty when the file is missing or not a zip file this reader understands.
QMap<QString, QByteArray> ReadZip(const QString& fileName);

}  // namespace orvex::test
