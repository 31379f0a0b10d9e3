#include "provisioning/com_port_settings.h"
#include "support/test_printers.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(ComPortSettingsTexts, ListTheDialogChoicesInOrder) {
  EXPECT_EQ(BaudRateTexts(),
            QStringList({"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                         "19200", "38400", "56000", "57600", "115200", "128000", "256000"}));
  EXPECT_EQ(DataBitsTexts(), QStringList({"5", "6", "7", "8"}));
  EXPECT_EQ(StopBitsTexts(), QStringList({"1", "1.5", "2"}));
  EXPECT_EQ(ParityTexts(), QStringList({"None", "Odd", "Even", "Mark", "Space"}));
  EXPECT_EQ(FlowControlTexts(), QStringList({"Hardware", "Software", "None", "Custom"}));
}

TEST(ComPortSettingsTexts, EveryTextReadsBackAsItsValue) {
  for (const QString& text : BaudRateTexts()) {
    ASSERT_TRUE(BaudRateFromText(text)) << text.toStdString();
    EXPECT_EQ(BaudRateText(*BaudRateFromText(text)), text);
  }
  for (const QString& text : DataBitsTexts())
    EXPECT_EQ(DataBitsText(*DataBitsFromText(text)), text);
  for (const QString& text : StopBitsTexts())
    EXPECT_EQ(StopBitsText(*StopBitsFromText(text)), text);
  for (const QString& text : ParityTexts()) EXPECT_EQ(ParityText(*ParityFromText(text)), text);
  for (const QString& text : FlowControlTexts()) {
    EXPECT_EQ(FlowControlText(*FlowControlFromText(text)), text);
  }
}

TEST(ComPortSettingsTexts, ReadWithoutRegardToCaseAndRefuseOthers) {
  EXPECT_EQ(ParityFromText("even"), Parity::Even);
  EXPECT_EQ(ParityFromText("EVEN"), Parity::Even);
  EXPECT_EQ(FlowControlFromText("hARDWARE"), FlowControl::Hardware);
  EXPECT_EQ(BaudRateFromText("custom"), BaudRate::Custom);
  EXPECT_FALSE(BaudRateFromText("9601"));
  EXPECT_FALSE(BaudRateFromText(" 9600"));
  EXPECT_FALSE(BaudRateFromText(""));
  EXPECT_FALSE(StopBitsFromText("1,5"));
  EXPECT_FALSE(DataBitsFromText("9"));
  EXPECT_FALSE(ParityFromText("Evenx"));
}

TEST(ComPortSettings, RateComesFromTheCustomRateOnlyWithCustom) {
  ComPortSettings settings;
  settings.customBaudRate = 250000;
  EXPECT_EQ(BaudRateValue(settings), 9600);
  settings.baudRate = BaudRate::Custom;
  EXPECT_EQ(BaudRateValue(settings), 250000);
  settings.baudRate = BaudRate::Br14400;
  EXPECT_EQ(BaudRateValue(settings), 14400);
}

struct FlowCase {
  const char* name;
  FlowFlags flags;
  FlowControl shownAs;
};

class FlowDisplay : public ::testing::TestWithParam<FlowCase> {};

TEST_P(FlowDisplay, ShowsTheMatchingChoice) {
  EXPECT_EQ(FlowControlOf(GetParam().flags), GetParam().shownAs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlowDisplay,
    ::testing::Values(
        FlowCase{"DesignValues", ComPortSettings{}.flow, FlowControl::None},
        FlowCase{"Hardware", {RtsControl::Handshake, true, false, false}, FlowControl::Hardware},
        FlowCase{"Software", {RtsControl::Inactive, false, true, true}, FlowControl::Software},
        FlowCase{"RtsActive", {RtsControl::Active, false, false, false}, FlowControl::Custom},
        FlowCase{
            "CtsWithoutHandshake", {RtsControl::Inactive, true, false, false}, FlowControl::Custom},
        FlowCase{"XonXoffOneWay", {RtsControl::Inactive, false, true, false}, FlowControl::Custom},
        FlowCase{
            "SoftwareWithActiveRts", {RtsControl::Active, false, true, true}, FlowControl::Custom}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlowChoice, SetsTheFlagsOfEachChoiceAndCustomKeepsThem) {
  const FlowFlags odd{RtsControl::Active, true, false, true};
  for (const FlowControl choice :
       {FlowControl::Hardware, FlowControl::Software, FlowControl::None}) {
    FlowFlags flags = odd;
    ApplyFlowControl(choice, flags);
    EXPECT_EQ(FlowControlOf(flags), choice) << FlowControlText(choice).toStdString();
  }
  FlowFlags flags = odd;
  ApplyFlowControl(FlowControl::Custom, flags);
  EXPECT_EQ(flags, odd);
}

TEST(FlowChoice, SoftwareAndNoneHoldRtsInactive) {
  FlowFlags flags{RtsControl::Handshake, true, false, false};
  ApplyFlowControl(FlowControl::Software, flags);
  EXPECT_EQ(flags.rts, RtsControl::Inactive);
  EXPECT_FALSE(flags.ctsOutputFlow);
  flags = {RtsControl::Active, true, true, true};
  ApplyFlowControl(FlowControl::None, flags);
  EXPECT_EQ(flags, FlowFlags{});
}

}  // namespace
}  // namespace orvex
