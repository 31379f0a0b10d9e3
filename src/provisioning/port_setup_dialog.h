#pragma once

#include "provisioning/com_port_settings.h"

#include <QDialog>
#include <QStringList>

class QComboBox;

namespace orvex {

// The port settings dialog: caption "Setup", a group " Settings " with one list
// each for the port ("Port"), "BaudRate", "DataBits", "StopBits", "Parity" and
// "FlowControl" (their objectNames), and the buttons "OK" and "Cancel". Each list
// starts at the current setting. The dialog stores nothing.
class PortSetupDialog : public QDialog {
 public:
  // `portNames` are the ports to offer (see PortChoices).
  PortSetupDialog(const ComPortSettings& current, const QStringList& portNames,
                  QWidget* parent = nullptr);

  // The current settings with all six choices applied: a "Custom" baud rate
  // keeps the custom rate, a "Custom" flow control keeps the flags.
  ComPortSettings chosenSettings() const;

 private:
  ComPortSettings current_;
  QComboBox* port_;
  QComboBox* baudRate_;
  QComboBox* dataBits_;
  QComboBox* stopBits_;
  QComboBox* parity_;
  QComboBox* flowControl_;
};

// The names of the system's serial ports, as QSerialPort takes them.
QStringList SystemPortNames();

// The port list of the dialog: `listed` sorted alphabetically without regard to
// case, duplicates dropped. A current port that is not listed (a device that is
// unplugged, a port the system does not enumerate) is added, so that OK keeps it.
QStringList PortChoices(QStringList listed, const QString& currentPort);

// The dialogs of the port, reached through one interface so that tests can
// answer them. GUI thread only.
class PortDialogs {
 public:
  virtual ~PortDialogs() = default;
  // Shows the port settings dialog over `parent`; on OK applies the choices to
  // `settings` and returns true, on Cancel leaves them and returns false.
  virtual bool ShowSetupDialog(ComPortSettings& settings, QWidget* parent) = 0;
};

// The production dialogs: PortSetupDialog run modally with the system's ports.
class ModalPortDialogs : public PortDialogs {
 public:
  bool ShowSetupDialog(ComPortSettings& settings, QWidget* parent) override;
};

}  // namespace orvex
