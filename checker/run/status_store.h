// The status store's text form, shared by the store's steps and the tests.
#pragma once

#include <string>

#include "checker/run/check_run.h"

std::string StatusStorePath(const CheckRun& run);
// "sizeKb rounded to a whole number" + "." + ordinal; the ranking codes of the
// message templates sort by it.
std::string RankKey(const UserStat& stat);
// A record line "ordinal|user|group|sizeKb|lAverage|fileCount", and back. A
// line with fewer than five "|" gives the fields that are closed by one; the
// others stay empty or 0, as do numbers that do not convert.
std::string FormatUserStat(const UserStat& stat);
UserStat ParseUserStat(const std::string& line);
// The whole store, every line ended by CR LF.
std::string FormatStatusStore(const CheckRun& run);
// The user's average -l: value after `good` more good files, weighted by
// files: each good file counts once, so an upload of three files weighs three
// times as much as one of a single file; an upload with no good file leaves
// the average as it was.
double AverageAfter(double previousAverage, float fileCount, float good, float value);
