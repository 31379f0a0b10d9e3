#include "dialog_fixture.h"

namespace orvex::test {
namespace {

class RenameTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    FirstStart();
    Show();
  }

  void RenameInstrument(int index, const QString& name) {
    ClickItem("Rename", index);
    TypeName(name);
    backend_->writes.clear();
    ClickButton("RenameSet");
  }
  QStringList Entries() const {
    QStringList entries;
    for (int i = 0; i < Group("Rename")->count(); ++i) entries << Group("Rename")->itemText(i);
    return entries;
  }
  std::vector<QString> AcDcLabels() const {
    std::vector<QString> labels;
    for (std::size_t i = 0; i < 7; ++i) labels.push_back(AcDcLabel(i).text());
    return labels;
  }
};

const QStringList kInitialEntries = {"Voltage 1",  "Voltage 2",  "Voltage 3",
                                     "Amperage 1", "Amperage 2", "Amperage 3",
                                     "Amperage 4", "Temp 1",     "Temp 2"};

TEST_F(RenameTest, WithNothingSelectedTheButtonDoesNothing) {
  TypeName(QStringLiteral("Battery"));

  ClickButton("RenameSet");

  EXPECT_TRUE(backend_->writes.empty());
  EXPECT_EQ(Entries(), kInitialEntries);
  EXPECT_EQ(Meter(0).caption(), QStringLiteral("Voltage 1"));
  EXPECT_EQ(Group("V1Range")->title(), QStringLiteral("Voltage 1 range"));
}

TEST_F(RenameTest, SelectingCopiesTheEntrysPresentText) {
  TypeName(QStringLiteral("typed"));
  ClickItem("Rename", 5);
  EXPECT_EQ(Ren()->text(), QStringLiteral("Amperage 3"));

  RenameInstrument(5, QStringLiteral("Battery"));
  ClickItem("Rename", 0);
  EXPECT_EQ(Ren()->text(), QStringLiteral("Voltage 1"));
  ClickItem("Rename", 5);
  EXPECT_EQ(Ren()->text(), QStringLiteral("Battery"));
}

TEST_F(RenameTest, ACurrentInstrumentTakesTheNameEverywhereAndItsFlagToTheMainWindow) {
  ClickItem("Rename", 5);
  ASSERT_EQ(Ren()->text(), QStringLiteral("Amperage 3"));
  TypeName(QStringLiteral("Battery"));
  backend_->writes.clear();

  ClickButton("RenameSet");

  EXPECT_EQ(backend_->writes,
            std::vector<Write>({{InstrumentNamesKey, "Ampere 3 name", "Battery"}}));
  EXPECT_EQ(Meter(5).caption(), QStringLiteral("Battery"));
  EXPECT_EQ(Group("A3Range")->title(), QStringLiteral("Battery range"));
  QStringList entries = kInitialEntries;
  entries[5] = QStringLiteral("Battery");
  EXPECT_EQ(Entries(), entries);
  EXPECT_EQ(AcDcLabel(5).text(), QStringLiteral("DC"));
  EXPECT_EQ(Box("AcDcA3")->text(), QStringLiteral("DC"));
  EXPECT_EQ(Group("Rename")->itemIndex(), 5) << "the selection stays";
  EXPECT_EQ(Ren()->text(), QStringLiteral("Battery")) << "the name stays";
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(RenameTest, TheMainWindowLabelShowsTheFlagOfTheLastRename) {
  ClickIndicator(Box("AcDcV1"));
  ASSERT_EQ(AcDcLabel(0).text(), QStringLiteral("DC")) << "a toggle alone leaves the label";

  RenameInstrument(0, QStringLiteral("Solar"));
  EXPECT_EQ(AcDcLabel(0).text(), QStringLiteral("AC"));
  EXPECT_EQ(Box("AcDcV1")->text(), QStringLiteral("AC"));

  ClickIndicator(Box("AcDcV1"));
  EXPECT_EQ(Box("AcDcV1")->text(), QStringLiteral("DC"));
  EXPECT_EQ(AcDcLabel(0).text(), QStringLiteral("AC"));

  ClickButton("RenameSet");  // the same rename again
  EXPECT_EQ(AcDcLabel(0).text(), QStringLiteral("DC"));
  std::vector<QString> labels(7, QStringLiteral("DC"));
  EXPECT_EQ(AcDcLabels(), labels) << "only instrument 0's label changed";
}

TEST_F(RenameTest, ATemperatureInstrumentTakesTheNameAndTouchesNoAcDcLabel) {
  for (const char* box : kAcDcBoxes) ClickIndicator(Box(box));

  RenameInstrument(8, QStringLiteral("Boiler"));

  EXPECT_EQ(backend_->writes,
            std::vector<Write>({{InstrumentNamesKey, "Temperature 2 name", "Boiler"}}));
  EXPECT_EQ(TemperatureLabel(1).text(), QStringLiteral("Boiler"));
  EXPECT_EQ(TemperatureLabel(0).text(), QStringLiteral("Temp 1"));
  EXPECT_EQ(Group("Temp2Range")->title(), QStringLiteral("Boiler range"));
  EXPECT_EQ(Entries().at(8), QStringLiteral("Boiler"));
  EXPECT_EQ(AcDcLabels(), std::vector<QString>(7, QStringLiteral("DC")));
}

TEST_F(RenameTest, AnEmptyNameIsStoredAndShown) {
  RenameInstrument(1, QString());

  EXPECT_EQ(backend_->writes, std::vector<Write>({{InstrumentNamesKey, "Volt 2 name", ""}}));
  EXPECT_EQ(Meter(1).caption(), QString());
  EXPECT_EQ(Group("V2Range")->title(), QStringLiteral(" range"));
  EXPECT_EQ(Entries().at(1), QString());

  Restart();
  EXPECT_EQ(Group("V2Range")->title(), QStringLiteral(" range"));
  EXPECT_EQ(Entries(), kInitialEntries);
  EXPECT_TRUE(prompts_.boxes.empty()) << "an empty stored name is no failure";
}

TEST_F(RenameTest, ANameSurvivesTheCloseBoxAndARestartWhileTheEntryStartsAgain) {
  ClickIndicator(Box("AcDcA1"));
  RenameInstrument(3, QStringLiteral("Panel current"));
  ASSERT_EQ(AcDcLabel(3).text(), QStringLiteral("AC"));

  dialog_->close();
  EXPECT_EQ(Meter(3).caption(), QStringLiteral("Panel current"));
  EXPECT_EQ(Stored(InstrumentNamesKey, InstrumentNameNames[3]), QStringLiteral("Panel current"));

  Restart();
  EXPECT_EQ(Group("A1Range")->title(), QStringLiteral("Panel current range"));
  EXPECT_EQ(Entries(), kInitialEntries);
  EXPECT_EQ(Ren()->text(), QString());
  EXPECT_EQ(AcDcLabel(3).text(), QStringLiteral("DC"));
  EXPECT_EQ(Box("AcDcA1")->text(), QStringLiteral("DC")) << "the flag was never saved";
}

}  // namespace
}  // namespace orvex::test
