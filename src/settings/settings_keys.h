#pragma once

#include <QString>

#include <array>

namespace orvex {

// Every key path and value name the program stores, as the literal texts kept in
// the store. Per-channel arrays run in channel order: Volt1, Volt2, Volt3,
// Ampere1 .. Ampere4, Temp1, Temp2 (the AC/DC flags cover the first seven only).

// Keys below the current user's root, with "\" between levels.
inline const QString RootKey = QStringLiteral("Orvex controller");
inline const QString SettingsKey = QStringLiteral("Orvex controller\\Settings");
inline const QString InstrumentNamesKey = QStringLiteral("Orvex controller\\Instrument names");
// Where the serial-port component keeps its own settings.
inline const QString ComPortKey = QStringLiteral("Comport\\ComPort1");

// Stored AC/DC flags and choices (flags of channels and inputs are FlagText()).
inline const QString AcFlagText = QStringLiteral("-1");
inline const QString DcFlagText = QStringLiteral("0");
inline const QString NoChoiceText = QStringLiteral("-1");

// --- RootKey ---

// The first-run marker: once it holds FirstRunMarkerText the defaults are never written again.
inline const QString FirstRunMarkerName = QStringLiteral("First1");
inline const QString FirstRunMarkerText = QStringLiteral("First time ok");

inline const std::array<QString, 9> ChannelEnableNames = {
    QStringLiteral("Volt 1 enable"),        QStringLiteral("Volt 2 enable"),
    QStringLiteral("Volt 3 enable"),        QStringLiteral("Ampere 1 enable"),
    QStringLiteral("Ampere 2 enable"),      QStringLiteral("Ampere 3 enable"),
    QStringLiteral("Ampere 4 enable"),      QStringLiteral("Temperature 1 enable"),
    QStringLiteral("Temperature 2 enable"),
};

// The log interval in seconds, decimal text.
inline const QString TimingName = QStringLiteral("Timing");
inline const QString DefaultTimingText = QStringLiteral("5");

inline const std::array<QString, 3> DigitalInputEnableNames = {
    QStringLiteral("Digital input 1 enable"),
    QStringLiteral("Digital input 2 enable"),
    QStringLiteral("Digital input 3 enable"),
};

// Offsets in °C added to Temp1 and Temp2, decimal text in the user's locale.
inline const QString Tmp1Name = QStringLiteral("Tmp1");
inline const QString Tmp2Name = QStringLiteral("Tmp2");
inline const std::array<QString, 2> TemperatureOffsetNames = {Tmp1Name, Tmp2Name};
inline const QString DefaultTemperatureOffsetText = QStringLiteral("0");

// The device address as typed by the user.
inline const QString InterfaceIpName = QStringLiteral("Interface IP");
inline const QString DefaultInterfaceIp = QStringLiteral("192.168.1.1");

inline const std::array<QString, 3> InputNameNames = {
    QStringLiteral("Input 1 name"),
    QStringLiteral("Input 2 name"),
    QStringLiteral("Input 3 name"),
};
inline const std::array<QString, 3> DefaultInputNames = {
    QStringLiteral("Digital input 1"),
    QStringLiteral("Digital input 2"),
    QStringLiteral("Digital input 3"),
};
inline const std::array<QString, 3> OutputNameNames = {
    QStringLiteral("Output 1 name"),
    QStringLiteral("Output 2 name"),
    QStringLiteral("Output 3 name"),
};
inline const std::array<QString, 3> DefaultOutputNames = {
    QStringLiteral("Digital output 1"),
    QStringLiteral("Digital output 2"),
    QStringLiteral("Digital output 3"),
};

// --- SettingsKey ---

// Index (0 to 8) of the instrument selected for renaming, NoChoiceText for none.
inline const QString RenameName = QStringLiteral("Rename");

// Index of the chosen scale range of each gauge, NoChoiceText for none.
inline const std::array<QString, 9> ChannelRangeNames = {
    QStringLiteral("Volt 1 range"),   QStringLiteral("Volt 2 range"),
    QStringLiteral("Volt 3 range"),   QStringLiteral("Ampere 1 range"),
    QStringLiteral("Ampere 2 range"), QStringLiteral("Ampere 3 range"),
    QStringLiteral("Ampere 4 range"), QStringLiteral("Temp 1 range"),
    QStringLiteral("Temp 2 range"),
};

// AcFlagText or DcFlagText for each voltage and current channel.
inline const std::array<QString, 7> AcDcNames = {
    QStringLiteral("Volt 1 AC/DC"),   QStringLiteral("Volt 2 AC/DC"),
    QStringLiteral("Volt 3 AC/DC"),   QStringLiteral("Ampere 1 AC/DC"),
    QStringLiteral("Ampere 2 AC/DC"), QStringLiteral("Ampere 3 AC/DC"),
    QStringLiteral("Ampere 4 AC/DC"),
};

// --- InstrumentNamesKey ---

inline const std::array<QString, 9> InstrumentNameNames = {
    QStringLiteral("Volt 1 name"),        QStringLiteral("Volt 2 name"),
    QStringLiteral("Volt 3 name"),        QStringLiteral("Ampere 1 name"),
    QStringLiteral("Ampere 2 name"),      QStringLiteral("Ampere 3 name"),
    QStringLiteral("Ampere 4 name"),      QStringLiteral("Temperature 1 name"),
    QStringLiteral("Temperature 2 name"),
};
inline const std::array<QString, 9> DefaultInstrumentNames = {
    QStringLiteral("Voltage 1"), QStringLiteral("Voltage 2"), QStringLiteral("Voltage 3"),
    QStringLiteral("Ampere 1"),  QStringLiteral("Ampere 2"),  QStringLiteral("Ampere 3"),
    QStringLiteral("Ampere 4"),  QStringLiteral("Temp 1"),    QStringLiteral("Temp 2"),
};

}  // namespace orvex
