#include "release/own_files.h"

#include "common/strings.h"
#include "platform/platform.h"
#include "release/paths.h"

namespace release {

namespace {

// The name as Windows takes it: trailing dots and blanks dropped.
std::string_view AsWindowsTakesIt(std::string_view name) {
  const std::size_t end = name.find_last_not_of(". ");
  return end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
}

}  // namespace

bool IsOwnFile(std::string_view listedName, const OwnFiles& own) {
  const std::string_view name = AsWindowsTakesIt(strings::FileNamePart(listedName));
  if (name.empty()) return false;
  if (platform::IsTemporaryName(name)) return true;
  for (std::string_view ownName :
       {std::string_view(kPermissionFileName), std::string_view(kStatusStoreName),
        std::string_view(kErrorLogName), std::string_view(kInProgressName),
        std::string_view(own.sfvName), std::string_view(own.messageFile),
        std::string_view(own.headerName)}) {
    if (!ownName.empty() && strings::EqualsIgnoreCase(name, AsWindowsTakesIt(ownName))) return true;
  }
  return own.zipSet && strings::EqualsIgnoreCase(name, kDizName);
}

}  // namespace release
