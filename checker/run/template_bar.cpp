// The progress bar: PERBAR_LEN units, the done part in PERBAR_CHR and the rest
// in PERBAR_NON. An unfinished release never shows a full bar.
#include <string>

#include "checker/run/run_error.h"
#include "checker/run/template_parts.h"
#include "common/numtext.h"

namespace {

// Longest bar in units; a longer one is a settings mistake, not a name.
constexpr float kMaxUnits = 32767;

// A unit repeated once per whole step from 1 that does not pass `count`.
std::string Repeat(const std::string& unit, float count) {
  if (count > kMaxUnits)
    throw TemplateError(platform::kOverflow, "the progress bar is longer than 32767 units");
  std::string text;
  for (int step = 1; step <= count; ++step) text += unit;
  return text;
}

}  // namespace

std::string BuildProgressBar(const CheckRun& run) {
  const settings::CheckerSettings& s = run.settings;
  const float ratio = DivideOrFail(run.counters.goodFiles, run.counters.totalFiles);
  const float done = numtext::RoundHalfEvenSingle(ratio * s.PERBAR_LEN, 0);
  std::string bar = Repeat(s.PERBAR_CHR, done) + Repeat(s.PERBAR_NON, s.PERBAR_LEN - done);
  // The threshold is taken on the counts' ratio in double precision, where 19
  // of 20 is 0.95 itself; the single-precision ratio lies just below it.
  const double exact = static_cast<double>(run.counters.goodFiles) / run.counters.totalFiles;
  if (exact >= 0.95 && exact < 1) {
    if (!bar.empty()) bar.pop_back();
    bar += s.PERBAR_NON;
  }
  return bar;
}
