#pragma once

#include "provisioning/com_port_settings.h"
#include "settings/settings_backend.h"

namespace orvex {

// Keeps the provisioning port's settings in the key ComPortKey as the values
// "Port", "BaudRate", "CustomBaudRate" (a 32-bit integer, only with a custom
// rate), "StopBits", "DataBits", "Parity" and "FlowControl", written in that order.
// Does not take ownership of the backend, which must outlive the storage.
class ComPortSettingsStorage {
 public:
  explicit ComPortSettingsStorage(SettingsBackend& backend) : backend_(backend) {}

  // Reads the stored values into `settings`, creating the key when missing.
  // Texts compare without regard to case; a missing or unknown text gives the
  // default of its setting (9600, 1 stop bit, 8 data bits, no parity, flow flags
  // unchanged) and a missing port an empty name. Any failure raises
  // "Failed to load settings"; what was read before it stays in `settings`.
  void Load(ComPortSettings& settings);
  // Writes every value; any failure raises "Failed to store settings".
  void Store(const ComPortSettings& settings);

 private:
  SettingsBackend& backend_;
};

}  // namespace orvex
