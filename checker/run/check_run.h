// Everything one checker run knows. Each phase is a free function over a
// CheckRun&. The settings are loaded once and only read afterwards; the
// file system and the permission control are the ones the run was given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "checker/crc/cls_crc.h"
#include "platform/file_system.h"
#include "settings/checker_settings.h"

class PermissionControl;  // checker/run/permissions.h

struct SfvEntry {
  std::string expectedCrc;  // up to 8 characters after the line's last space
  std::string fileName;     // everything before the last space; may be empty
};
// Entries in file order; entry number i (1-based) is sfvList[i - 1].
using SfvList = std::vector<SfvEntry>;

struct UserStat {
  std::int16_t ordinal = 0;
  std::string userName;
  std::string groupName;
  double sizeKb = 0;
  double lAverage = 0;
  float fileCount = 0;
};
// 1-based in the store; userStats[i - 1] is record i, rankKeys[i - 1] its key.
using UserStatList = std::vector<UserStat>;

struct ErrorContext {
  std::string action;
  std::string solution;  // may hold CR LF line breaks
};

struct ReleaseCounters {
  float totalFiles = 0;
  float goodFiles = 0;
  float badFiles = 0;
  float missingFiles = 0;
  float ioErrorFiles = 0;
  float blankEntries = 0;
  float releaseSizeKb = 0;
  double runSizeKb = 0;
  float runGoodCount = 0;
};

// Templates as this run expanded them: each expansion takes the place of its
// template for the rest of the run.
struct ExpandedTemplates {
  std::string goodMsg;  // GOODMSG, or MP3GOODMSG
  std::string badMsg;   // BADMSG, or MP3BADMSG
  std::string comMakeInParent;
  std::string incMakeInParent;
  std::string chmodSfvStatusU;
  std::string chmodSfvStatusG;
};

// The ID3 texts of a run that was given none: the status store's are taken.
inline constexpr const char* kNoId3Year = "no_id3_year";
inline constexpr const char* kNoId3Genre = "no_id3_genre";

struct CheckRun {
  CheckRun(const settings::CheckerSettings& loaded, platform::FileSystem& fileSystem,
           PermissionControl& control)
      : settings(loaded), files(fileSystem), permissions(control), crc(fileSystem) {}

  const settings::CheckerSettings& settings;
  platform::FileSystem& files;
  PermissionControl& permissions;

  std::string programFolder;
  std::string commandLine;  // as received, for the error log

  // Paths.
  std::string targetPath;
  std::string releaseDir;  // never ends with a separator
  std::string uploadedName;
  std::string parentPath;  // ends with a separator once known

  // Command-line values.
  std::string serverCrc;
  std::string userName;
  std::string groupName;
  float lTotal = 0;
  std::string id3Year;
  std::string bValue;
  std::string id3Genre;
  // Copies for the per-user statistics; loading the store leaves them alone.
  std::string statUserName;
  std::string statGroupName;
  float statLValue = 0;

  // Flags.
  bool isZipUpload = false;
  bool isDataUpload = false;
  bool isMp3Release = false;
  bool isMultiCd = false;
  bool releaseComplete = false;
  // An operator's full re-check: every file is read again, whatever the store
  // says, and no uploader is counted.
  bool isRecheck = false;

  // Names.
  std::string releaseName;
  std::string mainReleaseName;
  std::string headerName;       // header made last (from the store, then this run's)
  std::string parentEntryName;  // parent entry made last
  // The release folder's entries, listed once (release_listing.cpp).
  std::optional<std::vector<platform::DirEntry>> releaseEntries;

  // Verification pass.
  SfvList sfvList;
  std::string statusFlags;
  std::string previousStatusFlags;
  std::string resultReport;
  std::string estimateFolder;

  // Status store.
  UserStatList userStats;
  std::vector<std::string> rankKeys;

  ExpandedTemplates expanded;
  ReleaseCounters counters;
  ErrorContext errorContext;
  clsCRC crc;
};

inline void SetErrorContext(CheckRun& run, std::string action, std::string solution) {
  run.errorContext.action = std::move(action);
  run.errorContext.solution = std::move(solution);
}
