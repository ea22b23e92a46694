#include <time.h>

#include "platform/platform.h"

namespace platform {

LocalTime Now() {
  const time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
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
