#include "settings_backend.h"

#include "settings/ini_settings_backend.h"
#ifdef Q_OS_WIN
#include "settings/registry_settings_backend.h"
#endif

#include <QStandardPaths>

namespace orvex {

std::unique_ptr<SettingsBackend> CreatePlatformBackend() {
#ifdef Q_OS_WIN
  return std::make_unique<RegistrySettingsBackend>();
#else
  return std::make_unique<IniSettingsBackend>(DefaultSettingsFilePath());
#endif
}

QString DefaultSettingsFilePath() {
  // $XDG_CONFIG_HOME, or ~/.config when it is unset or empty.
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         u"/orvex/orvex-controller.ini";
}

}  // namespace orvex
