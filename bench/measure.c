/* Runs one command with its output thrown away and prints what it cost:
 *   measure PROGRAM [ARGUMENT ...]
 *   -> "WALL CPU PEAK STATUS": elapsed and user+system seconds to the
 *      microsecond, the peak resident size in KiB, the exit status. */
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Seconds(struct timeval t) { return (double)t.tv_sec + (double)t.tv_usec / 1e6; }

int main(int argc, char** argv) {
  struct timespec start, end;
  struct rusage usage;
  int status = 0;
  pid_t child;
  if (argc < 2) {
    fprintf(stderr, "usage: measure PROGRAM [ARGUMENT ...]\n");
    return 2;
  }
  clock_gettime(CLOCK_MONOTONIC, &start);
  child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  if (child < 0 || wait4(child, &status, 0, &usage) < 0) return 1;
  clock_gettime(CLOCK_MONOTONIC, &end);
  printf("%.6f %.6f %ld %d\n",
         (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9,
         Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss,
         WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  return 0;
}
