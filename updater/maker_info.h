// The maker's addresses, shown on the window and written into the banner of
// every settings file the updater writes.
#pragma once

namespace updater {

inline constexpr const char* kMakerWebAddress = "https://www.example.org/corvane/";
inline constexpr const char* kMakerMirrorAddress = "https://corvane.example.net/";
inline constexpr const char* kMakerEmailAddress = "corvane@example.org";

}  // namespace updater
