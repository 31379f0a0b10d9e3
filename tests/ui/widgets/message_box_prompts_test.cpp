#include "ui/widgets/message_box_prompts.h"

#include "support/test_printers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace orvex {
namespace {

// What a box showed while it was open.
struct SeenBox {
  QMessageBox::Icon icon;
  QString title;
  QString text;
  Qt::TextFormat format;
  QWidget* parent;
  bool modal;
  int buttonCount;
};

// Runs `show`, which must open a modal box; inspects the box while it is open
// and presses its OK button, as a user would.
std::optional<SeenBox> WatchBox(const std::function<void()>& show) {
  std::optional<SeenBox> seen;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll.stop();
    seen = SeenBox{box->icon(),
                   box->windowTitle(),
                   box->text(),
                   box->textFormat(),
                   box->parentWidget(),
                   box->isModal() || QApplication::activeModalWidget() == box,
                   int(box->buttons().size())};
    box->button(QMessageBox::Ok)->click();
  });
  poll.start();
  show();
  return seen;
}

class MessageBoxPromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedTitle_ = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Orvex test title"));
  }
  void TearDown() override { QGuiApplication::setApplicationDisplayName(savedTitle_); }

 private:
  QString savedTitle_;
};

struct KindCase {
  void (Prompts::*show)(const QString&);
  QMessageBox::Icon icon;
};

class MessageBoxKinds : public MessageBoxPromptsTest,
                        public ::testing::WithParamInterface<KindCase> {};

TEST_P(MessageBoxKinds, ShowAModalBoxWithItsIconAndOk) {
  QWidget owner;
  MessageBoxPrompts prompts(&owner);
  // Text that looks like markup is shown exactly as given.
  const QString text = QStringLiteral("Cannot open <b>C:\\logs\\day.log</b> & go on");
  const std::optional<SeenBox> seen = WatchBox([&] { (prompts.*GetParam().show)(text); });
  ASSERT_TRUE(seen.has_value()) << "no modal box was shown";
  EXPECT_EQ(seen->icon, GetParam().icon);
  EXPECT_EQ(seen->title, QStringLiteral("Orvex test title"));
  EXPECT_EQ(seen->text, text);
  EXPECT_EQ(seen->format, Qt::PlainText);
  EXPECT_EQ(seen->parent, &owner);
  EXPECT_TRUE(seen->modal);
  EXPECT_EQ(seen->buttonCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageBoxKinds,
                         ::testing::Values(KindCase{&Prompts::message, QMessageBox::NoIcon},
                                           KindCase{&Prompts::information,
                                                    QMessageBox::Information},
                                           KindCase{&Prompts::error, QMessageBox::Critical}));

TEST_F(MessageBoxPromptsTest, OutlivesItsOwner) {
  auto owner = std::make_unique<QWidget>();
  MessageBoxPrompts prompts(owner.get());
  owner.reset();
  const std::optional<SeenBox> seen =
      WatchBox([&] { prompts.information(QStringLiteral("Failed to join network !")); });
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->parent, nullptr);

  QWidget later;
  prompts.setOwner(&later);
  const std::optional<SeenBox> again =
      WatchBox([&] { prompts.error(QStringLiteral("File does not exist.")); });
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->parent, &later);
}

}  // namespace
}  // namespace orvex
