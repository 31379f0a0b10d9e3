#pragma once

#include "core/prompts.h"
#include "provisioning/com_port.h"
#include "provisioning/port_setup_dialog.h"
#include "settings/settings_store.h"

#include <QWidget>

class QCloseEvent;
class QLineEdit;
class QPushButton;

namespace orvex {

// The setup window "Setup": writes the device's network name (`ssid`) and pass
// phrase (`pass`) to it over the serial port `ComPort1`, and lets the user set
// that port. Its port settings are loaded when the window is created and stored
// each time the user closes it; closing only hides it, the texts stay.
// Does not take ownership of the store, prompts or dialogs, which must outlive
// the window. GUI thread only; handlers may show message boxes and dialogs.
class TForm2 : public QWidget {
 public:
  TForm2(SettingsStore& store, Prompts& prompts, PortDialogs& dialogs, QWidget* parent = nullptr);

  ComPort& comPort1() { return comPort1_; }

  // Loads the port settings; runs once, from the constructor.
  void FormCreate();
  // Stores the port settings; false when that failed and the window stays open.
  bool FormClose();
  // "Set virtual port": the port settings dialog.
  void VirtualPortClick();
  // "Write network settings": opens the port, writes the provisioning line, closes.
  void VrShadowButton1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  SettingsStore& store_;
  Prompts& prompts_;
  PortDialogs& dialogs_;
  ComPort comPort1_;
  QLineEdit* ssid_;
  QLineEdit* pass_;
  QPushButton* vrShadowButton1_;
  QPushButton* virtualPort_;
};

}  // namespace orvex
