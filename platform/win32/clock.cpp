#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

LocalTime Now() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  LocalTime result;
  result.year = local.wYear;
  result.month = local.wMonth;
  result.day = local.wDay;
  result.hour = local.wHour;
  result.minute = local.wMinute;
  result.second = local.wSecond;
  return result;
}

}  // namespace platform
