#pragma once

#include <QByteArray>

namespace orvex {

// The line that tells the device the wanted state of its three digital lines:
// "CMD", one '1' or '0' per line in order, a carriage return (7 ASCII bytes).
QByteArray OutputCommand(bool din1, bool din2, bool din3);

}  // namespace orvex
