#include "ini_settings_backend.h"

#include <QSettings>
#include <QStringList>

#include <utility>

namespace orvex {

namespace {

const QString IntegerPrefix = QStringLiteral("dword:");
const QString StringPrefix = QStringLiteral("sz:");

// QSettings reads "/" and "\" as level separators. Escaping them, and "%" itself,
// maps every text to a distinct single level; the empty text becomes a lone "%",
// which no other text can give.
QString EscapeLevel(const QString& text) {
  if (text.isEmpty()) return QStringLiteral("%");
  QString escaped;
  escaped.reserve(text.size());
  for (const QChar c : text) {
    if (c == u'%') {
      escaped += u"%25";
    } else if (c == u'/') {
      escaped += u"%2F";
    } else if (c == u'\\') {
      escaped += u"%5C";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// The section of a key path: its levels escaped and joined by "\" again. Empty
// levels are dropped, as the registry ignores a leading or doubled "\". Empty for
// a path without levels.
QString SectionOf(const QString& keyPath) {
  QStringList levels = keyPath.split(u'\\', Qt::SkipEmptyParts);
  for (QString& level : levels) level = EscapeLevel(level);
  return levels.join(u'\\');
}

// Every value lives one level below its section, so a value's QSettings key is never
// the prefix of another one.
QString SettingsKeyOf(const QString& section, const QString& name) {
  return section + u'/' + EscapeLevel(name);
}

QString StoredFormOfString(const QString& text) {
  if (text.startsWith(IntegerPrefix) || text.startsWith(StringPrefix)) return StringPrefix + text;
  return text;
}

QString StoredFormOfInteger(int value) { return IntegerPrefix + QString::number(value); }

struct StoredValue {
  enum class Type { String, Integer, Other };
  Type type = Type::Other;
  QString text;
  int number = 0;
};

// A value read back from the file. Anything QSettings does not hand over as one
// string (a hand-written list "a,b", "@ByteArray(...)") is of another type.
StoredValue Decode(const QVariant& stored) {
  if (stored.typeId() != QMetaType::QString) return {};
  const QString text = stored.toString();
  if (text.startsWith(StringPrefix)) {
    return {StoredValue::Type::String, text.mid(StringPrefix.size()), 0};
  }
  if (text.startsWith(IntegerPrefix)) {
    const QString digits = text.mid(IntegerPrefix.size());
    bool ok = false;
    const int number = digits.toInt(&ok, 10);
    // Only the form written here counts: no blanks, no "+", no leading zeros.
    if (!ok || QString::number(number) != digits) return {};
    return {StoredValue::Type::Integer, {}, number};
  }
  return {StoredValue::Type::String, text, 0};
}

// Opening a key opens the file for reading and writing, creating its folder when
// missing; a file that does not exist yet is an empty store.
bool Opened(QSettings& settings) {
  settings.setAtomicSyncRequired(true);
  return settings.status() != QSettings::AccessError && settings.isWritable();
}

}  // namespace

IniSettingsBackend::IniSettingsBackend(QString filePath) : filePath_(std::move(filePath)) {}

SettingsBackend::Result<QVariant> IniSettingsBackend::readStored(const QString& key,
                                                                 const QString& name) {
  const QString section = SectionOf(key);
  if (section.isEmpty()) return {Status::KeyUnavailable, {}};
  QSettings settings(filePath_, QSettings::IniFormat);
  if (!Opened(settings)) return {Status::KeyUnavailable, {}};

  const QString settingsKey = SettingsKeyOf(section, name);
  Result<QVariant> result;
  if (settings.contains(settingsKey)) result = {Status::Ok, settings.value(settingsKey)};
  settings.sync();
  if (settings.status() == QSettings::AccessError) return {Status::KeyUnavailable, {}};
  return result;
}

SettingsBackend::Status IniSettingsBackend::writeStored(const QString& key, const QString& name,
                                                        const QString& stored) {
  const QString section = SectionOf(key);
  if (section.isEmpty()) return Status::KeyUnavailable;
  QSettings settings(filePath_, QSettings::IniFormat);
  if (!Opened(settings)) return Status::KeyUnavailable;

  const QString settingsKey = SettingsKeyOf(section, name);
  const bool existed = settings.contains(settingsKey);
  const QVariant previous = settings.value(settingsKey);
  settings.setValue(settingsKey, stored);
  settings.sync();
  if (settings.status() != QSettings::AccessError) return Status::Ok;

  // QSettings keeps an unsaved change in memory shared by every QSettings on this
  // file: later reads would see it and a later sync would write it. Take it back,
  // so that a failed write is lost as reported.
  if (existed) {
    settings.setValue(settingsKey, previous);
  } else {
    settings.remove(settingsKey);
  }
  return Status::KeyUnavailable;
}

SettingsBackend::Result<QString> IniSettingsBackend::readString(const QString& key,
                                                                const QString& name) {
  const Result<QVariant> stored = readStored(key, name);
  if (stored.status != Status::Ok) return {stored.status, {}};
  StoredValue value = Decode(stored.value);
  if (value.type != StoredValue::Type::String) return {Status::WrongType, {}};
  return {Status::Ok, std::move(value.text)};
}

SettingsBackend::Status IniSettingsBackend::writeString(const QString& key, const QString& name,
                                                        const QString& text) {
  return writeStored(key, name, StoredFormOfString(text));
}

SettingsBackend::Result<int> IniSettingsBackend::readInteger(const QString& key,
                                                             const QString& name) {
  const Result<QVariant> stored = readStored(key, name);
  if (stored.status != Status::Ok) return {stored.status, 0};
  const StoredValue value = Decode(stored.value);
  if (value.type != StoredValue::Type::Integer) return {Status::WrongType, 0};
  return {Status::Ok, value.number};
}

SettingsBackend::Status IniSettingsBackend::writeInteger(const QString& key, const QString& name,
                                                         int value) {
  return writeStored(key, name, StoredFormOfInteger(value));
}

SettingsBackend::Status IniSettingsBackend::openKey(const QString& key) {
  if (SectionOf(key).isEmpty()) return Status::KeyUnavailable;
  QSettings settings(filePath_, QSettings::IniFormat);
  return Opened(settings) ? Status::Ok : Status::KeyUnavailable;
}

}  // namespace orvex
