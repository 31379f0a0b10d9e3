#pragma once

#include <QString>

namespace orvex {

// Keys below the current user's root, with "\" between levels.
inline const QString RootKey = QStringLiteral("Orvex controller");
inline const QString SettingsKey = QStringLiteral("Orvex controller\\Settings");
inline const QString InstrumentNamesKey = QStringLiteral("Orvex controller\\Instrument names");
// Where the serial-port component keeps its own settings.
inline const QString ComPortKey = QStringLiteral("Comport\\ComPort1");

}  // namespace orvex
