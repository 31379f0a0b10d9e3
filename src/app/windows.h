#pragma once

#include "ui/main/main_window.h"

#include <memory>

namespace orvex {

class LogActions;
class LogDialogs;
class LogExporter;
class MessageBoxPrompts;
class PortDialogs;
class SettingsStore;
class TForm1;
class TForm2;
class TMsrSetings;

// The program's windows, created in their fixed order: the main window (which
// runs the first-run step and loads the stored settings), the About window, the
// setup window (which loads the serial-port settings), and last the measurement
// settings dialog (which applies the stored ranges to the main window's gauges).
// All live until the program ends. Every connection between windows is made here.
class ApplicationWindows {
 public:
  // The services the windows use; null members are replaced by the production
  // ones (real message boxes and dialogs, the platform's settings and exporter).
  struct Services {
    std::unique_ptr<SettingsStore> store;
    Prompts* prompts = nullptr;
    LogDialogs* logDialogs = nullptr;
    LogExporter* exporter = nullptr;
    PortDialogs* portDialogs = nullptr;
    quint16 devicePort = 2000;
  };

  ApplicationWindows();
  explicit ApplicationWindows(Services services);
  ~ApplicationWindows();

  TMain* main() const { return main_.get(); }
  TForm1* about() const { return about_.get(); }
  TForm2* setup() const { return setup_.get(); }
  TMsrSetings* measureSettings() const { return measureSettings_.get(); }
  LogActions& logActions() const { return *logActions_; }
  SettingsStore& store() const { return *store_; }

 private:
  // Production services, when not given.
  std::unique_ptr<MessageBoxPrompts> ownPrompts_;
  std::unique_ptr<LogDialogs> ownLogDialogs_;
  std::unique_ptr<LogExporter> ownExporter_;
  std::unique_ptr<PortDialogs> ownPortDialogs_;

  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<TMain> main_;
  std::unique_ptr<TForm1> about_;
  std::unique_ptr<TForm2> setup_;
  std::unique_ptr<TMsrSetings> measureSettings_;
  std::unique_ptr<LogActions> logActions_;
};

}  // namespace orvex
