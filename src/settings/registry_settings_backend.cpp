#include "registry_settings_backend.h"

#include <QStringList>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace orvex {

namespace {

// A key below HKEY_CURRENT_USER, open for reading and writing while this lives.
class OpenedKey {
 public:
  explicit OpenedKey(const QString& keyPath) {
    const QString path = keyPath.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
    // No path would open HKEY_CURRENT_USER itself; nothing of ours lives there.
    if (path.isEmpty()) return;
    const std::wstring widePath = path.toStdWString();
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &handle, nullptr) == ERROR_SUCCESS) {
      handle_ = handle;
    }
  }
  ~OpenedKey() {
    if (handle_ != nullptr) RegCloseKey(handle_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  bool isOpen() const { return handle_ != nullptr; }
  HKEY handle() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

struct RawValue {
  LSTATUS status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// The type and bytes of one value. The size is asked first; when the value grows
// between the two calls, the query is repeated with the new size.
RawValue QueryValue(HKEY key, const QString& name) {
  const std::wstring wideName = name.toStdWString();
  RawValue raw;
  DWORD size = 0;
  raw.status = RegQueryValueExW(key, wideName.c_str(), nullptr, &raw.type, nullptr, &size);
  while (raw.status == ERROR_SUCCESS && size > 0) {
    raw.data.resize(size);
    DWORD received = size;
    raw.status =
        RegQueryValueExW(key, wideName.c_str(), nullptr, &raw.type, raw.data.data(), &received);
    if (raw.status == ERROR_MORE_DATA) {
      size = received;
      raw.status = ERROR_SUCCESS;
      continue;
    }
    if (raw.status == ERROR_SUCCESS) raw.data.resize(received);
    break;
  }
  return raw;
}

// A registry string need not end in a terminator; it ends at the first one if it
// has one.
QString StringOf(const std::vector<BYTE>& data) {
  std::u16string units(data.size() / sizeof(char16_t), u'\0');
  if (!units.empty()) std::memcpy(units.data(), data.data(), units.size() * sizeof(char16_t));
  const std::size_t end = units.find(u'\0');
  if (end != std::u16string::npos) units.resize(end);
  return QString::fromStdU16String(units);
}

SettingsBackend::Status SetValue(const QString& keyPath, const QString& name, DWORD type,
                                 const BYTE* data, std::size_t size) {
  OpenedKey key(keyPath);
  if (!key.isOpen()) return SettingsBackend::Status::KeyUnavailable;
  const std::wstring wideName = name.toStdWString();
  // A write the registry refuses (a value too big) is lost like one in a key that
  // cannot be opened.
  if (size > MAXDWORD || RegSetValueExW(key.handle(), wideName.c_str(), 0, type, data,
                                        static_cast<DWORD>(size)) != ERROR_SUCCESS) {
    return SettingsBackend::Status::KeyUnavailable;
  }
  return SettingsBackend::Status::Ok;
}

}  // namespace

SettingsBackend::Result<QString> RegistrySettingsBackend::readString(const QString& key,
                                                                     const QString& name) {
  OpenedKey opened(key);
  if (!opened.isOpen()) return {Status::KeyUnavailable, {}};
  const RawValue raw = QueryValue(opened.handle(), name);
  // Not found, or unreadable for another reason: no text to give.
  if (raw.status != ERROR_SUCCESS) return {Status::Missing, {}};
  if (raw.type != REG_SZ && raw.type != REG_EXPAND_SZ) return {Status::WrongType, {}};
  return {Status::Ok, StringOf(raw.data)};
}

SettingsBackend::Status RegistrySettingsBackend::writeString(const QString& key,
                                                             const QString& name,
                                                             const QString& text) {
  const std::wstring wideText = text.toStdWString();
  // The terminator is part of a REG_SZ value.
  return SetValue(key, name, REG_SZ, reinterpret_cast<const BYTE*>(wideText.c_str()),
                  (wideText.size() + 1) * sizeof(wchar_t));
}

SettingsBackend::Result<int> RegistrySettingsBackend::readInteger(const QString& key,
                                                                  const QString& name) {
  OpenedKey opened(key);
  if (!opened.isOpen()) return {Status::KeyUnavailable, 0};
  const RawValue raw = QueryValue(opened.handle(), name);
  if (raw.status != ERROR_SUCCESS) return {Status::Missing, 0};
  if (raw.type != REG_DWORD || raw.data.size() != sizeof(DWORD)) return {Status::WrongType, 0};
  DWORD value = 0;
  std::memcpy(&value, raw.data.data(), sizeof value);
  return {Status::Ok, static_cast<int>(value)};
}

SettingsBackend::Status RegistrySettingsBackend::writeInteger(const QString& key,
                                                              const QString& name, int value) {
  const DWORD dword = static_cast<DWORD>(value);
  return SetValue(key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
}

SettingsBackend::Status RegistrySettingsBackend::openKey(const QString& key) {
  return OpenedKey(key).isOpen() ? Status::Ok : Status::KeyUnavailable;
}

}  // namespace orvex
