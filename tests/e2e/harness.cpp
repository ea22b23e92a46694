#include "tests/e2e/harness.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace e2e {
namespace {

using support::Crc32Text;
using support::Exists;
using support::ReadFile;
using support::TempRoot;
using support::WriteFile;

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

constexpr const char* kRegistryName = "components.reg";

// Every file of the build's program folder, copied: a program finds its
// folder through its own path, so links would point it back to the build, and
// tests may change or damage their copies. The build's component registry
// stays behind: each folder is registered by its own permreg, as an operator
// registers a new folder.
void CopyPrograms(const std::string& to) {
  const char* built = UnderWine() ? std::getenv("CORVANE_E2E_BIN") : CORVANE_BIN_DIR;
  if (built == nullptr) throw std::runtime_error("CORVANE_E2E_BIN names no folder");
  for (const auto& entry : fs::directory_iterator(built)) {
    if (!entry.is_regular_file() || entry.path().filename() == kRegistryName) continue;
    fs::copy_file(entry.path(), fs::path(to) / entry.path().filename());
  }
}

// The end of a path that starts at `at`: a line end, the next option, or the
// end of the text.
std::size_t PathEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] != '\r' && text[at] != '\n' && text.substr(at, 2) != " -")
    ++at;
  return at;
}

// Runs the program without a desktop.
constexpr const char* kWithoutDesktop = "env -u DISPLAY -u WAYLAND_DISPLAY ";

// Under wine the server's line reaches the program byte for byte through the
// Windows build's launcher, which reads it from a file: wine would re-quote
// arguments given from here.
std::string WineCommand(const std::string& programFolder, const std::string& commandLine,
                        const std::string& program) {
  static std::atomic<unsigned> lines{0};
  const std::string lineFile = programFolder + "/command-line-" + std::to_string(lines++) + ".txt";
  return "printf '%s' " + ShellQuoted(TargetText(commandLine)) + " >" + ShellQuoted(lineFile) +
         " && " + kWithoutDesktop + "wine " + ShellQuoted(programFolder + "/exact_launch.exe") +
         " " + ShellQuoted(TargetText(programFolder + "/" + program + ".exe")) + " " +
         ShellQuoted(TargetText(lineFile));
}

}  // namespace

bool UnderWine() {
  const char* target = std::getenv("CORVANE_E2E_TARGET");
  return target != nullptr && std::string_view(target) == "wine";
}

std::string TargetText(std::string_view text) {
  if (!UnderWine()) return std::string(text);
  const std::string root = TempRoot();
  std::string translated;
  std::size_t at = 0;
  for (std::size_t found; (found = text.find(root, at)) != std::string_view::npos;
       at = PathEnd(text, found)) {
    translated += text.substr(at, found - at);
    translated += "Z:";
    for (char c : text.substr(found, PathEnd(text, found) - found))
      translated += c == '/' ? '\\' : c;
  }
  translated += text.substr(at);
  return translated;
}

ProgramFolder::ProgramFolder(const std::vector<std::string>& settingsLines, bool withSettings) {
  CopyPrograms(folder_.path());
  if (Exists(folder_ / "permreg") && Exists(folder_ / "permlet.ocx")) {
    if (Run("/s " + (folder_ / "permlet.ocx"), "permreg").exitStatus != 0)
      throw std::runtime_error("cannot register permlet.ocx");
  }
  if (withSettings) WriteSettings(settingsLines);
}

void ProgramFolder::WriteSettings(const std::vector<std::string>& settingsLines) const {
  std::string text;
  for (const std::string& line : settingsLines) text += TargetText(line) + "\r\n";
  WriteFile(folder_ / "corvane.ini", text);
}

// The shell command that runs `program` with the server's line split at every
// single space (doubled spaces give empty arguments, which the program joins
// back into the same line), from the working folder, without a desktop.
std::string ProgramFolder::Command(const std::string& commandLine, const std::string& program,
                                   std::optional<double> killAfterSeconds) const {
  std::string command = "cd " + ShellQuoted(working_.path()) + " && ";
  if (UnderWine()) {
    if (killAfterSeconds) throw std::runtime_error("runs under wine are not killed");
    return command + WineCommand(folder_.path(), commandLine, program);
  }
  if (killAfterSeconds) command += "timeout -s KILL " + std::to_string(*killAfterSeconds) + " ";
  command += kWithoutDesktop + ShellQuoted(folder_ / program);
  std::stringstream line(commandLine);
  for (std::string argument; std::getline(line, argument, ' ');)
    command += " " + ShellQuoted(argument);
  if (!commandLine.empty() && commandLine.back() == ' ') command += " ''";
  return command;
}

RunResult ProgramFolder::Run(const std::string& commandLine, const std::string& program) const {
  return RunAll({commandLine}, {}, program)[0];
}

std::vector<int> ProgramFolder::RunTogether(
    const std::vector<std::string>& commandLines,
    const std::vector<std::optional<double>>& killAfterSeconds, const std::string& program) const {
  std::vector<int> statuses;
  for (const RunResult& result : RunAll(commandLines, killAfterSeconds, program))
    statuses.push_back(result.exitStatus);
  return statuses;
}

// A single run in the foreground, several in the background at once.
std::vector<RunResult> ProgramFolder::RunAll(
    const std::vector<std::string>& commandLines,
    const std::vector<std::optional<double>>& killAfterSeconds, const std::string& program) const {
  auto file = [&](std::size_t i, const std::string& what) {
    return folder_ / (what + std::to_string(i) + ".txt");
  };
  std::string script;
  for (std::size_t i = 0; i < commandLines.size(); ++i) {
    const auto killAfter = i < killAfterSeconds.size() ? killAfterSeconds[i] : std::nullopt;
    script += "(" + Command(commandLines[i], program, killAfter) + " >" +
              ShellQuoted(file(i, "stdout")) + " 2>" + ShellQuoted(file(i, "stderr")) +
              "; echo $? >" + ShellQuoted(file(i, "status")) + ")" +
              (commandLines.size() > 1 ? " & " : "; ");
  }
  if (std::system((script + "wait").c_str()) != 0)
    throw std::runtime_error("cannot run " + program);
  std::vector<RunResult> results;
  for (std::size_t i = 0; i < commandLines.size(); ++i) {
    results.push_back({std::stoi(ReadFile(file(i, "status"))), ReadFile(file(i, "stderr")),
                       ReadFile(file(i, "stdout"))});
    for (const char* what : {"status", "stderr", "stdout"}) fs::remove(file(i, what));
  }
  return results;
}

std::string UploadLine(const std::string& filePath, const std::string& options) {
  return filePath + " " + Crc32Text(ReadFile(filePath)) + " " + options;
}

}  // namespace e2e
