// Number texts, which every file of the system is read and written through.
// Whatever a text holds, reading never fails badly, and a number written
// reads back to a number that writes the same text.
#include <cmath>

#include "common/numtext.h"
#include "platform/os_error.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckDoubleRoundTrip(double value) {
  const std::string text = numtext::FormatDouble(value);
  const auto back = numtext::ParseDouble(text);
  FUZZ_CHECK(back.has_value(), text);
  FUZZ_CHECK(numtext::FormatDouble(*back) == text, text);
  FUZZ_CHECK(numtext::ParseLeadingNumber(text) == *back, text);
}

void CheckSingleRoundTrip(float value) {
  const std::string text = numtext::FormatSingle(value);
  const auto back = numtext::ParseSingle(text);
  FUZZ_CHECK(back.has_value(), text);
  FUZZ_CHECK(numtext::FormatSingle(*back) == text, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const double leading = numtext::ParseLeadingNumber(input);
  FUZZ_CHECK(std::isfinite(leading), input);
  CheckDoubleRoundTrip(leading);
  numtext::ParseNumber(input);
  numtext::ParseYesNo(input);
  numtext::ParseLongNumber(input);
  // A whole number is a number first.
  if (numtext::ParseWholeNumber(input)) FUZZ_CHECK(numtext::ParseNumber(input), input);
  if (const auto number = numtext::ParseDouble(input)) {
    CheckDoubleRoundTrip(*number);
    for (int decimals : {-2, 0, 1, 2}) {
      const double rounded = numtext::RoundHalfEven(*number, decimals);
      if (std::isfinite(rounded)) CheckDoubleRoundTrip(rounded);
    }
  }
  if (const auto single = numtext::ParseSingle(input)) {
    CheckSingleRoundTrip(*single);
    const float rounded = numtext::RoundHalfEvenSingle(*single, 1);
    if (std::isfinite(rounded)) CheckSingleRoundTrip(rounded);
  }
  return 0;
}
