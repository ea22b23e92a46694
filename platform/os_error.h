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
  kBadFileName = 52,
  kFileNotFound = 53,
  kFileAlreadyOpen = 55,
  kDeviceIoError = 57,
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kInputPastEnd = 62,
  kTooManyFiles = 67,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

// The classic description of an error number ("File not found" for 53).
inline const char* ClassicDescription(int number) {
  switch (number) {
    case kInvalidArgument:
      return "Invalid procedure call or argument";
    case kOverflow:
      return "Overflow";
    case kOutOfMemory:
      return "Out of memory";
    case kDivisionByZero:
      return "Division by zero";
    case kTypeMismatch:
      return "Type mismatch";
    case kBadFileName:
      return "Bad file name or number";
    case kFileNotFound:
      return "File not found";
    case kFileAlreadyOpen:
      return "File already open";
    case kDeviceIoError:
      return "Device I/O error";
    case kFileAlreadyExists:
      return "File already exists";
    case kDiskFull:
      return "Disk full";
    case kInputPastEnd:
      return "Input past end of file";
    case kTooManyFiles:
      return "Too many files";
    case kPermissionDenied:
      return "Permission denied";
    case kPathFileAccessError:
      return "Path/File access error";
    case kPathNotFound:
      return "Path not found";
    default:
      return "Application-defined or object-defined error";
  }
}

class OsError : public std::runtime_error {
 public:
  OsError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  // An error with its classic description.
  explicit OsError(int number) : OsError(number, ClassicDescription(number)) {}
  int number() const { return number_; }

 private:
  int number_;
};

}  // namespace platform
