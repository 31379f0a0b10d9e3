#include "settings_store.h"

#include "core/error.h"
#include "settings/settings_keys.h"

#include <cmath>
#include <utility>

namespace orvex {

SettingsStore::SettingsStore(std::unique_ptr<SettingsBackend> backend, Prompts& prompts)
    : backend_(std::move(backend)), prompts_(prompts) {}

QString SettingsStore::ReadSetting(const QString& key, const QString& name) {
  const SettingsBackend::Result<QString> result = backend_->readString(key, name);
  switch (result.status) {
    case SettingsBackend::Status::Ok:
      return result.value;
    case SettingsBackend::Status::Missing:
      return {};
    case SettingsBackend::Status::KeyUnavailable:
      ReportUnavailableKey(key);
      return {};
    case SettingsBackend::Status::WrongType:
      throw Error(u"Invalid data type for '" + name + u"'");
  }
  return {};
}

void SettingsStore::WriteSetting(const QString& key, const QString& name, const QString& text) {
  if (backend_->writeString(key, name, text) == SettingsBackend::Status::KeyUnavailable) {
    ReportUnavailableKey(key);
  }
}

bool SettingsStore::RunFirstRunStep() {
  if (ReadSetting(RootKey, FirstRunMarkerName) == FirstRunMarkerText) return false;

  WriteSetting(RootKey, FirstRunMarkerName, FirstRunMarkerText);
  for (const QString& name : ChannelEnableNames) WriteSetting(RootKey, name, FlagText(false));
  WriteSetting(RootKey, TimingName, DefaultTimingText);
  for (const QString& name : DigitalInputEnableNames) WriteSetting(RootKey, name, FlagText(false));
  for (const QString& name : TemperatureOffsetNames) {
    WriteSetting(RootKey, name, DefaultTemperatureOffsetText);
  }

  WriteSetting(SettingsKey, RenameName, NoChoiceText);
  for (const QString& name : ChannelRangeNames) WriteSetting(SettingsKey, name, NoChoiceText);
  for (const QString& name : AcDcNames) WriteSetting(SettingsKey, name, DcFlagText);

  for (std::size_t i = 0; i < InstrumentNameNames.size(); ++i) {
    WriteSetting(InstrumentNamesKey, InstrumentNameNames[i], DefaultInstrumentNames[i]);
  }

  WriteSetting(RootKey, InterfaceIpName, DefaultInterfaceIp);
  for (std::size_t i = 0; i < InputNameNames.size(); ++i) {
    WriteSetting(RootKey, InputNameNames[i], DefaultInputNames[i]);
  }
  for (std::size_t i = 0; i < OutputNameNames.size(); ++i) {
    WriteSetting(RootKey, OutputNameNames[i], DefaultOutputNames[i]);
  }
  return true;
}

void SettingsStore::ReportUnavailableKey(const QString& key) {
  // Marked before the box is shown: the box runs a nested event loop, and a tick
  // handled meanwhile may touch the same key.
  if (reportedKeys_.contains(key)) return;
  reportedKeys_.insert(key);
  prompts_.message(u"Error opening/creating key : " + key);
}

bool FlagFromText(const QString& text, const QLocale& locale) {
  // A number in the locale's own notation only: "1.000" is no number where the
  // full stop groups thousands.
  QLocale numeric = locale;
  numeric.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
  bool isNumber = false;
  const double number = numeric.toDouble(text, &isNumber);
  if (isNumber && std::isfinite(number)) return number != 0.0;

  if (text.compare(u"true", Qt::CaseInsensitive) == 0) return true;
  if (text.compare(u"false", Qt::CaseInsensitive) == 0) return false;
  throw Error(u"'" + text + u"' is not a valid boolean value");
}

int IntegerFromText(const QString& text) {
  qsizetype digitsFrom = 0;
  if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) digitsFrom = 1;
  bool wellFormed = text.size() > digitsFrom;
  for (qsizetype i = digitsFrom; wellFormed && i < text.size(); ++i) {
    wellFormed = text.at(i) >= u'0' && text.at(i) <= u'9';
  }
  bool inRange = false;
  const int value = wellFormed ? text.toInt(&inRange, 10) : 0;
  if (!inRange) throw Error(u"'" + text + u"' is not a valid integer value");
  return value;
}

QString FlagText(bool flag) { return flag ? QStringLiteral("true") : QStringLiteral("false"); }

}  // namespace orvex
