#include "com_port_settings_storage.h"

#include "core/error.h"
#include "settings/settings_keys.h"

namespace orvex {
namespace {

const QString kPort = QStringLiteral("Port");
const QString kBaudRate = QStringLiteral("BaudRate");
const QString kCustomBaudRate = QStringLiteral("CustomBaudRate");
const QString kStopBits = QStringLiteral("StopBits");
const QString kDataBits = QStringLiteral("DataBits");
const QString kParity = QStringLiteral("Parity");
const QString kFlowControl = QStringLiteral("FlowControl");

using Status = SettingsBackend::Status;

[[noreturn]] void FailLoad() { throw Error(QStringLiteral("Failed to load settings")); }
[[noreturn]] void FailStore() { throw Error(QStringLiteral("Failed to store settings")); }

// The stored text of `name`; empty when it is missing.
QString ReadText(SettingsBackend& backend, const QString& name) {
  const auto result = backend.readString(ComPortKey, name);
  if (result.status == Status::Missing) return {};
  if (result.status != Status::Ok) FailLoad();
  return result.value;
}

void WriteText(SettingsBackend& backend, const QString& name, const QString& text) {
  if (backend.writeString(ComPortKey, name, text) != Status::Ok) FailStore();
}

}  // namespace

void ComPortSettingsStorage::Load(ComPortSettings& settings) {
  if (backend_.openKey(ComPortKey) != Status::Ok) FailLoad();

  settings.port = ReadText(backend_, kPort);

  settings.baudRate = BaudRateFromText(ReadText(backend_, kBaudRate)).value_or(BaudRate::Br9600);
  if (settings.baudRate == BaudRate::Custom) {
    // The rate itself has no default: a custom rate without it is a broken store.
    const auto rate = backend_.readInteger(ComPortKey, kCustomBaudRate);
    if (rate.status != Status::Ok) FailLoad();
    settings.customBaudRate = rate.value;
  }

  settings.stopBits = StopBitsFromText(ReadText(backend_, kStopBits)).value_or(StopBits::One);
  settings.dataBits = DataBitsFromText(ReadText(backend_, kDataBits)).value_or(DataBits::Eight);
  settings.parity = ParityFromText(ReadText(backend_, kParity)).value_or(Parity::None);
  ApplyFlowControl(
      FlowControlFromText(ReadText(backend_, kFlowControl)).value_or(FlowControl::Custom),
      settings.flow);
}

void ComPortSettingsStorage::Store(const ComPortSettings& settings) {
  if (backend_.openKey(ComPortKey) != Status::Ok) FailStore();

  WriteText(backend_, kPort, settings.port);
  WriteText(backend_, kBaudRate, BaudRateText(settings.baudRate));
  if (settings.baudRate == BaudRate::Custom &&
      backend_.writeInteger(ComPortKey, kCustomBaudRate, settings.customBaudRate) != Status::Ok) {
    FailStore();
  }
  WriteText(backend_, kStopBits, StopBitsText(settings.stopBits));
  WriteText(backend_, kDataBits, DataBitsText(settings.dataBits));
  WriteText(backend_, kParity, ParityText(settings.parity));
  WriteText(backend_, kFlowControl, FlowControlText(FlowControlOf(settings.flow)));
}

}  // namespace orvex
