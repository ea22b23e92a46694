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
// others stay empty or 0, as do numbers that do not convert and file counts
// past 2^24. The record read is the one at `position` of the list, and that is
// its ordinal whatever the line says: records are only ever appended, so the
// two agree in every store this program writes, and a garbled ordinal can
// never name a record that is not there.
std::string FormatUserStat(const UserStat& stat);
UserStat ParseUserStat(const std::string& line, std::int16_t position);
// The whole store, every line ended by CR LF. No value carries a line break,
// nor a record field a "|": each such character is written as a blank.
std::string FormatStatusStore(const CheckRun& run);
// The user's average -l: value after `good` more good files, weighted by
// files: each good file counts once, so an upload of three files weighs three
// times as much as one of a single file; an upload with no good file leaves
// the average as it was.
double AverageAfter(double previousAverage, float fileCount, float good, float value);
