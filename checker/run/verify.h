// Helpers of the verification pass that other steps and the tests share.
#pragma once

#include <string>

#include "checker/run/check_run.h"

// Whether an SFV file name stays inside the release folder: no absolute path,
// no drive, no ".." step. A hostile list must not reach files elsewhere.
bool StaysInRelease(const std::string& fileName);
// Whether a path holds a step up ("..", or "..." which Windows takes alike)
// among its parts, with either separator.
bool StepsUp(const std::string& path);
// The path of a listed file: the release folder and the name, whose "\"
// separators (as SFV files written on Windows have them) become the host's.
std::string ListedFilePath(const CheckRun& run, const std::string& fileName);
