#pragma once

#include "settings/settings_backend.h"

#include <QString>

namespace orvex {

// The store in the Win32 registry below HKEY_CURRENT_USER (Windows only). Every call
// opens its key with read and write access, creating it when missing, acts and
// closes it again. Strings are REG_SZ (a REG_EXPAND_SZ reads as a string, not
// expanded); integers are REG_DWORD. A leading, trailing or doubled "\" in a key
// path is ignored, as in the INI store. Used on the GUI thread.
class RegistrySettingsBackend : public SettingsBackend {
 public:
  Result<QString> readString(const QString& key, const QString& name) override;
  Status writeString(const QString& key, const QString& name, const QString& text) override;
  Result<int> readInteger(const QString& key, const QString& name) override;
  Status writeInteger(const QString& key, const QString& name, int value) override;
  Status openKey(const QString& key) override;
};

}  // namespace orvex
