#include "dialog_fixture.h"

#include <QApplication>
#include <QSettings>

#include <utility>

namespace orvex::test {
namespace {

// The scale of instrument i in channel order, as (minimum, maximum).
using Scale = std::pair<double, double>;

class MsrSetingsTest : public DialogTest {
 protected:
  Scale ScaleOf(std::size_t instrument) const {
    if (instrument < 7) return {Meter(instrument).minValue(), Meter(instrument).maxValue()};
    const ThermoMeter& thermo = Thermo(instrument - 7);
    return {thermo.scaleMin(), thermo.scaleMax()};
  }
  std::vector<Scale> Scales() const {
    std::vector<Scale> scales;
    for (std::size_t i = 0; i < 9; ++i) scales.push_back(ScaleOf(i));
    return scales;
  }
  std::vector<int> Indexes() const {
    std::vector<int> indexes;
    for (const char* name : kRangeGroups) indexes.push_back(Group(name)->itemIndex());
    return indexes;
  }
  std::vector<QString> Titles() const {
    std::vector<QString> titles;
    for (const char* name : kRangeGroups) titles.push_back(Group(name)->title());
    return titles;
  }
  // Each box as "AC"/"DC" from its state, and its caption.
  std::vector<std::pair<bool, QString>> AcDcBoxes() const {
    std::vector<std::pair<bool, QString>> boxes;
    for (const char* name : kAcDcBoxes)
      boxes.emplace_back(Box(name)->isChecked(), Box(name)->text());
    return boxes;
  }
  std::vector<QString> AcDcLabels() const {
    std::vector<QString> labels;
    for (std::size_t i = 0; i < 7; ++i) labels.push_back(AcDcLabel(i).text());
    return labels;
  }
};

const std::vector<Scale> kInitialScales = {{0, 100},    {0, 100}, {0, 100},   {0, 100},  {0, 100},
                                           {-100, 100}, {0, 100}, {-20, 100}, {-20, 100}};
const std::vector<int> kNothingSelected(9, -1);
const std::vector<std::pair<bool, QString>> kAllDc(7, {false, QStringLiteral("DC")});
const std::vector<QString> kDcLabels(7, QStringLiteral("DC"));
const std::vector<QString> kInitialTitles = {
    "Voltage 1 range",  "Voltage 2 range",  "Voltage 3 range",
    "Amperage 1 range", "Amperage 2 range", "Amperage 3 range",
    "Amperage 4 range", "Temp 1 range",     "Temp 2 range"};
const std::vector<QString> kFirstRunTitles = {
    "Voltage 1 range", "Voltage 2 range", "Voltage 3 range", "Ampere 1 range", "Ampere 2 range",
    "Ampere 3 range",  "Ampere 4 range",  "Temp 1 range",    "Temp 2 range"};

TEST_F(MsrSetingsTest, TheWindowHasItsFixedDesign) {
  FirstStart();

  EXPECT_EQ(dialog_->objectName(), QStringLiteral("MsrSetings"));
  EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("  Measure settings"));
  EXPECT_TRUE(dialog_->isHidden());
  EXPECT_EQ(dialog_->minimumSize(), QSize(837, 646));
  EXPECT_EQ(dialog_->maximumSize(), QSize(837, 646));
  const Qt::WindowFlags flags = dialog_->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(dialog_->font().pixelSize(), 16);

  struct Control {
    const char* name;
    QRect geometry;
  };
  const Control controls[] = {
      {"Rename", {24, 8, 585, 193}},       {"V1Range", {24, 221, 169, 177}},
      {"V2Range", {232, 221, 169, 177}},   {"V3Range", {440, 221, 169, 177}},
      {"A1Range", {24, 420, 169, 177}},    {"A2Range", {232, 420, 169, 177}},
      {"A3Range", {440, 420, 169, 177}},   {"A4Range", {648, 420, 169, 177}},
      {"Temp1Range", {648, 24, 169, 177}}, {"Temp2Range", {648, 221, 169, 177}},
      {"AcDcV1", {144, 360, 41, 20}},      {"AcDcV2", {352, 360, 41, 20}},
      {"AcDcV3", {560, 360, 41, 20}},      {"AcDcA1", {144, 552, 41, 20}},
      {"AcDcA2", {352, 552, 41, 20}},      {"AcDcA3", {560, 552, 41, 20}},
      {"AcDcA4", {768, 552, 41, 20}},      {"Ren", {368, 174, 154, 27}},
      {"RenameSet", {528, 175, 81, 26}},   {"MeasureSettings", {24, 603, 793, 36}},
  };
  for (const Control& control : controls) {
    EXPECT_EQ(Find<QWidget>(control.name)->geometry(), control.geometry) << control.name;
  }

  EXPECT_EQ(Find<QPushButton>("RenameSet")->text(), QStringLiteral("Rename"));
  EXPECT_EQ(Find<QPushButton>("MeasureSettings")->text(),
            QStringLiteral("Save  Settings and close"));
  EXPECT_EQ(Find<QPushButton>("MeasureSettings")->font().pixelSize(), 19);
  EXPECT_EQ(Ren()->text(), QString());
  EXPECT_EQ(Group("Rename")->title(), QStringLiteral("Rename"));
  EXPECT_EQ(Group("Rename")->alignment(), Qt::AlignHCenter);

  const QStringList voltage = {"0-50V", "0-100V", "0-200V", "0-400V"};
  const QStringList current = {"0-20A", "0-50V", "0-100A"};
  const QStringList signedCurrent = {"-20A - 20A", "-50A - 50V", "-100 - 100A"};
  const QStringList temperature = {
      QStringLiteral("-50\u00B0C -  50\u00B0C"), QStringLiteral("-20\u00B0C -  100\u00B0C"),
      QStringLiteral("0\u00B0C -- 50\u00B0C"), QStringLiteral("0\u00B0C - 100\u00B0C")};
  const std::pair<const char*, QStringList> groups[] = {
      {"Rename",
       {"Voltage 1", "Voltage 2", "Voltage 3", "Amperage 1", "Amperage 2", "Amperage 3",
        "Amperage 4", "Temp 1", "Temp 2"}},
      {"V1Range", voltage},
      {"V2Range", voltage},
      {"V3Range", voltage},
      {"A1Range", current},
      {"A2Range", current},
      {"A3Range", signedCurrent},
      {"A4Range", current},
      {"Temp1Range", temperature},
      {"Temp2Range", temperature},
  };
  for (const auto& [name, items] : groups) {
    QStringList shown;
    for (int i = 0; i < Group(name)->count(); ++i) shown << Group(name)->itemText(i);
    EXPECT_EQ(shown, items) << name;
  }
}

TEST_F(MsrSetingsTest, TabOrderFollowsTheDesign) {
  FirstStart();
  Show();

  // The focus chain from the first Rename item, each widget named by its control.
  const auto control = [](QWidget* widget) {
    if (auto* group = qobject_cast<RadioGroup*>(widget->parentWidget())) return group->objectName();
    return widget->objectName();
  };
  QStringList order;
  QWidget* first = Group("Rename")->itemButton(0);
  QWidget* widget = first;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) {
      const QString name = control(widget);
      if (order.isEmpty() || order.back() != name) order << name;
    }
    widget = widget->nextInFocusChain();
  } while (widget != first);

  EXPECT_EQ(order,
            QStringList({"Rename", "V1Range", "V2Range", "V3Range", "A1Range", "A2Range", "A3Range",
                         "A4Range", "Temp1Range", "AcDcV1", "Temp2Range", "AcDcV2", "AcDcV3",
                         "AcDcA1", "AcDcA2", "AcDcA3", "AcDcA4", "Ren", "RenameSet",
                         "MeasureSettings"}));
}

TEST_F(MsrSetingsTest, FirstStartSelectsNothingAndKeepsTheInitialScales) {
  FirstStart();

  EXPECT_EQ(Indexes(), kNothingSelected);
  EXPECT_EQ(Scales(), kInitialScales);
  EXPECT_EQ(AcDcBoxes(), kAllDc);
  EXPECT_EQ(AcDcLabels(), kDcLabels);
  EXPECT_EQ(Titles(), kFirstRunTitles);
  EXPECT_EQ(Group("Rename")->itemIndex(), -1);
  EXPECT_TRUE(prompts_.boxes.empty());
  EXPECT_TRUE(backend_->writes.empty()) << "the restore writes nothing";
}

TEST_F(MsrSetingsTest, AnEmptyStoreStopsTheRestoreAtTheFirstRangeAndTheDialogStillWorks) {
  Start();

  EXPECT_EQ(prompts_.texts(), std::vector<QString>{"'' is not a valid integer value."});
  EXPECT_EQ(Indexes(), kNothingSelected);
  EXPECT_EQ(Scales(), kInitialScales);
  EXPECT_EQ(AcDcBoxes(), kAllDc);
  EXPECT_EQ(Titles(), kInitialTitles);

  Show();
  ClickItem("V2Range", 2);
  EXPECT_EQ(ScaleOf(1), Scale(0, 200));
}

struct StoredRange {
  std::size_t instrument;
  const char* text;
  int index;
  Scale scale;
};

void PrintTo(const StoredRange& row, std::ostream* os) {
  *os << "instrument " << row.instrument << " stored \"" << row.text << '"';
}

class StoredRangeTest : public MsrSetingsTest, public ::testing::WithParamInterface<StoredRange> {};

TEST_P(StoredRangeTest, TheRestoreSelectsTheLimitedIndexAndAppliesItsSpan) {
  const StoredRange& row = GetParam();
  RunFirstRun();
  Store(SettingsKey, ChannelRangeNames[row.instrument], QString::fromLatin1(row.text));

  Start();

  std::vector<int> indexes = kNothingSelected;
  indexes[row.instrument] = row.index;
  std::vector<Scale> scales = kInitialScales;
  scales[row.instrument] = row.scale;
  EXPECT_EQ(Indexes(), indexes);
  EXPECT_EQ(Scales(), scales);
  EXPECT_EQ(Titles(), kFirstRunTitles) << "the restore ran to its end";
  EXPECT_TRUE(prompts_.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredRangeTest,
    ::testing::Values(StoredRange{0, "7", 3, {0, 400}},    // beyond the last: "0-400V"
                      StoredRange{0, "-5", -1, {0, 100}},  // below -1: none
                      StoredRange{0, "+1", 1, {0, 100}},   //
                      StoredRange{2, "0", 0, {0, 50}},     //
                      StoredRange{3, "0", 0, {0, 20}},     //
                      StoredRange{4, "1", 1, {0, 50}},     // "0-50V" is the 50 A range
                      StoredRange{5, "1", 1, {-50, 50}},   //
                      StoredRange{5, "0", 0, {-20, 20}},   //
                      StoredRange{6, "2", 2, {0, 100}},    //
                      StoredRange{7, "2", 2, {0, 50}},     //
                      StoredRange{8, "0", 0, {-50, 50}},   //
                      StoredRange{8, "3", 3, {0, 100}}));

TEST_F(MsrSetingsTest, AnUnconvertibleRangeStopsTheRestoreThere) {
  RunFirstRun();
  Store(SettingsKey, ChannelRangeNames[0], QStringLiteral("2"));
  Store(SettingsKey, ChannelRangeNames[1], QStringLiteral("1.5"));
  Store(SettingsKey, ChannelRangeNames[7], QStringLiteral("1"));
  Store(SettingsKey, AcDcNames[0], QStringLiteral("-1"));

  Start();

  EXPECT_EQ(prompts_.texts(), std::vector<QString>{"'1.5' is not a valid integer value."});
  EXPECT_EQ(Indexes(), std::vector<int>({2, -1, -1, -1, -1, -1, -1, -1, -1}));
  std::vector<Scale> scales = kInitialScales;
  scales[0] = {0, 200};
  EXPECT_EQ(Scales(), scales);
  EXPECT_EQ(AcDcBoxes(), kAllDc);
  EXPECT_EQ(Titles(), kInitialTitles);
}

struct StoredFlag {
  const char* text;
  bool ac;
};

void PrintTo(const StoredFlag& row, std::ostream* os) { *os << '"' << row.text << '"'; }

class StoredFlagTest : public MsrSetingsTest, public ::testing::WithParamInterface<StoredFlag> {};

TEST_P(StoredFlagTest, TheRestoreTicksTheBoxAndLeavesTheMainWindowLabel) {
  RunFirstRun();
  Store(SettingsKey, AcDcNames[4], QString::fromLatin1(GetParam().text));

  Start();

  std::vector<std::pair<bool, QString>> boxes = kAllDc;
  if (GetParam().ac) boxes[4] = {true, QStringLiteral("AC")};
  EXPECT_EQ(AcDcBoxes(), boxes);
  EXPECT_EQ(AcDcLabels(), kDcLabels);
  EXPECT_TRUE(prompts_.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, StoredFlagTest,
                         ::testing::Values(StoredFlag{"-1", true}, StoredFlag{"1", true},
                                           StoredFlag{"true", true}, StoredFlag{"TRUE", true},
                                           StoredFlag{"0", false}, StoredFlag{"False", false}));

TEST_F(MsrSetingsTest, AMissingFlagStopsTheRestoreAfterTheRangesAndTheFlagsBeforeIt) {
  RunFirstRun();
  Store(SettingsKey, ChannelRangeNames[0], QStringLiteral("2"));
  Store(SettingsKey, ChannelRangeNames[8], QStringLiteral("2"));
  Store(SettingsKey, AcDcNames[0], QStringLiteral("-1"));
  Store(SettingsKey, AcDcNames[2], QStringLiteral("-1"));
  Store(InstrumentNamesKey, InstrumentNameNames[0], QStringLiteral("Solar"));
  {
    QSettings ini(iniPath(), QSettings::IniFormat);
    int removed = 0;
    for (const QString& key : ini.allKeys()) {
      if (key.contains(QStringLiteral("Volt 2 AC"))) {
        ini.remove(key);
        ++removed;
      }
    }
    ASSERT_EQ(removed, 1);
  }
  ASSERT_EQ(Stored(SettingsKey, AcDcNames[1]), QString());

  Start();

  EXPECT_EQ(prompts_.texts(), std::vector<QString>{"'' is not a valid boolean value."});
  std::vector<Scale> scales = kInitialScales;
  scales[0] = {0, 200};
  scales[8] = {0, 50};
  EXPECT_EQ(Scales(), scales);
  EXPECT_EQ(Indexes(), std::vector<int>({2, -1, -1, -1, -1, -1, -1, -1, 2}));
  std::vector<std::pair<bool, QString>> boxes = kAllDc;
  boxes[0] = {true, QStringLiteral("AC")};
  EXPECT_EQ(AcDcBoxes(), boxes) << "AcDcV3 stays cleared although its flag is AC";
  EXPECT_EQ(Titles(), kInitialTitles);

  Show();
  ClickIndicator(Box("AcDcV2"));
  EXPECT_EQ(Box("AcDcV2")->text(), QStringLiteral("AC"));
}

TEST_F(MsrSetingsTest, TheSignedCurrentSpansChangeInEitherDirection) {
  FirstStart();
  Show();

  const std::pair<int, Scale> steps[] = {
      {1, {-50, 50}}, {0, {-20, 20}}, {2, {-100, 100}}, {0, {-20, 20}}, {1, {-50, 50}}};
  for (const auto& [item, scale] : steps) {
    ClickItem("A3Range", item);
    EXPECT_EQ(Group("A3Range")->itemIndex(), item);
    EXPECT_EQ(ScaleOf(5), scale) << "after item " << item;
  }
  std::vector<Scale> others = Scales();
  others[5] = kInitialScales[5];
  EXPECT_EQ(others, kInitialScales);
}

TEST_F(MsrSetingsTest, ANarrowerRangePinsTheNeedleAtTheEndOfTheScale) {
  FirstStart();
  Show();
  Meter(3).setPosition(35);

  ClickItem("A1Range", 0);

  EXPECT_EQ(ScaleOf(3), Scale(0, 20));
  EXPECT_EQ(Meter(3).position(), 20);
  Meter(3).setPosition(60);
  EXPECT_EQ(Meter(3).position(), 20);
}

TEST_F(MsrSetingsTest, ThermometerSpansFollowTheChosenItem) {
  FirstStart();
  Show();

  const std::pair<int, Scale> steps[] = {
      {2, {0, 50}}, {1, {-20, 100}}, {0, {-50, 50}}, {3, {0, 100}}, {2, {0, 50}}};
  for (const auto& [item, scale] : steps) {
    ClickItem("Temp1Range", item);
    EXPECT_EQ(ScaleOf(7), scale) << "after item " << item;
  }
  EXPECT_EQ(ScaleOf(8), kInitialScales[8]);
}

TEST_F(MsrSetingsTest, SelectingByCodeAppliesTheLimitedIndexOnce) {
  FirstStart();

  Group("V2Range")->setProperty("ItemIndex", 9);
  EXPECT_EQ(Group("V2Range")->itemIndex(), 3);
  EXPECT_EQ(ScaleOf(1), Scale(0, 400));

  Meter(1).setMaxValue(77);  // shows whether the range is applied again
  Group("V2Range")->setProperty("ItemIndex", 3);
  EXPECT_EQ(ScaleOf(1), Scale(0, 77));

  Group("V2Range")->setProperty("ItemIndex", -1);
  EXPECT_EQ(Group("V2Range")->itemIndex(), -1);
  EXPECT_EQ(ScaleOf(1), Scale(0, 77));
}

TEST_F(MsrSetingsTest, TheAcDcBoxCaptionFollowsClicksAndTheSpaceKeyOnly) {
  FirstStart();
  Show();

  ClickIndicator(Box("AcDcV2"));
  EXPECT_EQ(Box("AcDcV2")->text(), QStringLiteral("AC"));
  EXPECT_EQ(AcDcLabel(1).text(), QStringLiteral("DC"));

  Box("AcDcV2")->setFocus();
  QTest::keyClick(Box("AcDcV2"), Qt::Key_Space);
  EXPECT_FALSE(Box("AcDcV2")->isChecked());
  EXPECT_EQ(Box("AcDcV2")->text(), QStringLiteral("DC"));

  QTest::keyClick(Box("AcDcV2"), Qt::Key_Space);
  EXPECT_EQ(Box("AcDcV2")->text(), QStringLiteral("AC"));
  EXPECT_TRUE(backend_->writes.empty()) << "a toggle stores nothing";
}

TEST_F(MsrSetingsTest, TheCloseBoxHidesWithoutStoringAndARestartAppliesTheStoredChoices) {
  FirstStart();
  Show();
  ClickItem("V1Range", 2);
  ClickItem("Temp2Range", 0);
  ClickIndicator(Box("AcDcA3"));

  EXPECT_TRUE(dialog_->close());

  EXPECT_TRUE(dialog_->isHidden());
  EXPECT_TRUE(backend_->writes.empty());
  EXPECT_EQ(ScaleOf(0), Scale(0, 200));
  EXPECT_EQ(ScaleOf(8), Scale(-50, 50));
  EXPECT_EQ(Stored(SettingsKey, ChannelRangeNames[0]), QStringLiteral("-1"));

  Show();  // the same instance, as it was left
  EXPECT_EQ(Group("V1Range")->itemIndex(), 2);
  EXPECT_EQ(Box("AcDcA3")->text(), QStringLiteral("AC"));

  Restart();
  EXPECT_EQ(Indexes(), kNothingSelected);
  EXPECT_EQ(Scales(), kInitialScales);
  EXPECT_EQ(AcDcBoxes(), kAllDc);
}

TEST_F(MsrSetingsTest, SaveStoresTheChoicesInOrderAndHides) {
  FirstStart();
  Show();
  ClickItem("V1Range", 3);
  ClickItem("A3Range", 0);
  ClickItem("Temp2Range", 1);
  ClickIndicator(Box("AcDcV2"));
  ClickIndicator(Box("AcDcA4"));
  backend_->writes.clear();

  ClickButton("MeasureSettings");

  const auto settings = [](const char* name, const char* text) {
    return Write{SettingsKey, QString::fromLatin1(name), QString::fromLatin1(text)};
  };
  EXPECT_EQ(backend_->writes,
            std::vector<Write>({settings("Rename", "-1"), settings("Volt 1 range", "3"),
                                settings("Volt 2 range", "-1"), settings("Volt 3 range", "-1"),
                                settings("Ampere 1 range", "-1"), settings("Ampere 2 range", "-1"),
                                settings("Ampere 3 range", "0"), settings("Ampere 4 range", "-1"),
                                settings("Temp 1 range", "-1"), settings("Temp 2 range", "1"),
                                settings("Volt 1 AC/DC", "0"), settings("Volt 2 AC/DC", "-1"),
                                settings("Volt 3 AC/DC", "0"), settings("Ampere 1 AC/DC", "0"),
                                settings("Ampere 2 AC/DC", "0"), settings("Ampere 3 AC/DC", "0"),
                                settings("Ampere 4 AC/DC", "-1")}));
  EXPECT_TRUE(dialog_->isHidden());
  EXPECT_EQ(AcDcLabels(), kDcLabels) << "Save changes nothing on the main window";

  Restart();
  EXPECT_EQ(Indexes(), std::vector<int>({3, -1, -1, -1, -1, 0, -1, -1, 1}));
  std::vector<Scale> scales = kInitialScales;
  scales[0] = {0, 400};
  scales[5] = {-20, 20};
  scales[8] = {-20, 100};
  EXPECT_EQ(Scales(), scales);
  std::vector<std::pair<bool, QString>> boxes = kAllDc;
  boxes[1] = {true, QStringLiteral("AC")};
  boxes[6] = {true, QStringLiteral("AC")};
  EXPECT_EQ(AcDcBoxes(), boxes);
  EXPECT_EQ(AcDcLabels(), kDcLabels);
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(MsrSetingsTest, SaveStoresTheRenameSelectionAndClearsIt) {
  FirstStart();
  Show();
  ClickItem("Rename", 7);
  ASSERT_EQ(Ren()->text(), QStringLiteral("Temp 1"));
  backend_->writes.clear();

  ClickButton("MeasureSettings");

  ASSERT_FALSE(backend_->writes.empty());
  EXPECT_EQ(backend_->writes.front(), (Write{SettingsKey, "Rename", "7"}));
  EXPECT_EQ(Group("Rename")->itemIndex(), -1);
  EXPECT_EQ(Ren()->text(), QStringLiteral("Temp 1"));

  // With nothing selected the rename button does nothing.
  Show();
  backend_->writes.clear();
  ClickButton("RenameSet");
  EXPECT_TRUE(backend_->writes.empty());
  EXPECT_EQ(TemperatureLabel(0).text(), QStringLiteral("Temp 1"));
}

}  // namespace
}  // namespace orvex::test
