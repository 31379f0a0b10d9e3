#include "provisioning/provisioning_line.h"
#include "core/error.h"
#include "support/test_printers.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

struct LineCase {
  const char* name;
  QString ssid;
  QString pass;
  QByteArray bytes;
};

class ProvisioningLineBytes : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProvisioningLineBytes, AreExactlyTheLine) {
  EXPECT_EQ(ProvisioningLine(GetParam().ssid, GetParam().pass).toHex(' '),
            GetParam().bytes.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProvisioningLineBytes,
    ::testing::Values(LineCase{"FourAndThreeLetters", u"Home"_qs, u"abc"_qs,
                               QByteArray::fromHex("23 486f6d65 7c 4f72766578 7c 616263 7c 0d")},
                      LineCase{"BothEmpty", {}, {}, QByteArray::fromHex("237c4f727665787c7c0d")},
                      LineCase{"LatinOneIsOneByte", u"Caf\u00e9"_qs, u"\u00e9t\u00e9\u00ff"_qs,
                               QByteArray::fromHex("23 436166e9 7c 4f72766578 7c e974e9ff 7c 0d")},
                      LineCase{"SpacesAndHashAreKept", u" #a b "_qs, u"#"_qs,
                               QByteArray::fromHex("23 2023612062 20 7c 4f72766578 7c 23 7c 0d")}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  QString ssid;
  QString pass;
  QString message;
};

class ProvisioningLineRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ProvisioningLineRefusal, NamesTheFieldAndTheCharacter) {
  try {
    ProvisioningLine(GetParam().ssid, GetParam().pass);
    FAIL() << "no error raised";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProvisioningLineRefusal,
    ::testing::Values(
        RefusalCase{"AboveLatinOneInSsid", u"Home\u263a"_qs, u"abc"_qs,
                    u"The SSID cannot be sent to the device: the character \"\u263a\" (U+263A) has "
                    "no single-byte code; only characters up to U+00FF can be sent"_qs},
        RefusalCase{
            "OutsideBasicPlaneInPass", u"Home"_qs, u"a\U0001F600"_qs,
            u"The PASS PHRASE cannot be sent to the device: the character \"\U0001F600\" "
            "(U+1F600) has no single-byte code; only characters up to U+00FF can be sent"_qs},
        RefusalCase{"LoneSurrogate",
                    QString(QChar(0xD83D)),
                    {},
                    u"The SSID cannot be sent to the device: the character U+D83D has no "
                    "single-byte code; only characters up to U+00FF can be sent"_qs},
        RefusalCase{"SeparatorInSsid",
                    u"Ho|me"_qs,
                    {},
                    u"The SSID cannot be sent to the device: the character \"|\" separates the "
                    "fields of the line"_qs},
        RefusalCase{"SeparatorInPass",
                    {},
                    u"|"_qs,
                    u"The PASS PHRASE cannot be sent to the device: the character \"|\" separates "
                    "the fields of the line"_qs},
        RefusalCase{"CarriageReturn",
                    u"Home\r"_qs,
                    {},
                    u"The SSID cannot be sent to the device: U+000D (carriage return) would end "
                    "the line early"_qs},
        RefusalCase{"LineFeed",
                    {},
                    u"ab\ncd"_qs,
                    u"The PASS PHRASE cannot be sent to the device: U+000A (line feed) would end "
                    "the line early"_qs},
        RefusalCase{"SsidCheckedFirst", u"\u0100"_qs, u"|"_qs,
                    u"The SSID cannot be sent to the device: the character \"\u0100\" (U+0100) has "
                    "no single-byte code; only characters up to U+00FF can be sent"_qs}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvex
