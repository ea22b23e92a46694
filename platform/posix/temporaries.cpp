#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>
#include <string_view>

#include "platform/temporary_names.h"

namespace platform {

namespace {

// Whether a process that exists has ended and waits to be reaped (a run
// killed while its parent has not yet looked). Where the system does not
// say, it counts as running.
bool HasEnded(pid_t process) {
  const std::string stat = "/proc/" + std::to_string(process) + "/stat";
  const int fd = open(stat.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[512];
  const ssize_t got = read(fd, text, sizeof text - 1);
  close(fd);
  if (got <= 0) return false;
  // "pid (name) state ...": the name may hold blanks and parentheses.
  const std::string_view line(text, static_cast<std::size_t>(got));
  const std::size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string_view::npos || nameEnd + 2 >= line.size()) return false;
  const char state = line[nameEnd + 2];
  return state == 'Z' || state == 'X';
}

}  // namespace

// A number that names no single process names nobody's.
bool ProcessRuns(unsigned long processId) {
  if (processId == 0 || processId > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()))
    return false;
  const auto process = static_cast<pid_t>(processId);
  if (kill(process, 0) != 0 && errno != EPERM) return false;
  return !HasEnded(process);
}

}  // namespace platform
