// A fresh temporary folder for a test, removed with its content when the
// object goes.
#pragma once

#include <string>
#include <string_view>

namespace support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of `relative` inside the folder ("a/b" style).
  std::string operator/(std::string_view relative) const;

 private:
  std::string path_;
};

// Where every temporary folder of the tests begins (the folder's path up to
// the characters that make it unique).
std::string TempRoot();

}  // namespace support
