#pragma once

#include "error.h"
#include "prompts.h"

#include <exception>
#include <utility>

namespace orvex {

// Runs one handler. An error raised inside it ends the handler and is shown in
// the application's error box; nothing escapes into Qt's event loop.
// Returns false when the handler ended in an error.
template <typename Handler>
bool RunGuarded(Prompts& prompts, Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const Error& e) {
    prompts.error(ErrorBoxText(e.text()));
  } catch (const std::exception& e) {
    prompts.error(ErrorBoxText(QString::fromLocal8Bit(e.what())));
  }
  return false;
}

}  // namespace orvex
