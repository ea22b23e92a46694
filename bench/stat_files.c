/* The floor of a run's cost over a release: a plain C program that reads the
 * SFV and stats every file it lists, nothing else.
 *   stat_files FOLDER SFV      (prints how many of the listed files exist) */
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

int main(int argc, char** argv) {
  char line[4096], path[8192];
  FILE* sfv;
  long found = 0;
  if (argc != 3 || !(sfv = fopen(argv[2], "r"))) {
    fprintf(stderr, "usage: stat_files FOLDER SFV\n");
    return 2;
  }
  while (fgets(line, sizeof line, sfv)) {
    struct stat info;
    char* space = strrchr(line, ' ');
    if (!space) continue;
    *space = '\0';
    snprintf(path, sizeof path, "%s/%s", argv[1], line);
    if (stat(path, &info) == 0) ++found;
  }
  fclose(sfv);
  printf("%ld\n", found);
  return 0;
}
