// exact_launch PROGRAM LINE-FILE
// Starts PROGRAM with the command line "PROGRAM" followed by the bytes of
// LINE-FILE, exactly as they are (doubled blanks, quotes and 8-bit text
// included), waits for it and exits with its exit code. Under wine a program
// started from the host gets its arguments re-quoted; the FTP server instead
// hands over one command line of its own, which this reproduces.
//
// A test fixture for Windows only, so it talks to the system directly.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool ReadBytes(const char* path, std::string& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string tail;
  if (argc != 3 || !ReadBytes(argv[2], tail)) {
    std::fprintf(stderr, "usage: exact_launch PROGRAM LINE-FILE\n");
    return 125;
  }
  std::string line = std::string("\"") + argv[1] + "\"";
  if (!tail.empty()) line += " " + tail;

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started{};
  // Under a busy wine a start now and then fails for a moment; that is the
  // test machine's, not the program's, so it is tried again before it counts.
  for (int attempt = 1; !CreateProcessA(argv[1], line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &started);
       ++attempt) {
    std::fprintf(stderr, "exact_launch: cannot start %s (error %lu)\n", argv[1], GetLastError());
    if (attempt == 5) return 126;
    Sleep(200);
  }
  CloseHandle(started.hThread);
  DWORD exitCode = 126;
  WaitForSingleObject(started.hProcess, INFINITE);
  GetExitCodeProcess(started.hProcess, &exitCode);
  CloseHandle(started.hProcess);
  return static_cast<int>(exitCode);
}
