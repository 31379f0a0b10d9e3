#pragma once

#include "provisioning/port_setup_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orvex::test {

// Chooses `text` in the dialog's list `name`, as a user would.
inline void Choose(QWidget& dialog, const char* name, const QString& text) {
  auto* list = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
  ASSERT_NE(list, nullptr) << name;
  const int index = list->findText(text, Qt::MatchExactly);
  ASSERT_GE(index, 0) << name << ": " << text.toStdString();
  list->setCurrentIndex(index);
}

inline void Press(QWidget& dialog, const char* button) {
  auto* pressed = dialog.findChild<QPushButton*>(QString::fromLatin1(button));
  ASSERT_NE(pressed, nullptr) << button;
  QTest::mouseClick(pressed, Qt::LeftButton);
}

// Answers the next port settings dialog that a modal loop shows: `answer` runs
// on it once it is visible and should press "OK" or "Cancel". A dialog left
// open is cancelled, so a broken test fails instead of hanging.
inline void AnswerNextPortDialog(std::function<void(PortSetupDialog&)> answer) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, answer = std::move(answer)] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<PortSetupDialog*>(window);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      poll->deleteLater();
      poll->stop();
      answer(*dialog);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog was left open";
        dialog->reject();
      }
      return;
    }
    if (++*tries > 500) {
      ADD_FAILURE() << "no port settings dialog was shown";
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start();
}

}  // namespace orvex::test
