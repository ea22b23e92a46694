// The pieces of ExpandTemplate that build something of their own: the ranking
// block, the progress bar, the fixed-width columns and the line-width fill.
// templates.cpp runs them at their fixed points of the expansion order.
#pragma once

#include <string>

#include "checker/run/check_run.h"
#include "checker/run/run_error.h"

// A malformed template's failure: the classic error and, after it, what in
// the template caused it, so the error log and the settings check name it.
RunError TemplateError(int number, const char* cause);

// a / b as the counters divide; a zero divisor is the classic division error.
float DivideOrFail(float dividend, float divisor);

// template_ranking.cpp: one line per user record, best first, joined by CR LF.
// Sorts the run's rank keys (the sorted order stays in the run).
std::string ExpandRanking(CheckRun& run, const std::string& text);

// template_bar.cpp: the progress bar for goodFiles of totalFiles.
std::string BuildProgressBar(const CheckRun& run);

// template_columns.cpp: "%<" text "%>" width "#" groups padded with blanks.
std::string PadColumns(std::string text);

// template_line_fill.cpp: "%#" markers widened so the text fills the width.
std::string FillLineWidth(std::string text, int outputWidth);
