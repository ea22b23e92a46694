// Number texts, which every file of the system is read and written through:
// whatever a text holds, reading never fails badly, and the number read
// writes a text that reads back to it.
#include <cmath>

#include "common/numtext.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const double leading = numtext::ParseLeadingNumber(input);
  FUZZ_CHECK(std::isfinite(leading), input);
  FUZZ_CHECK(numtext::ParseDouble(numtext::FormatDouble(leading)) == leading, input);
  numtext::ParseYesNo(input);
  numtext::ParseLongNumber(input);
  // A whole number is a number first.
  if (numtext::ParseWholeNumber(input)) FUZZ_CHECK(numtext::ParseNumber(input), input);
  if (const auto single = numtext::ParseSingle(input)) {
    FUZZ_CHECK(numtext::ParseSingle(numtext::FormatSingle(*single)) == single, input);
  }
  return 0;
}
