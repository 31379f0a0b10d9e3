#include "port_setup_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include <algorithm>

namespace orvex {
namespace {

QComboBox* NewList(const QString& objectName, const QStringList& items, const QString& current,
                   QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(objectName);
  list->addItems(items);
  list->setMinimumWidth(140);
  list->setCurrentIndex(items.indexOf(current));
  return list;
}

QPushButton* NewButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(text);
  return button;
}

}  // namespace

PortSetupDialog::PortSetupDialog(const ComPortSettings& current, const QStringList& portNames,
                                 QWidget* parent)
    : QDialog(parent), current_(current) {
  setWindowTitle(QStringLiteral("Setup"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* group = new QGroupBox(QStringLiteral(" Settings "), this);
  const QStringList ports = PortChoices(portNames, current.port);
  port_ = NewList(QStringLiteral("Port"), ports, current.port, group);
  baudRate_ =
      NewList(QStringLiteral("BaudRate"), BaudRateTexts(), BaudRateText(current.baudRate), group);
  dataBits_ =
      NewList(QStringLiteral("DataBits"), DataBitsTexts(), DataBitsText(current.dataBits), group);
  stopBits_ =
      NewList(QStringLiteral("StopBits"), StopBitsTexts(), StopBitsText(current.stopBits), group);
  parity_ = NewList(QStringLiteral("Parity"), ParityTexts(), ParityText(current.parity), group);
  flowControl_ = NewList(QStringLiteral("FlowControl"), FlowControlTexts(),
                         FlowControlText(FlowControlOf(current.flow)), group);

  auto* form = new QFormLayout(group);
  form->addRow(QStringLiteral("Port"), port_);
  form->addRow(QStringLiteral("Baud rate"), baudRate_);
  form->addRow(QStringLiteral("Data bits"), dataBits_);
  form->addRow(QStringLiteral("Stop bits"), stopBits_);
  form->addRow(QStringLiteral("Parity"), parity_);
  form->addRow(QStringLiteral("Flow control"), flowControl_);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  QPushButton* ok = NewButton(QStringLiteral("OK"), this);
  QPushButton* cancel = NewButton(QStringLiteral("Cancel"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

ComPortSettings PortSetupDialog::chosenSettings() const {
  ComPortSettings chosen = current_;
  // A list without a selection (no port known at all) keeps its setting.
  if (port_->currentIndex() >= 0) chosen.port = port_->currentText();
  if (const auto rate = BaudRateFromText(baudRate_->currentText())) chosen.baudRate = *rate;
  if (const auto bits = DataBitsFromText(dataBits_->currentText())) chosen.dataBits = *bits;
  if (const auto bits = StopBitsFromText(stopBits_->currentText())) chosen.stopBits = *bits;
  if (const auto parity = ParityFromText(parity_->currentText())) chosen.parity = *parity;
  if (const auto flow = FlowControlFromText(flowControl_->currentText())) {
    ApplyFlowControl(*flow, chosen.flow);
  }
  return chosen;
}

QStringList SystemPortNames() {
  QStringList names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    names.append(info.portName());
  }
  return names;
}

QStringList PortChoices(QStringList listed, const QString& currentPort) {
  if (!currentPort.isEmpty()) listed.append(currentPort);
  std::sort(listed.begin(), listed.end(), [](const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
  });
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
  return listed;
}

bool ModalPortDialogs::ShowSetupDialog(ComPortSettings& settings, QWidget* parent) {
  PortSetupDialog dialog(settings, SystemPortNames(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings = dialog.chosenSettings();
  return true;
}

}  // namespace orvex
