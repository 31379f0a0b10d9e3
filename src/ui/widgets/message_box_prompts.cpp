#include "message_box_prompts.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace orvex {

namespace {

// Texts are shown as plain text, so a file name or device text holding "<"
// reads exactly as given.
void ShowBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

MessageBoxPrompts::MessageBoxPrompts(QWidget* owner) : owner_(owner) {}

void MessageBoxPrompts::message(const QString& text) { ShowBox(owner_, QMessageBox::NoIcon, text); }

void MessageBoxPrompts::information(const QString& text) {
  ShowBox(owner_, QMessageBox::Information, text);
}

void MessageBoxPrompts::error(const QString& text) { ShowBox(owner_, QMessageBox::Critical, text); }

}  // namespace orvex
