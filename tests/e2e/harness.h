// End-to-end harness: real programs in a temporary program folder, run the
// way the FTP server runs them, against real release folders.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace e2e {

// The programs under test are the native build, or, when the test process
// has CORVANE_E2E_TARGET=wine, the Windows build in the folder CORVANE_E2E_BIN,
// run under wine as the server on Windows starts them.
bool UnderWine();
// `text` as the programs under test see it: natively unchanged; under wine
// every path into a temporary folder becomes its Z: form with backslashes
// (up to a line end or the next " -", where the server's options begin).
std::string TargetText(std::string_view text);

struct RunResult {
  int exitStatus = -1;
  std::string errorOutput;  // what the program wrote to standard error
  std::string output;       // what it wrote to standard output
};

// A program folder: the built programs and libraries, the permission control
// registered in the folder's own component registry, and a corvane.ini.
class ProgramFolder {
 public:
  // `settingsLines` become corvane.ini (CR LF); without `withSettings` there is
  // no settings file at all.
  explicit ProgramFolder(const std::vector<std::string>& settingsLines, bool withSettings = true);

  const std::string& path() const { return folder_.path(); }
  // Moves the folder elsewhere, as an operator moves a program folder.
  void Move() { folder_.Move(); }
  void WriteSettings(const std::vector<std::string>& settingsLines) const;
  // Runs `program` of the folder with a command line as the server passes it
  // (split at every single space), from an empty working folder, without a
  // desktop. Waits for it.
  RunResult Run(const std::string& commandLine, const std::string& program = "corvane") const;
  // Starts `program` (corvane unless named) once per command line, all at the
  // same time, as the server does when uploads end together; waits for all.
  // Exit statuses in order. A run with a time in `killAfterSeconds` is killed
  // outright (SIGKILL, as a crash ends it) once that time has passed, unless
  // it ended before; its status is then 137. Native programs only.
  std::vector<int> RunTogether(const std::vector<std::string>& commandLines,
                               const std::vector<std::optional<double>>& killAfterSeconds = {},
                               const std::string& program = "corvane") const;
  // The working folder the programs run in: it must stay empty.
  const std::string& workingFolder() const { return working_.path(); }

 private:
  std::string Command(const std::string& commandLine, const std::string& program,
                      std::optional<double> killAfterSeconds = std::nullopt) const;
  std::vector<RunResult> RunAll(const std::vector<std::string>& commandLines,
                                const std::vector<std::optional<double>>& killAfterSeconds,
                                const std::string& program) const;

  support::TempFolder folder_;
  support::TempFolder working_;
};

// The command line the server starts the checker with for an uploaded file:
// the path, the CRC it computed during the upload, and the user's options.
std::string UploadLine(const std::string& filePath,
                       const std::string& options = "-u:bob -l:100 -s:x");

}  // namespace e2e
