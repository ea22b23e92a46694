// The template expander: settings texts holding %-codes become header names,
// parent entry names, owner names and message lines. The codes are replaced
// in a fixed order, and a value put in early is itself searched by the later
// replacements; that order is part of what operators write their templates
// against.
#include <string>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "checker/run/template_parts.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"

namespace {

using numtext::FormatSingle;
using strings::ReplaceAll;

std::string TwoDigits(int value) {
  std::string text = numtext::FormatInteger(value);
  return text.size() < 2 ? "0" + text : text;
}

// The system's usual time of day and short date.
std::string TimeText(const platform::LocalTime& now) {
  return TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" + TwoDigits(now.second);
}
std::string DateText(const platform::LocalTime& now) {
  return numtext::FormatInteger(now.year) + "-" + TwoDigits(now.month) + "-" + TwoDigits(now.day);
}

// The codes of plain values, in their order; "%%" becomes "%" before the
// user, size, ID3, time and group codes are replaced.
std::string ReplaceValueCodes(const CheckRun& run, std::string text, bool completeFlag) {
  const ReleaseCounters& c = run.counters;
  const settings::CheckerSettings& s = run.settings;
  std::string average = "0";
  if (completeFlag) {
    average = FormatSingle(numtext::RoundHalfEvenSingle(DivideOrFail(run.lTotal, c.goodFiles), 0));
  }
  text = ReplaceAll(text, "%l", average);
  text = ReplaceAll(text, "%g", FormatSingle(c.goodFiles));
  text = ReplaceAll(text, "%t", FormatSingle(c.totalFiles));
  text = ReplaceAll(text, "%b", FormatSingle(c.badFiles));
  text = ReplaceAll(text, "%d", FormatSingle(c.badFiles + c.missingFiles));
  text = ReplaceAll(text, "%c", FormatSingle(c.badFiles + c.ioErrorFiles));
  text = ReplaceAll(text, "%k", FormatSingle(c.badFiles + c.missingFiles + c.ioErrorFiles));
  text = ReplaceAll(text, "%m", FormatSingle(c.missingFiles));
  text = ReplaceAll(text, "%e", FormatSingle(c.ioErrorFiles));
  text = ReplaceAll(text, "%s", s.SITENAME);
  text = ReplaceAll(text, "%u", FormatSingle(c.blankEntries));
  text = ReplaceAll(text, "%r", run.releaseName);
  text = ReplaceAll(text, "%%", "%");
  text = ReplaceAll(text, "%i", run.userName);
  text = ReplaceAll(text, "%f", FormatSingle(numtext::RoundHalfEvenSingle(c.releaseSizeKb, 1)));
  text = ReplaceAll(text, "%F",
                    FormatSingle(numtext::RoundHalfEvenSingle(c.releaseSizeKb / 1000.0f, 1)));
  text = ReplaceAll(text, "%y", run.id3Year);
  text = ReplaceAll(text, "%h", run.id3Genre);
  text = ReplaceAll(text, "%o", run.bValue);
  const platform::LocalTime now = platform::Now();
  text = ReplaceAll(text, "%q", TimeText(now));
  text = ReplaceAll(text, "%Q", DateText(now));
  return ReplaceAll(text, "%w", run.groupName);
}

}  // namespace

RunError TemplateError(int number, const char* cause) {
  return RunError(number, std::string(platform::ClassicDescription(number)) + ": " + cause);
}

float DivideOrFail(float dividend, float divisor) {
  if (divisor == 0) throw RunError(platform::kDivisionByZero);
  return dividend / divisor;
}

std::string ExpandTemplate(CheckRun& run, const std::string& templateText, bool completeFlag) {
  std::string text = ReplaceValueCodes(run, templateText, completeFlag);

  // A "%@" keeps the whole text for complete releases only.
  if (text.find("%@") != std::string::npos) {
    if (!run.releaseComplete) return "";
    text = ReplaceAll(text, "%@", "");
  }
  if (strings::ContainsIgnoreCase(text, "%R") && !run.userStats.empty()) {
    text = ExpandRanking(run, text);
  }
  const std::string bar = BuildProgressBar(run);
  text = PadColumns(std::move(text));
  text = ReplaceAll(text, "%<", "");
  text = ReplaceAll(text, "%p", bar);
  const float percent = DivideOrFail(run.counters.goodFiles, run.counters.totalFiles) * 100.0f;
  text = ReplaceAll(text, "%n", FormatSingle(numtext::RoundHalfEvenSingle(percent, 0)));
  if (text.find("%#") != std::string::npos) {
    text = FillLineWidth(std::move(text), run.settings.OUTPUT_WIDTH);
  }
  return text;
}
