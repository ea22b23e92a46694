#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

double TimeOfDaySeconds() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond + local.wMilliseconds / 1e3;
}

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
