// The files that the checker and the server keep in a release folder for
// themselves. An SFV may list any name, these too; such an entry is never
// judged, moved aside or deleted: the permission file would lose the
// server's entries, and a release its SFV, store or message file.
#pragma once

#include <string>
#include <string_view>

namespace release {

// The server's permission file of each folder (written through the
// permission control).
inline constexpr const char* kPermissionFileName = ".raidenftpd.acl";
inline constexpr const char* kErrorLogName = "errorlog.txt";
// The in-progress marker inside the release while a check runs.
inline constexpr const char* kInProgressName = "SFV CHECK IN PROGRESS - WAIT FOR RESULT";
// The description file of a zip set, taken out of its first archive.
inline constexpr const char* kDizName = "file_id.diz";

// What a release's own files are called in this run.
struct OwnFiles {
  std::string sfvName;
  std::string messageFile;  // MSGFILE; empty when there is none
  std::string headerName;   // the progress header made last; empty when none
  bool zipSet = false;      // whether file_id.diz is the checker's
};

// Whether a name listed in the SFV is one of the release's own files (or of
// a subfolder's, which the server keeps alike), or a temporary file of an
// atomic write. Letter case does not count, nor do the trailing dots and
// blanks that Windows drops from a name.
bool IsOwnFile(std::string_view listedName, const OwnFiles& own);

}  // namespace release
