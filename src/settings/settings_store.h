#pragma once

#include "core/prompts.h"
#include "settings/settings_backend.h"

#include <QLocale>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

namespace orvex {

// Every setting of the program as a string value below the user's root, in the
// keys of settings_keys.h. Nothing is cached: every call opens its key, acts and
// closes it again, so a value written anywhere is seen by the next read anywhere.
// Called on the GUI thread only; may show message boxes through Prompts.
class SettingsStore {
 public:
  // Does not take ownership of prompts, which must outlive the store.
  SettingsStore(std::unique_ptr<SettingsBackend> backend, Prompts& prompts);

  // The text of value `name` in `key`; empty text when the value does not exist
  // or the key cannot be opened (reported through Prompts). A value that is not a
  // string raises "Invalid data type for '<name>'".
  QString ReadSetting(const QString& key, const QString& name);
  // Stores `text` as string value `name` in `key`, replacing any earlier value.
  void WriteSetting(const QString& key, const QString& name, const QString& text);

  // Writes every default on a first start. Returns true when it was a first start.
  bool RunFirstRunStep();

  // The backend itself, for components that keep their own typed values (the
  // serial-port settings) and report failures in their own words.
  SettingsBackend& backend() { return *backend_; }

 private:
  void ReportUnavailableKey(const QString& key);

  std::unique_ptr<SettingsBackend> backend_;
  Prompts& prompts_;
  // Keys already reported as unavailable since start: one box per key, not per value.
  QSet<QString> reportedKeys_;
};

// Flag conversion of a stored text: a number in `locale` is true when not zero;
// otherwise "true"/"false" in any letter case. Anything else raises
// "'<text>' is not a valid boolean value".
bool FlagFromText(const QString& text, const QLocale& locale = QLocale());
// Integer conversion: decimal with optional sign. Anything else raises
// "'<text>' is not a valid integer value".
int IntegerFromText(const QString& text);
// The stored text of a flag: "true" or "false".
QString FlagText(bool flag);

}  // namespace orvex
