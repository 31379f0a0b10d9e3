#pragma once

#include "settings/ini_settings_backend.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvex::test {

// The real INI backend, with a record of the values each call touched and a
// way to make one value's access fail as a broken store would.
class AccessRecordingBackend : public SettingsBackend {
 public:
  explicit AccessRecordingBackend(const QString& filePath) : ini_(filePath) {}

  Result<QString> readString(const QString& key, const QString& name) override {
    reads.append(name);
    if (failing(name)) return {*failWith, {}};
    return ini_.readString(key, name);
  }
  Status writeString(const QString& key, const QString& name, const QString& text) override {
    writes.append(name);
    if (failing(name)) return *failWith;
    return ini_.writeString(key, name, text);
  }
  Result<int> readInteger(const QString& key, const QString& name) override {
    reads.append(name);
    if (failing(name)) return {*failWith, {}};
    return ini_.readInteger(key, name);
  }
  Status writeInteger(const QString& key, const QString& name, int value) override {
    writes.append(name);
    if (failing(name)) return *failWith;
    return ini_.writeInteger(key, name, value);
  }
  Status openKey(const QString& key) override {
    if (failing({})) return *failWith;
    return ini_.openKey(key);
  }

  QStringList reads;
  QStringList writes;
  // The value whose access fails (an empty name: opening the key), and how.
  QString failName;
  std::optional<Status> failWith;

 private:
  bool failing(const QString& name) const { return failWith && name == failName; }

  IniSettingsBackend ini_;
};

}  // namespace orvex::test
