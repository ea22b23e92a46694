// The version every program reports, from the build's project version.
#pragma once

#include <string_view>

// "major.minor.revision", each a plain decimal number (1.0.9).
std::string_view ProgramVersion();
