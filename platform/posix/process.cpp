#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

// argv for exec: the program's own path first, then the arguments.
class ArgumentVector {
 public:
  ArgumentVector(const std::string& program, const std::vector<std::string>& args) {
    texts_.push_back(program);
    texts_.insert(texts_.end(), args.begin(), args.end());
    for (std::string& text : texts_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
  }
  char** get() { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
};

pid_t WaitFor(pid_t child, int& status) {
  pid_t waited;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited;
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void ReportAndExit(int reportFd, int err) {
  ssize_t ignored = write(reportFd, &err, sizeof err);
  (void)ignored;
  _exit(127);
}

}  // namespace

std::string ProgramFolder() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) posix::ThrowSystemError(errno, "/proc/self/exe", posix::Subject::kFile);
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  return posix::ParentFolder(path);
}

std::string CommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

// A POSIX program's standard streams are its terminal's, or redirected.
void AttachToTerminal() {}

// The program runs as a grandchild that the system adopts, so nothing has to
// wait for it. A pipe closed on exec tells whether it started: it reaches its
// end without data exactly when exec succeeded.
bool StartProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingFolder) {
  ArgumentVector argv(program, args);
  const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    setsid();
    pid_t grandchild = fork();
    if (grandchild < 0) ReportAndExit(report[1], errno);
    if (grandchild > 0) _exit(0);
    if (folder != nullptr && chdir(folder) != 0) ReportAndExit(report[1], errno);
    execvp(argv.get()[0], argv.get());
    ReportAndExit(report[1], errno);
  }
  close(report[1]);
  bool started = false;
  if (child > 0) {
    int status = 0;
    WaitFor(child, status);
    int err = 0;
    ssize_t got;
    do {
      got = read(report[0], &err, sizeof err);
    } while (got < 0 && errno == EINTR);
    started = got == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  close(report[0]);
  return started;
}

}  // namespace platform
