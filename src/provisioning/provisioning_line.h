#pragma once

#include <QByteArray>
#include <QString>

namespace orvex {

// The line that hands the device its network credentials:
// "#", network name, "|", "Orvex", "|", pass phrase, "|", carriage return.
// Each character goes out as one byte, its ISO 8859-1 code.
//
// A text the device could not read back faithfully raises orvex::Error naming
// the field ("SSID" or "PASS PHRASE") and the character: a character above
// U+00FF (it has no single byte), "|" (it would shift the device's fields),
// carriage return and line feed (they would end the line early).
QByteArray ProvisioningLine(const QString& ssid, const QString& passPhrase);

}  // namespace orvex
