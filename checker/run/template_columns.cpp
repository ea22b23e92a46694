// Fixed-width columns: "%<" + text + "%>" + width + "#" becomes the text padded
// with blanks to the width. Codes replaced later (%p, %n) are still two
// characters long while the columns are measured.
#include <optional>
#include <string>

#include "checker/run/run_error.h"
#include "checker/run/template_parts.h"
#include "common/numtext.h"
#include "common/strings.h"

namespace {

// A width as a whole number; anything else is a conversion error.
int ColumnWidth(const std::string& text) {
  if (const std::optional<std::int16_t> width = numtext::ParseWholeNumber(text)) return *width;
  if (numtext::ParseNumber(text)) {
    throw TemplateError(platform::kOverflow, "a column width is above 32767");
  }
  throw TemplateError(platform::kTypeMismatch, "a column width is not a whole number");
}

// The text between two positions; a group written backwards has none.
std::string Between(const std::string& text, std::size_t from, std::size_t to) {
  if (to < from) {
    throw TemplateError(platform::kInvalidArgument, "a \"%>\" stands before its \"%<\"");
  }
  return text.substr(from, to - from);
}

}  // namespace

std::string PadColumns(std::string text) {
  std::size_t searchFrom = 0;
  for (;;) {
    const std::size_t open = text.find("%<", searchFrom);
    if (open == std::string::npos) return text;
    // The group's end is the first "%>" of the whole text, wherever it stands.
    const std::size_t close = text.find("%>");
    if (close != std::string::npos) {
      const std::size_t hash = text.find('#', close);
      if (hash == std::string::npos) {
        throw TemplateError(platform::kInvalidArgument,
                            "a column group has no \"#\" after its \"%>\"");
      }
      const std::string column = Between(text, open + 2, close);
      const int width = ColumnWidth(text.substr(close + 2, hash - close - 2));
      const std::string group = "%<" + column + "%>" + numtext::FormatInteger(width) + "#";
      std::string padded = column;
      if (width > static_cast<int>(column.size())) padded.append(width - column.size(), ' ');
      text = strings::ReplaceAll(text, group, padded);
    }
    searchFrom = open + 2;
  }
}
