#include "app/windows.h"

#include "core/guard.h"
#include "log/log_actions.h"
#include "log/standard_log_dialogs.h"
#include "log/xlsx_log_exporter.h"
#include "provisioning/port_setup_dialog.h"
#include "provisioning/tform2.h"
#include "settings/settings_store.h"
#include "ui/main/about_window.h"
#include "ui/measure_settings/msr_setings.h"
#include "ui/widgets/message_box_prompts.h"

#include <QToolButton>

#ifdef Q_OS_WIN
#include "log/excel_com_exporter.h"
#endif

namespace orvex {
namespace {

std::unique_ptr<LogExporter> PlatformExporter() {
#ifdef Q_OS_WIN
  return std::make_unique<ExcelComExporter>();
#else
  return std::make_unique<XlsxLogExporter>();
#endif
}

}  // namespace

ApplicationWindows::ApplicationWindows() : ApplicationWindows(Services{}) {}

ApplicationWindows::ApplicationWindows(Services services) {
  Prompts* prompts = services.prompts;
  if (!prompts) {
    ownPrompts_ = std::make_unique<MessageBoxPrompts>();
    prompts = ownPrompts_.get();
  }
  store_ = services.store ? std::move(services.store)
                          : std::make_unique<SettingsStore>(CreatePlatformBackend(), *prompts);

  main_ = std::make_unique<TMain>(*store_, *prompts, services.devicePort);
  if (ownPrompts_) ownPrompts_->setOwner(main_.get());
  about_ = std::make_unique<TForm1>();

  PortDialogs* portDialogs = services.portDialogs;
  if (!portDialogs) {
    ownPortDialogs_ = std::make_unique<ModalPortDialogs>();
    portDialogs = ownPortDialogs_.get();
  }
  setup_ = std::make_unique<TForm2>(*store_, *prompts, *portDialogs);
  measureSettings_ = std::make_unique<TMsrSetings>(*store_, *prompts, main_->Gauges());
  main_->SetSecondaryWindows(about_.get(), setup_.get(), measureSettings_.get());

  LogDialogs* logDialogs = services.logDialogs;
  if (!logDialogs) {
    ownLogDialogs_ = std::make_unique<StandardLogDialogs>(main_.get());
    logDialogs = ownLogDialogs_.get();
  }
  LogExporter* exporter = services.exporter;
  if (!exporter) {
    ownExporter_ = PlatformExporter();
    exporter = ownExporter_.get();
  }
  logActions_ = std::make_unique<LogActions>(main_->log(), *logDialogs, *exporter, *prompts);
  const std::pair<const char*, void (LogActions::*)()> logButtons[] = {
      {"Open", &LogActions::OpenClick},   {"SaveAs", &LogActions::SaveAsClick},
      {"Save", &LogActions::SaveClick},   {"Export", &LogActions::ExportClick},
      {"Print", &LogActions::PrintClick},
  };
  for (const auto& [name, handler] : logButtons) {
    QObject::connect(main_->toolButton(QLatin1String(name)), &QToolButton::clicked,
                     main_.get(), [this, prompts, handler] {
                       RunGuarded(*prompts, [&] { (logActions_.get()->*handler)(); });
                     });
  }
}

ApplicationWindows::~ApplicationWindows() {
  // The dialog drives the main window's gauges: it goes first.
  logActions_.reset();
  measureSettings_.reset();
  setup_.reset();
  about_.reset();
  main_.reset();
}

}  // namespace orvex
