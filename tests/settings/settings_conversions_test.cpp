#include "core/error.h"
#include "settings/settings_store.h"
#include "support/test_printers.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace orvex {
namespace {

const QLocale Comma(QLocale::German, QLocale::Germany);
const QLocale FullStop = QLocale::c();

struct FlagCase {
  QString text;
  QLocale locale;
  std::optional<bool> flag;  // empty: the conversion fails
};

class FlagFromTextTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagFromTextTest, ConvertsOrFailsWithTheBooleanMessage) {
  const FlagCase& row = GetParam();
  if (row.flag) {
    EXPECT_EQ(FlagFromText(row.text, row.locale), *row.flag);
    return;
  }
  try {
    FlagFromText(row.text, row.locale);
    ADD_FAILURE() << "no error for " << row.text.toStdString();
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), u"'" + row.text + u"' is not a valid boolean value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FlagFromTextTest,
    ::testing::Values(
        FlagCase{"true", FullStop, true}, FlagCase{"TRUE", FullStop, true},
        FlagCase{"tRuE", Comma, true}, FlagCase{"false", FullStop, false},
        FlagCase{"False", Comma, false}, FlagCase{"1", FullStop, true},
        FlagCase{"0", FullStop, false}, FlagCase{"-1", Comma, true}, FlagCase{"-0", Comma, false},
        FlagCase{"1,5", Comma, true}, FlagCase{"0,0", Comma, false}, FlagCase{"0,5", Comma, true},
        FlagCase{"1.5", FullStop, true}, FlagCase{"1e3", FullStop, true},
        FlagCase{"0E0", Comma, false},
        // The full stop groups thousands in German: no number there.
        FlagCase{"1.5", Comma, std::nullopt}, FlagCase{"1.000", Comma, std::nullopt},
        FlagCase{"1,5", FullStop, std::nullopt}, FlagCase{"yes", FullStop, std::nullopt},
        FlagCase{"", FullStop, std::nullopt}, FlagCase{" true", FullStop, std::nullopt},
        FlagCase{"truee", FullStop, std::nullopt}, FlagCase{"nan", FullStop, std::nullopt},
        FlagCase{"inf", FullStop, std::nullopt}, FlagCase{"1e999", FullStop, std::nullopt}));

TEST(FlagFromText, UsesTheDefaultLocaleWhenNoneIsGiven) {
  const QLocale before;
  QLocale::setDefault(Comma);
  EXPECT_TRUE(FlagFromText(QStringLiteral("0,5")));
  EXPECT_THROW(FlagFromText(QStringLiteral("0.5")), Error);
  QLocale::setDefault(before);
}

TEST(FlagText, IsLowerCaseAndReadsBack) {
  EXPECT_EQ(FlagText(true), QStringLiteral("true"));
  EXPECT_EQ(FlagText(false), QStringLiteral("false"));
  EXPECT_TRUE(FlagFromText(FlagText(true), Comma));
  EXPECT_FALSE(FlagFromText(FlagText(false), Comma));
}

struct IntegerCase {
  QString text;
  std::optional<int> value;  // empty: the conversion fails
};

class IntegerFromTextTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerFromTextTest, ConvertsOrFailsWithTheIntegerMessage) {
  const IntegerCase& row = GetParam();
  if (row.value) {
    EXPECT_EQ(IntegerFromText(row.text), *row.value);
    return;
  }
  try {
    IntegerFromText(row.text);
    ADD_FAILURE() << "no error for " << row.text.toStdString();
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), u"'" + row.text + u"' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerFromTextTest,
    ::testing::Values(IntegerCase{"5", 5}, IntegerCase{"-1", -1}, IntegerCase{"+7", 7},
                      IntegerCase{"007", 7}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"", std::nullopt},
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{" 5", std::nullopt},
                      IntegerCase{"5 ", std::nullopt}, IntegerCase{"1.0", std::nullopt},
                      IntegerCase{"1,0", std::nullopt}, IntegerCase{"abc", std::nullopt},
                      IntegerCase{"0x10", std::nullopt}, IntegerCase{"1e3", std::nullopt},
                      IntegerCase{"+", std::nullopt}, IntegerCase{"-", std::nullopt},
                      IntegerCase{"--1", std::nullopt},
                      // Digits of another script are not decimal digits here.
                      IntegerCase{QString::fromUtf8("\u0663"), std::nullopt},
                      IntegerCase{QString::fromUtf8("\uff15"), std::nullopt}));

}  // namespace
}  // namespace orvex
