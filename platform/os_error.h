// Failures of system services, carrying the error numbers that operators of
// such tools know from the classic runtime (53 file not found, 75 path/file
// access error, 76 path not found ...).
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

enum ErrorNumber : int {
  kInvalidArgument = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kFileNotFound = 53,
  kFileAlreadyOpen = 55,
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kInputPastEnd = 62,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

class OsError : public std::runtime_error {
 public:
  OsError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

}  // namespace platform
