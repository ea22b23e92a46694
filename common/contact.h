// The maker's addresses. The error log's note to sysops, the updater's window
// and the banner of every settings file the updater writes show these three.
#pragma once

namespace contact {

inline constexpr const char* kWebAddress = "http://www.example.org/corvane";
inline constexpr const char* kForumAddress = "http://forum.example.org/corvane";
inline constexpr const char* kEmailAddress = "support@example.org";

}  // namespace contact
