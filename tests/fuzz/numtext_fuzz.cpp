// Number texts, which every file of the system is read and written through:
// whatever a text holds, reading never fails badly, and a number written
// reads back to a number that writes the same text.
#include <cmath>

#include "common/numtext.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

template <typename Real>
void CheckTextIsStable(Real value, std::string (*format)(Real),
                       std::optional<Real> (*parse)(std::string_view)) {
  const std::string text = format(value);
  const std::optional<Real> back = parse(text);
  FUZZ_CHECK(back && format(*back) == text, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const double leading = numtext::ParseLeadingNumber(input);
  FUZZ_CHECK(std::isfinite(leading), input);
  CheckTextIsStable(leading, numtext::FormatDouble, numtext::ParseDouble);
  numtext::ParseYesNo(input);
  numtext::ParseLongNumber(input);
  // A whole number is a number first.
  if (numtext::ParseWholeNumber(input)) FUZZ_CHECK(numtext::ParseNumber(input), input);
  if (const auto single = numtext::ParseSingle(input)) {
    CheckTextIsStable(*single, numtext::FormatSingle, numtext::ParseSingle);
  }
  return 0;
}
