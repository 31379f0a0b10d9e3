// Renders the measurement settings dialog as it looks after a first start, over
// a throw-away settings file, into the PNG file named on the command line.
#include "settings/ini_settings_backend.h"
#include "settings/settings_store.h"
#include "support/fake_prompts.h"
#include "ui/measure_settings/msr_setings.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/thermometer.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <clocale>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
    return 2;
  }

  QTemporaryDir dir;
  orvex::test::FakePrompts prompts;
  orvex::SettingsStore store(
      std::make_unique<orvex::IniSettingsBackend>(dir.filePath(QStringLiteral("orvex.ini"))),
      prompts);
  store.RunFirstRunStep();

  std::array<std::unique_ptr<orvex::AnalogMeter>, 7> meters;
  std::array<std::unique_ptr<orvex::ThermoMeter>, 2> thermometers;
  std::array<std::unique_ptr<QLabel>, 9> labels;
  orvex::MeasurePanelGauges gauges;
  for (std::size_t i = 0; i < meters.size(); ++i) {
    meters[i] = std::make_unique<orvex::AnalogMeter>();
    labels[i] = std::make_unique<QLabel>();
    gauges.meters[i] = meters[i].get();
    gauges.acDcLabels[i] = labels[i].get();
  }
  for (std::size_t i = 0; i < thermometers.size(); ++i) {
    thermometers[i] = std::make_unique<orvex::ThermoMeter>();
    labels[7 + i] = std::make_unique<QLabel>();
    gauges.thermometers[i] = thermometers[i].get();
    gauges.temperatureLabels[i] = labels[7 + i].get();
  }

  orvex::TMsrSetings dialog(store, prompts, gauges);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
  for (const auto& box : prompts.boxes) std::fprintf(stderr, "%s\n", qPrintable(box.text));
  return dialog.grab().save(QString::fromLocal8Bit(argv[1])) && prompts.boxes.empty() ? 0 : 1;
}
