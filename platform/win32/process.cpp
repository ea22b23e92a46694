#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// One argument as the system's command-line rules read it back: quoted when
// it is empty or holds blanks or quotes; backslashes doubled before a quote.
std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::string JoinedCommandLine(const std::string& program, const std::vector<std::string>& args) {
  std::string line = QuotedArgument(program);
  for (const std::string& argument : args) line += " " + QuotedArgument(argument);
  return line;
}

// Starts the program without a console window; the caller owns the handles.
bool Spawn(const std::string& program, const std::vector<std::string>& args,
           const std::string& workingFolder, PROCESS_INFORMATION& started) {
  std::string line = JoinedCommandLine(program, args);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &started) != 0;
}

// A standard handle that a parent handed over (a console, file or pipe).
bool LeadsSomewhere(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

// A program of the window subsystem started from a console gets no standard
// handles of its own; the console it was started from is its parent's.
void AttachToTerminal() {
  const bool output = LeadsSomewhere(STD_OUTPUT_HANDLE);
  const bool error = LeadsSomewhere(STD_ERROR_HANDLE);
  if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!output) std::freopen("CONOUT$", "w", stdout);
  if (!error) std::freopen("CONOUT$", "w", stderr);
}

std::string ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) win32::ThrowLastError();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return win32::ParentFolder(path);
}

// The process's own command line after the program's name, as the server
// passed it: quotes and doubled blanks stay. The name ends at the first blank
// outside quotes; the blanks after it separate it from the rest.
std::string CommandLine(int /*argc*/, char** /*argv*/) {
  const char* p = GetCommandLineA();
  bool inQuotes = false;
  for (; *p != '\0' && (inQuotes || (*p != ' ' && *p != '\t')); ++p) {
    if (*p == '"') inQuotes = !inQuotes;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

bool StartProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingFolder) {
  PROCESS_INFORMATION started{};
  if (!Spawn(program, args, workingFolder, started)) return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace platform
