// Writes the settings the demo runs with into an INI file of its own: the
// first-run defaults, the simulator's address and all nine channels enabled.
#include "core/prompts.h"
#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QTextStream>

#include <memory>

namespace {

// Any message box the store would show becomes a line on standard error.
class ConsolePrompts : public orvex::Prompts {
 public:
  void message(const QString& text) override { print(text); }
  void information(const QString& text) override { print(text); }
  void error(const QString& text) override { print(text); }
  int count = 0;

 private:
  void print(const QString& text) {
    QTextStream(stderr) << text << '\n';
    ++count;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 3) {
    QTextStream(stderr) << "usage: orvex-demo-settings <settings file> <device address>\n";
    return 2;
  }
  ConsolePrompts prompts;
  orvex::SettingsStore store(std::make_unique<orvex::IniSettingsBackend>(args[1]), prompts);
  store.RunFirstRunStep();
  store.WriteSetting(orvex::RootKey, orvex::InterfaceIpName, args[2]);
  for (const QString& name : orvex::ChannelEnableNames) {
    store.WriteSetting(orvex::RootKey, name, orvex::FlagText(true));
  }
  return prompts.count == 0 ? 0 : 1;
}
