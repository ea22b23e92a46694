// The suite's version, given by the build (the project version in
// CMakeLists.txt), for every text that names it.
#pragma once

namespace version {

inline constexpr const char* kNumber = CORVANE_VERSION;

}  // namespace version
