#include "provisioning/port_setup_dialog.h"
#include "modal_answer.h"
#include "support/test_printers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orvex {
namespace {

using test::Choose;
using test::Press;

QComboBox* List(QWidget& dialog, const char* name) {
  return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
}

QStringList Items(QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items.append(list->itemText(i));
  return items;
}

ComPortSettings OddSettings() {
  ComPortSettings settings;
  settings.port = QStringLiteral("COM3");
  settings.baudRate = BaudRate::Custom;
  settings.customBaudRate = 31250;
  settings.dataBits = DataBits::Seven;
  settings.stopBits = StopBits::OneAndHalf;
  settings.parity = Parity::Mark;
  ApplyFlowControl(FlowControl::Software, settings.flow);
  return settings;
}

TEST(PortSetupDialog, HoldsTheSixListsWithTheirChoices) {
  PortSetupDialog dialog(ComPortSettings{}, {"ttyUSB1", "COM10", "com2", "ttyS0"});
  EXPECT_EQ(dialog.windowTitle(), "Setup");
  const auto* group = dialog.findChild<QGroupBox*>();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), " Settings ");

  // The design port "COM1" is not listed by the system, so it is offered as well.
  EXPECT_EQ(Items(List(dialog, "Port")),
            QStringList({"COM1", "COM10", "com2", "ttyS0", "ttyUSB1"}));
  EXPECT_EQ(Items(List(dialog, "BaudRate")), BaudRateTexts());
  EXPECT_EQ(Items(List(dialog, "DataBits")), QStringList({"5", "6", "7", "8"}));
  EXPECT_EQ(Items(List(dialog, "StopBits")), QStringList({"1", "1.5", "2"}));
  EXPECT_EQ(Items(List(dialog, "Parity")), QStringList({"None", "Odd", "Even", "Mark", "Space"}));
  EXPECT_EQ(Items(List(dialog, "FlowControl")),
            QStringList({"Hardware", "Software", "None", "Custom"}));

  const auto* form = group->findChild<QFormLayout*>();
  ASSERT_NE(form, nullptr);
  QStringList labels;
  for (int row = 0; row < form->rowCount(); ++row) {
    labels.append(
        qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget())->text());
  }
  EXPECT_EQ(labels,
            QStringList({"Port", "Baud rate", "Data bits", "Stop bits", "Parity", "Flow control"}));
  EXPECT_EQ(dialog.findChild<QPushButton*>("OK")->text(), "OK");
  EXPECT_EQ(dialog.findChild<QPushButton*>("Cancel")->text(), "Cancel");
}

TEST(PortSetupDialog, EachListStartsAtTheCurrentSetting) {
  PortSetupDialog dialog(OddSettings(), {"COM1", "COM3"});
  EXPECT_EQ(List(dialog, "Port")->currentText(), "COM3");
  EXPECT_EQ(List(dialog, "BaudRate")->currentText(), "Custom");
  EXPECT_EQ(List(dialog, "DataBits")->currentText(), "7");
  EXPECT_EQ(List(dialog, "StopBits")->currentText(), "1.5");
  EXPECT_EQ(List(dialog, "Parity")->currentText(), "Mark");
  EXPECT_EQ(List(dialog, "FlowControl")->currentText(), "Software");
}

TEST(PortSetupDialog, OkAppliesAllSixChoices) {
  PortSetupDialog dialog(ComPortSettings{}, {"COM5", "COM7"});
  Choose(dialog, "Port", "COM5");
  Choose(dialog, "BaudRate", "115200");
  Choose(dialog, "DataBits", "7");
  Choose(dialog, "StopBits", "2");
  Choose(dialog, "Parity", "Even");
  Choose(dialog, "FlowControl", "Hardware");
  Press(dialog, "OK");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);

  ComPortSettings expected;
  expected.port = QStringLiteral("COM5");
  expected.baudRate = BaudRate::Br115200;
  expected.dataBits = DataBits::Seven;
  expected.stopBits = StopBits::Two;
  expected.parity = Parity::Even;
  ApplyFlowControl(FlowControl::Hardware, expected.flow);
  EXPECT_EQ(dialog.chosenSettings(), expected);
}

TEST(PortSetupDialog, CustomChoicesKeepTheRateAndTheFlags) {
  ComPortSettings current = OddSettings();
  current.baudRate = BaudRate::Br600;
  current.flow = {RtsControl::Active, false, true, false};
  PortSetupDialog dialog(current, {});
  EXPECT_EQ(List(dialog, "FlowControl")->currentText(), "Custom");
  Choose(dialog, "BaudRate", "Custom");
  Press(dialog, "OK");

  ComPortSettings expected = current;
  expected.baudRate = BaudRate::Custom;
  EXPECT_EQ(dialog.chosenSettings(), expected);
  EXPECT_EQ(BaudRateValue(dialog.chosenSettings()), 31250);
}

TEST(PortSetupDialog, NoPortAtAllKeepsTheEmptyPort) {
  ComPortSettings current;
  current.port.clear();
  PortSetupDialog dialog(current, {});
  EXPECT_EQ(List(dialog, "Port")->count(), 0);
  Press(dialog, "OK");
  EXPECT_EQ(dialog.chosenSettings(), current);
}

struct PortChoicesCase {
  const char* name;
  QStringList listed;
  QString current;
  QStringList offered;
};

class PortChoicesTest : public ::testing::TestWithParam<PortChoicesCase> {};

TEST_P(PortChoicesTest, Offers) {
  EXPECT_EQ(PortChoices(GetParam().listed, GetParam().current), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortChoicesTest,
    ::testing::Values(
        PortChoicesCase{"SortedWithoutRegardToCase",
                        {"ttyUSB0", "COM2", "ttyACM0", "com1"},
                        "COM2",
                        {"com1", "COM2", "ttyACM0", "ttyUSB0"}},
        PortChoicesCase{
            "AlphabeticalNotNumerical", {"COM2", "COM10", "COM1"}, "", {"COM1", "COM10", "COM2"}},
        PortChoicesCase{
            "UnlistedCurrentPortAdded", {"ttyS0"}, "/dev/pts/4", {"/dev/pts/4", "ttyS0"}},
        PortChoicesCase{"NoDuplicates", {"ttyS0", "ttyS0"}, "ttyS0", {"ttyS0"}},
        PortChoicesCase{"NothingAtAll", {}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The production dialogs, run modally and answered like a user.
TEST(ModalPortDialogs, OkAppliesTheChoices) {
  ModalPortDialogs dialogs;
  ComPortSettings settings = OddSettings();
  test::AnswerNextPortDialog([](PortSetupDialog& dialog) {
    EXPECT_TRUE(dialog.isModal());
    Choose(dialog, "BaudRate", "115200");
    Choose(dialog, "Parity", "None");
    Press(dialog, "OK");
  });
  EXPECT_TRUE(dialogs.ShowSetupDialog(settings, nullptr));

  ComPortSettings expected = OddSettings();
  expected.baudRate = BaudRate::Br115200;
  expected.parity = Parity::None;
  EXPECT_EQ(settings, expected);
}

TEST(ModalPortDialogs, CancelChangesNothing) {
  ModalPortDialogs dialogs;
  ComPortSettings settings = OddSettings();
  test::AnswerNextPortDialog([](PortSetupDialog& dialog) {
    Choose(dialog, "BaudRate", "115200");
    Choose(dialog, "DataBits", "5");
    Choose(dialog, "FlowControl", "None");
    Press(dialog, "Cancel");
  });
  EXPECT_FALSE(dialogs.ShowSetupDialog(settings, nullptr));
  EXPECT_EQ(settings, OddSettings());
}

}  // namespace
}  // namespace orvex
