// Failure-tolerant stretches of the checker and the clean-up tool: a failing
// step is skipped and the caller goes on with the next one.
#pragma once

#include <exception>
#include <utility>

namespace release {

template <class Step>
void IgnoreFailure(Step&& step) {
  try {
    std::forward<Step>(step)();
  } catch (const std::exception&) {
  }
}

}  // namespace release
