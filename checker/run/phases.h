// The phases of one checker run, in the order the run sequence calls them.
// Each is a free function over the run's state, in a file named after it.
#pragma once

#include <string>
#include <vector>

#include "checker/run/check_run.h"
#include "platform/file_system.h"

// command_line.cpp: the site command, quotes, the options and the release
// folder they leave.
void ParseCommandLine(CheckRun& run);
// command_line.cpp: the server's CRC after the path. False: the run ends here.
bool TakeServerCrc(CheckRun& run);

// release_listing.cpp: the release folder's entries as the run first lists
// them, less what its sweep removed; the SFV search, the sweep and the
// verification pass read this one listing, which no other change of the run
// comes before. Listing it removes the temporary files that runs killed while
// replacing a file of the release left there. Empty when the folder cannot
// be listed: no SFV is found then, nothing is swept and the pass places every
// file on its own.
std::vector<platform::DirEntry>& ReleaseEntries(CheckRun& run);

// sfv_list.cpp
void FindReleaseSfv(CheckRun& run);
void ReadSfvList(CheckRun& run);

// status_store.cpp. HandleStatusStoreUpload: true when the uploaded file is
// a status store; the run ends then.
bool HandleStatusStoreUpload(CheckRun& run);
void ReadStatusStore(CheckRun& run);
void UpdateUserStats(CheckRun& run);
void WriteStatusStore(CheckRun& run);
void DeleteStatusStore(CheckRun& run);

// verify.cpp: the verification pass, and the completion step it shares with
// the zip test.
void VerifyRelease(CheckRun& run);
void CompleteRelease(CheckRun& run);

// bad_file.cpp: a file that failed its check moved aside or deleted, as
// HANDLE_BAD_FILES says; shared by the verification pass and the zip test.
// An older ".bad" file goes when the file takes its place, and in the pass
// also when the file stays. False: the file is still being written, has no
// verdict yet and was left alone.
enum class OlderBadFile { kRemovedWhenSetAside, kAlwaysRemoved };
[[nodiscard]] bool SetBadFileAside(CheckRun& run, const std::string& path, OlderBadFile older);

// templates.cpp
std::string ExpandTemplate(CheckRun& run, const std::string& text, bool completeFlag);

// headers.cpp
void SweepOldHeaders(CheckRun& run);
void MarkCheckInProgress(CheckRun& run);
void ClearCheckInProgress(CheckRun& run);
void WriteProgressHeader(CheckRun& run);  // complete or incomplete by releaseComplete

// parent.cpp
void LocateParent(CheckRun& run);
void MarkParentInProgress(CheckRun& run);
void ClearParentInProgress(CheckRun& run);
void WriteParentEntry(CheckRun& run);  // complete or incomplete by releaseComplete

// message_file.cpp
void WriteWaitMessage(CheckRun& run);
void WriteMessageFile(CheckRun& run);

// sfv_rewrite.cpp
void RewriteSfv(CheckRun& run);

// permissions.cpp: every permission change goes through SetPermissions, which
// makes no call at all when ISSERVG6 is on.
void SetPermissions(CheckRun& run, const std::string& mode, const std::string& owner,
                    const std::string& group, const std::string& path, int complete);
void LockRelease(CheckRun& run);
// The end of a normal run, after its last permission change: the changes are
// written, a failure to write them fails the run.
void SavePermissionChanges(CheckRun& run);
// The run failed because the control could not be made (ControlNotMade): the
// error log names that cause and the registration command, whichever step
// needed the control (the folder lock's own context already does).
void BlameUnmadeControl(CheckRun& run);

// zip_release.cpp
bool ExtractFileIdDiz(CheckRun& run);      // false: no file_id.diz, the run ends
bool ReadZipExpectedCount(CheckRun& run);  // false: no count, go to the clean-up
// The archives of the release folder, by name: the files whose names hold
// ".zip", as for an upload, less those set aside as bad.
std::vector<std::string> ListZipArchives(CheckRun& run);
void TestZipRelease(CheckRun& run);  // an upload's archive, or on a re-check every one

// error_log.cpp
void HandleRunError(CheckRun& run, int number, const std::string& description);
void EndOfRunCleanup(CheckRun& run);

// run_sequence.cpp: the whole run, from the program folder holding
// corvane.ini and the command line the server passed, with the given file
// system and permission control. Returns the process exit status.
int RunChecker(const std::string& programFolder, const std::string& commandLine,
               platform::FileSystem& files, PermissionControl& permissions);

// run_sequence.cpp: an operator's full re-check of the release folder
// `releaseDir` (absolute, without a trailing separator) with the run's
// settings: the release's SFV, or else its zip set, goes through the phases
// of an upload under the release lock, every file read again and no uploader
// counted. The counters and releaseComplete tell the outcome; a failure went
// to the error log.
enum class RecheckEnd { kChecked, kNoRelease, kFailed };
RecheckEnd RecheckRelease(CheckRun& run, const std::string& releaseDir);
