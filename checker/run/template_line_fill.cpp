// Line-width fill: "%#" + digit markers (the digit says how many markers the
// text holds) become blanks that bring the text, markers removed, to
// OUTPUT_WIDTH characters. An uneven share gives the extra blanks to the
// markers from the last one on.
#include <algorithm>
#include <cmath>
#include <string>

#include "checker/run/run_error.h"
#include "checker/run/template_parts.h"
#include "common/numtext.h"
#include "common/strings.h"

namespace {

std::string Blanks(long count) { return std::string(count > 0 ? count : 0, ' '); }

// Position of the count-th marker: each search starts one place after the
// previous find, or at the start when the previous one found nothing.
std::size_t NthMarker(const std::string& text, const std::string& marker, int count) {
  std::size_t found = std::string::npos;
  for (int i = 0; i < count; ++i) {
    found = text.find(marker, found == std::string::npos ? 0 : found + 1);
  }
  return found;
}

}  // namespace

std::string FillLineWidth(std::string text, int outputWidth) {
  const std::size_t first = text.find("%#");
  const char digit = first + 2 < text.size() ? text[first + 2] : '\0';
  if (digit < '0' || digit > '9') {
    throw TemplateError(platform::kTypeMismatch, "a \"%#\" is not followed by a digit");
  }
  const int count = digit - '0';
  if (count == 0) {
    throw TemplateError(platform::kDivisionByZero, "the marker \"%#0\" counts no markers");
  }
  const std::string marker = std::string("%#") + digit;

  const long fillerLength =
      std::max(0L, outputWidth - (static_cast<long>(text.size()) - 3L * count));
  const double share = numtext::RoundHalfEven(static_cast<double>(fillerLength) / count, 1);
  const long tenths = std::lround(share * 10);
  const std::string cut = Blanks(tenths / 10);
  if (tenths % 10 == 0) return strings::ReplaceAll(text, marker, cut);

  const std::size_t last = NthMarker(text, marker, count);
  if (last == std::string::npos) {
    throw TemplateError(platform::kInvalidArgument, "fewer \"%#\" markers than their digit says");
  }
  const double extraLength = numtext::RoundHalfEven((tenths % 10) * count * 0.1, 0);
  const std::string extra = cut.substr(0, static_cast<std::size_t>(extraLength));
  text = text.substr(0, last) + strings::ReplaceAll(text.substr(last), marker, cut + extra);
  return strings::ReplaceAll(text, marker, cut);
}
