#pragma once

#include "core/prompts.h"

#include <QString>

#include <functional>
#include <vector>

namespace orvex::test {

// Records every message box instead of showing it. `whileOpen`, when set, runs
// while a box is "open", before the call returns, as a user's wait would.
class FakePrompts : public Prompts {
 public:
  enum class Kind { Message, Information, Error };
  struct Box {
    Kind kind;
    QString text;
  };

  void message(const QString& text) override { show(Kind::Message, text); }
  void information(const QString& text) override { show(Kind::Information, text); }
  void error(const QString& text) override { show(Kind::Error, text); }

  std::vector<QString> texts() const {
    std::vector<QString> result;
    for (const Box& box : boxes) result.push_back(box.text);
    return result;
  }
  std::vector<QString> texts(Kind kind) const {
    std::vector<QString> result;
    for (const Box& box : boxes) {
      if (box.kind == kind) result.push_back(box.text);
    }
    return result;
  }
  void clear() { boxes.clear(); }

  std::vector<Box> boxes;
  std::function<void(const Box&)> whileOpen;

 private:
  void show(Kind kind, const QString& text) {
    boxes.push_back({kind, text});
    if (whileOpen) whileOpen(boxes.back());
  }
};

}  // namespace orvex::test
