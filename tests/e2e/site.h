// A site for the checker's end-to-end tests: a program folder with a typical
// corvane.ini, and a section folder holding one release.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

using FileList = std::vector<std::pair<std::string, std::string>>;  // name, content

// Settings of a site that shows everything on disk and makes no permission
// calls; `extra` lines follow (a later line wins).
std::vector<std::string> SiteSettings(const std::vector<std::string>& extra = {});

class Site {
 public:
  explicit Site(const std::vector<std::string>& extraSettings = {});

  // The section folder (parent of the release) and the release folder.
  std::string Section() const { return section_; }
  std::string Release() const { return release_; }
  std::string InRelease(const std::string& name) const { return release_ + "/" + name; }

  // Puts a file into the release and runs the checker as the server does
  // after the upload: with the CRC of the uploaded bytes.
  RunResult Upload(const std::string& name, const std::string& content,
                   const std::string& options = "-u:bob -w:grp -l:100 -s:x");
  RunResult RunLine(const std::string& commandLine) { return programs_.Run(commandLine); }
  std::vector<std::string> Tree() const { return support::ListTree(section_); }
  const ProgramFolder& programs() const { return programs_; }
  void MovePrograms() { programs_.Move(); }

 private:
  ProgramFolder programs_;
  support::TempFolder sites_;
  std::string section_;
  std::string release_;
};

}  // namespace e2e
