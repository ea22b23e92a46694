// libzip as an independent judge of archives, and as an independent writer
// of the archives that ordinary tools make.
#pragma once

#include <string>
#include <vector>

namespace ziptest {

// Whether libzip opens the archive and reads every member in full with a
// matching CRC; strict adds its checks that each member's local header agrees
// with the directory.
bool LibzipAccepts(const std::string& path, bool strict = true);

struct LibzipEntry {
  std::string name{};  // ending with "/": a folder
  std::string content{};
  bool store = false;
};
// Writes an archive with libzip; with a password, every file is encrypted
// with the traditional PKWARE method.
void LibzipWrite(const std::string& path, const std::vector<LibzipEntry>& entries,
                 const char* password = nullptr);

}  // namespace ziptest
