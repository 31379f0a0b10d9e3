#pragma once

#include "settings/ini_settings_backend.h"

#include <QString>

#include <ostream>
#include <vector>

namespace orvex::test {

// One string value written through a settings backend.
struct SettingsWrite {
  QString key;
  QString name;
  QString text;
  bool operator==(const SettingsWrite&) const = default;
};

inline void PrintTo(const SettingsWrite& write, std::ostream* os) {
  *os << '{' << write.key.toStdString() << " | " << write.name.toStdString() << " = \""
      << write.text.toStdString() << "\"}";
}

// The real INI backend, noting every string write in order into `writes`, a
// record the caller owns, so that it outlives the store that owns the backend.
class RecordingBackend : public SettingsBackend {
 public:
  RecordingBackend(const QString& filePath, std::vector<SettingsWrite>& record)
      : writes(record), ini_(filePath) {}

  Result<QString> readString(const QString& key, const QString& name) override {
    return ini_.readString(key, name);
  }
  Status writeString(const QString& key, const QString& name, const QString& text) override {
    writes.push_back({key, name, text});
    return ini_.writeString(key, name, text);
  }
  Result<int> readInteger(const QString& key, const QString& name) override {
    return ini_.readInteger(key, name);
  }
  Status writeInteger(const QString& key, const QString& name, int value) override {
    return ini_.writeInteger(key, name, value);
  }
  Status openKey(const QString& key) override { return ini_.openKey(key); }

  std::vector<SettingsWrite>& writes;

 private:
  IniSettingsBackend ini_;
};

}  // namespace orvex::test
