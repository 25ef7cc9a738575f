// The statement-skipping rule: most handlers of the program abandon a
// statement that fails and carry on with the next one, without a message.
// Wrap each such statement on its own, so that the rule stays visible where
// it applies:
//
//   resumeNext([&] { cell->setText(pattern.at(p)); });
//
#pragma once

#include <exception>
#include <utility>

namespace platform {

// Runs one statement; returns false when it failed and was abandoned.
template <typename Statement>
bool resumeNext(Statement&& statement) noexcept {
  try {
    std::forward<Statement>(statement)();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace platform
