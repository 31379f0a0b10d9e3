#include "core/error.h"
#include "core/guard.h"
#include "support/fake_prompts.h"
#include "support/test_printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvex {
namespace {

TEST(ErrorBoxText, AppendsFullStopOnlyAfterCharactersSortingAfterIt) {
  struct Case {
    QString text;
    QString shown;
  };
  const Case cases[] = {
      {"'' is not a valid boolean value", "'' is not a valid boolean value."},
      {"File does not exist.", "File does not exist."},
      {"Asynchronous socket error 10054", "Asynchronous socket error 10054."},
      {"Unable to open com port (Error: 2)", "Unable to open com port (Error: 2)"},  // ')' < '.'
      {"ends in a dash -", "ends in a dash -"},                                     // '-' < '.'
      {"ends in a slash /", "ends in a slash /."},                                  // '/' > '.'
      {"Failed to join network !", "Failed to join network !"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorBoxText(c.text), c.shown) << c.text.toStdString();
  }
}

TEST(RunGuarded, ShowsRaisedErrorsAndReportsFailure) {
  test::FakePrompts prompts;
  EXPECT_TRUE(RunGuarded(prompts, [] {}));
  EXPECT_TRUE(prompts.boxes.empty());

  EXPECT_FALSE(RunGuarded(prompts, [] { throw Error("'x' is not a valid integer value"); }));
  EXPECT_FALSE(RunGuarded(prompts, [] { throw std::runtime_error("plain failure"); }));
  ASSERT_EQ(prompts.boxes.size(), 2u);
  EXPECT_EQ(prompts.boxes[0].kind, test::FakePrompts::Kind::Error);
  EXPECT_EQ(prompts.boxes[0].text, "'x' is not a valid integer value.");
  EXPECT_EQ(prompts.boxes[1].text, "plain failure.");
}

}  // namespace
}  // namespace orvex
