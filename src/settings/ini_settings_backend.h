#pragma once

#include "settings/settings_backend.h"

#include <QString>
#include <QVariant>

namespace orvex {

// The store in an INI file, for platforms without a registry. Each key path is one
// section ("Orvex controller\Settings" becomes [Orvex%20controller%5CSettings]) and
// each value one line below it. Value names and key levels may hold any text:
// "/", "\" and "%" are escaped so that QSettings does not read them as levels.
//
// Strings are stored as they are; a 32-bit integer as "dword:<decimal>", and a
// string that itself starts with "dword:" or "sz:" gets a "sz:" in front, so the
// type of every value survives the round trip.
//
// Every call opens the file through its own QSettings, acts, syncs and checks the
// outcome, so a value written is seen by the next read anywhere in the process.
// A write replaces the file atomically: when it fails, the old file stays whole.
// A key is unavailable when the file, or the folder it goes in, cannot be read,
// created or written. Not thread-safe; used on the GUI thread.
class IniSettingsBackend : public SettingsBackend {
 public:
  explicit IniSettingsBackend(QString filePath);

  Result<QString> readString(const QString& key, const QString& name) override;
  Status writeString(const QString& key, const QString& name, const QString& text) override;
  Result<int> readInteger(const QString& key, const QString& name) override;
  Status writeInteger(const QString& key, const QString& name, int value) override;
  Status openKey(const QString& key) override;

  const QString& filePath() const { return filePath_; }

 private:
  // The stored text of a value as the file holds it, before its type is decoded.
  Result<QVariant> readStored(const QString& key, const QString& name);
  Status writeStored(const QString& key, const QString& name, const QString& stored);

  QString filePath_;
};

}  // namespace orvex
