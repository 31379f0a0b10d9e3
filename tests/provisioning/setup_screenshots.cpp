// Shows the setup window and its port settings dialog as the program does and
// saves a picture of each: setup_screenshots <folder> writes setup-window.png
// and port-dialog.png there. Run under a display (xvfb-run); the settings go to
// a temporary file, the user's own stay untouched.
#include "provisioning/port_setup_dialog.h"
#include "provisioning/tform2.h"
#include "settings/ini_settings_backend.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// Nothing should go wrong here; if it does, the text goes to the terminal
// instead of a box that would wait for a user.
class TerminalPrompts : public orvex::Prompts {
 public:
  void message(const QString& text) override { Print(text); }
  void information(const QString& text) override { Print(text); }
  void error(const QString& text) override { Print(text); }
  int count = 0;

 private:
  void Print(const QString& text) {
    ++count;
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
};

bool Save(QWidget& widget, const QString& path) {
  if (widget.grab().save(path)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir settingsDir;

  TerminalPrompts prompts;
  orvex::SettingsStore store(std::make_unique<orvex::IniSettingsBackend>(
                                 settingsDir.filePath(QStringLiteral("orvex-controller.ini"))),
                             prompts);
  orvex::ModalPortDialogs dialogs;
  orvex::TForm2 window(store, prompts, dialogs);
  // A first start has no port yet; pick the first one the system lists.
  const QStringList ports = orvex::SystemPortNames();
  if (!ports.isEmpty()) window.comPort1().settings().port = orvex::PortChoices(ports, {}).first();
  window.findChild<QLineEdit*>(QStringLiteral("ssid"))->setText(QStringLiteral("Orchard-WiFi"));
  window.findChild<QLineEdit*>(QStringLiteral("pass"))->setText(QStringLiteral("sunny day 2024"));
  window.show();

  bool saved = true;
  QTimer::singleShot(500, [&] {
    saved = Save(window, out.filePath(QStringLiteral("setup-window.png"))) && saved;
    // The dialog is modal: picture it from inside its own loop, then cancel it.
    QTimer::singleShot(500, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = dynamic_cast<orvex::PortSetupDialog*>(top);
            dialog && dialog->isVisible()) {
          saved = Save(*dialog, out.filePath(QStringLiteral("port-dialog.png"))) && saved;
          dialog->reject();
        }
      }
      QApplication::quit();
    });
    window.findChild<QPushButton*>(QStringLiteral("VirtualPort"))->click();
  });
  QApplication::exec();
  return saved && prompts.count == 0 ? 0 : 1;
}
