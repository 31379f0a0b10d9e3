#include "about_window.h"
#include "logo.h"

#include "ui/widgets/window_helpers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvex {

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("About"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setPixmap(LogoPixmap(QSize(240, 84)));
  picture->setAccessibleName(QStringLiteral("Orvex logo"));

  auto* title = new QLabel(QStringLiteral("<b>Orvex controller</b>"), this);
  QFont big = title->font();
  big.setPixelSize(22);
  title->setFont(big);
  auto* version = new QLabel(
      QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion()), this);
  version->setObjectName(QStringLiteral("Version"));
  auto* about = new QLabel(
      QStringLiteral("Desktop client for the Orvex photovoltaic monitoring and charge-control "
                     "unit: live voltages, currents and temperatures, the digital lines, a "
                     "measurement log to save, export and print, and the unit's Wi-Fi set-up "
                     "over USB."),
      this);
  about->setWordWrap(true);

  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto* text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(version);
  text->addSpacing(8);
  text->addWidget(about);
  text->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  text->addLayout(buttons);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(20, 20, 20, 16);
  row->setSpacing(20);
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addLayout(text, 1);
  setFixedSize(kClientSize);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  CentreOnScreen(this);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The window lives as long as the program; closing only hides it.
  event->ignore();
  hide();
}

}  // namespace orvex
