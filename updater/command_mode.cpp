#include "updater/command_mode.h"

#include <optional>
#include <ostream>

#include "updater/settings_update.h"

namespace updater {

namespace {

constexpr const char* kUsage =
    "Usage: brellun                              open the updater window\n"
    "       brellun --update PATH [--keep-old]   update without a window\n"
    "       brellun --help                       show this text\n"
    "\n"
    "Carries an old corvane.ini over to the current sectioned layout: every\n"
    "known key keeps its value, new keys are written empty (MULTICD_KEYS and\n"
    "ZIP_TIME_WAIT get their defaults).\n"
    "\n"
    "  --update PATH  the settings file to update; its name must be exactly\n"
    "                 corvane.ini. The new content replaces the old in one\n"
    "                 step, so a failure leaves the file unchanged.\n"
    "  --keep-old     first keep a copy of the old file as PATH.old, or as\n"
    "                 PATH.old.1, PATH.old.2 ... when an earlier copy exists.\n"
    "  --selftest     open the window for a moment and exit (for testing).\n"
    "\n"
    "Exit status: 0 updated; 1 the file could not be read or written;\n"
    "2 wrong arguments or a file not named corvane.ini.\n";

struct UpdateRequest {
  std::string path;
  bool keepOld = false;
};

// nullopt for anything but one --update PATH and at most one --keep-old.
std::optional<UpdateRequest> ParseUpdateRequest(const std::vector<std::string>& args) {
  UpdateRequest request;
  bool havePath = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--keep-old" && !request.keepOld) {
      request.keepOld = true;
    } else if (args[i] == "--update" && !havePath && i + 1 < args.size()) {
      request.path = args[++i];
      havePath = true;
    } else {
      return std::nullopt;
    }
  }
  if (!havePath) return std::nullopt;
  return request;
}

}  // namespace

int RunCommandMode(platform::FileSystem& files, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage;
    return kExitUpdated;
  }
  const auto request = ParseUpdateRequest(args);
  if (!request) {
    err << kUsage;
    return kExitUsage;
  }
  if (!IsSettingsFileName(request->path)) {
    err << "brellun: " << request->path
        << " is not named corvane.ini; only a file of exactly that name is updated.\n";
    return kExitUsage;
  }
  try {
    const UpdateResult result = UpdateSettingsFile(files, request->path, request->keepOld);
    if (!result.backupPath.empty()) out << "Kept the old file as " << result.backupPath << "\n";
    out << "Updated " << request->path << " to the sectioned layout.\n";
    return kExitUpdated;
  } catch (const UpdateFailure& failure) {
    err << "brellun: " << failure.what() << "\nThe file was left unchanged.\n";
    return kExitFileFailure;
  }
}

}  // namespace updater
