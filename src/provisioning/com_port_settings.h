#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvex {

// Baud rates offered by the port settings dialog; the value is the rate in
// bit/s, Custom takes the rate from ComPortSettings::customBaudRate.
enum class BaudRate {
  Custom = 0,
  Br110 = 110,
  Br300 = 300,
  Br600 = 600,
  Br1200 = 1200,
  Br2400 = 2400,
  Br4800 = 4800,
  Br9600 = 9600,
  Br14400 = 14400,
  Br19200 = 19200,
  Br38400 = 38400,
  Br56000 = 56000,
  Br57600 = 57600,
  Br115200 = 115200,
  Br128000 = 128000,
  Br256000 = 256000,
};

enum class DataBits { Five = 5, Six = 6, Seven = 7, Eight = 8 };
enum class StopBits { One, OneAndHalf, Two };
enum class Parity { None, Odd, Even, Mark, Space };

// How RTS behaves while the port is open.
enum class RtsControl { Inactive, Active, Handshake };

// The flow-control flags of the port. DTR (held inactive) and DSR output flow
// control (off) are fixed and not part of these flags.
struct FlowFlags {
  RtsControl rts = RtsControl::Inactive;
  bool ctsOutputFlow = false;
  bool xonXoffOut = false;
  bool xonXoffIn = false;

  bool operator==(const FlowFlags&) const = default;
};

// The flow-control choices of the dialog and of the stored settings. Custom
// stands for any other combination of flags; choosing it keeps the flags.
enum class FlowControl { Hardware, Software, None, Custom };

// The line settings of the provisioning port. Defaults are the design values,
// used until stored ones are loaded.
struct ComPortSettings {
  // What QSerialPort accepts as a port name: "ttyUSB0", "/dev/pts/5", "COM1".
  QString port = QStringLiteral("COM1");
  BaudRate baudRate = BaudRate::Br9600;
  // The rate in bit/s when baudRate is Custom.
  int customBaudRate = 9600;
  DataBits dataBits = DataBits::Eight;
  StopBits stopBits = StopBits::One;
  Parity parity = Parity::None;
  FlowFlags flow;

  bool operator==(const ComPortSettings&) const = default;
};

// The rate in bit/s that the settings select.
int BaudRateValue(const ComPortSettings& settings);

// Texts of each setting, in the order the dialog lists them. The *FromText
// functions compare without regard to case and give nothing for an unknown text.
const QStringList& BaudRateTexts();
QString BaudRateText(BaudRate rate);
std::optional<BaudRate> BaudRateFromText(const QString& text);

const QStringList& DataBitsTexts();
QString DataBitsText(DataBits bits);
std::optional<DataBits> DataBitsFromText(const QString& text);

const QStringList& StopBitsTexts();
QString StopBitsText(StopBits bits);
std::optional<StopBits> StopBitsFromText(const QString& text);

const QStringList& ParityTexts();
QString ParityText(Parity parity);
std::optional<Parity> ParityFromText(const QString& text);

const QStringList& FlowControlTexts();
QString FlowControlText(FlowControl flow);
std::optional<FlowControl> FlowControlFromText(const QString& text);

// Which choice the flags show as: Hardware or Software when they match that
// choice exactly, None when everything is off and RTS inactive, else Custom.
FlowControl FlowControlOf(const FlowFlags& flags);
// Sets the flags of a choice; Custom leaves them as they are.
void ApplyFlowControl(FlowControl choice, FlowFlags& flags);

}  // namespace orvex
