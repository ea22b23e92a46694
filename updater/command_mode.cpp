#include "updater/command_mode.h"

#include <optional>
#include <ostream>

#include "updater/settings_update.h"

namespace updater {

namespace {

constexpr const char* kWindowUsage =
    "Usage: brellun                              open the updater window\n"
    "       brellun --update PATH [--keep-old]   update without a window\n";
constexpr const char* kHeadlessUsage =
    "Usage: brellun --update PATH [--keep-old]   update a settings file\n";
constexpr const char* kCommonUsage =
    "       brellun --help | --version           show this text, or the version\n"
    "\n"
    "Carries an old corvane.ini over to the current sectioned layout: every\n"
    "known key keeps its value, new keys are written empty (MULTICD_KEYS and\n"
    "ZIP_TIME_WAIT get their defaults).\n"
    "\n"
    "  --update PATH  the settings file to update; its name must be exactly\n"
    "                 corvane.ini (a link is followed: the file it names is\n"
    "                 rewritten). The new content replaces the old in one\n"
    "                 step (in place where the folder refuses new files);\n"
    "                 a failure leaves the file unchanged.\n"
    "  --keep-old     first keep a copy of the old file as PATH.old, or as\n"
    "                 PATH.old.1, PATH.old.2 ... when an earlier copy exists.\n";
constexpr const char* kSelfTestUsage =
    "  --selftest     open the window for a moment and exit (for testing).\n";
constexpr const char* kExitUsageText =
    "\n"
    "Exit status: 0 updated; 1 the file could not be read or written;\n"
    "2 wrong arguments or a file not named corvane.ini.\n";
constexpr const char* kNoWindow =
    "brellun: this build has no window. Update a settings file with\n"
    "  brellun --update PATH [--keep-old]\n"
    "(brellun --help tells more).\n";

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

std::string Usage(bool withWindow) {
  return std::string(withWindow ? kWindowUsage : kHeadlessUsage) + kCommonUsage +
         (withWindow ? kSelfTestUsage : "") + kExitUsageText +
         (withWindow ? "" : "This build of brellun has no window.\n");
}

int RunCommandMode(platform::FileSystem& files, const std::vector<std::string>& args,
                   WindowRunner window, std::ostream& out, std::ostream& err) {
  const bool alone = args.size() == 1;
  if (args.empty() || (alone && args[0] == "--selftest")) {
    if (window != nullptr) return window(!args.empty());
    err << kNoWindow;
    return kExitUsage;
  }
  const auto request = ParseUpdateRequest(args);
  if (!request) {
    err << Usage(window != nullptr);
    return kExitUsage;
  }
  if (!IsSettingsFileName(request->path)) {
    err << "brellun: " << request->path
        << " is not named corvane.ini; only a file of exactly that name is updated.\n";
    return kExitUsage;
  }
  try {
    const UpdateResult result = UpdateSettingsFile(
        files, request->path, request->keepOld ? KeepOld::kNumbered : KeepOld::kNo);
    if (!result.backupPath.empty()) out << "Kept the old file as " << result.backupPath << "\n";
    out << "Updated " << request->path << " to the sectioned layout.\n";
    return kExitUpdated;
  } catch (const UpdateFailure& failure) {
    err << "brellun: " << failure.what() << "\n";
    return kExitFileFailure;
  }
}

}  // namespace updater
