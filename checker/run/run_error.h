// How a checker run fails: a failure is an exception carrying a classic error
// number and description; the run sequence catches it once and hands it to the
// error handler. (Failure-tolerant steps use release/ignore_failure.h.)
#pragma once

#include <string>

#include "platform/os_error.h"

// A failure of the run's own logic (a bad command line, a count that is not
// a number ...). System failures arrive as platform::OsError, its base, so one
// catch of the base sees both.
class RunError : public platform::OsError {
 public:
  using platform::OsError::OsError;
};

// The error number and description of the exception in flight, for the error
// handler: system and run errors keep theirs, anything else gets a classic one.
inline constexpr int kInternalError = 51;

struct RunFailure {
  int number = 0;
  std::string description;
};
// Call only inside a catch block.
RunFailure CurrentFailure();
