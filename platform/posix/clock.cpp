#include <time.h>

#include "platform/platform.h"

namespace platform {

namespace {

struct tm LocalNow(timespec& now) {
  clock_gettime(CLOCK_REALTIME, &now);
  struct tm local {};
  localtime_r(&now.tv_sec, &local);
  return local;
}

}  // namespace

double TimeOfDaySeconds() {
  timespec now;
  struct tm local = LocalNow(now);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

LocalTime Now() {
  timespec now;
  struct tm local = LocalNow(now);
  LocalTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  return result;
}

}  // namespace platform
