// exact_launch PROGRAM LINE-FILE: starts PROGRAM with the command line
// "PROGRAM" and the bytes of LINE-FILE as they are, as the FTP server hands
// over its own command line (wine re-quotes the arguments of a program
// started from the host), and exits with its exit code. Windows only.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  std::ifstream file(argc == 3 ? argv[2] : "", std::ios::binary);
  const std::string tail{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (argc != 3 || !file.is_open() || file.bad()) {
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
