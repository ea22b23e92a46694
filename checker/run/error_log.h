// The error log's text, shared by the error handler and the tests.
#pragma once

#include <string>
#include <vector>

#include "checker/run/check_run.h"

// The lines of the log for a failure with this number and description.
std::vector<std::string> ErrorLogLines(const CheckRun& run, int number,
                                       const std::string& description);
