#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace orvex {

// A registry-like store below the current user's root: keys are paths with "\"
// between levels, value names are free text (spaces and "/" included). Each call
// opens its key (creating it when missing), acts and closes it again.
class SettingsBackend {
 public:
  enum class Status {
    Ok,
    Missing,         // the key opened but holds no such value
    KeyUnavailable,  // the key could not be opened or created
    WrongType,       // the value exists but is not of the asked type
  };

  template <typename T>
  struct Result {
    Status status = Status::Missing;
    T value{};
  };

  virtual ~SettingsBackend() = default;

  virtual Result<QString> readString(const QString& key, const QString& name) = 0;
  virtual Status writeString(const QString& key, const QString& name, const QString& text) = 0;
  // A 32-bit integer value (a DWORD in the registry).
  virtual Result<int> readInteger(const QString& key, const QString& name) = 0;
  virtual Status writeInteger(const QString& key, const QString& name, int value) = 0;
  // Creates the key when missing; KeyUnavailable when that fails.
  virtual Status openKey(const QString& key) = 0;
};

// The backend of this platform: the Win32 registry below HKEY_CURRENT_USER on
// Windows, elsewhere an INI file at DefaultSettingsFilePath().
std::unique_ptr<SettingsBackend> CreatePlatformBackend();

// <XDG_CONFIG_HOME or ~/.config>/orvex/orvex-controller.ini (not on Windows).
QString DefaultSettingsFilePath();

}  // namespace orvex
