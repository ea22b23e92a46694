// A site whose release is attacked, with precious files all around it: a
// file and a folder beside the release, and a file above the section.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/site.h"

namespace hostile {

class HostileSite : public ::testing::Test {
 protected:
  // Settings that make the checker touch nothing outside the release on its
  // own (no parent entries or markers), make permission entries, delete bad
  // files and show every file's result in the message file; `extra` follow.
  void MakeSite(const std::vector<std::string>& extra = {});
  // Settings that follow those of MakeSite, such as paths into the release.
  void AddSettings(const std::vector<std::string>& extra);
  // Records every entry around the release (kind, size, content, time of
  // last change, where a link points); call when the scene is set.
  void Freeze() { outside_ = Outside(); }
  // Fails the test for every entry made, changed or removed there since.
  void ExpectOutsideUntouched() const;
  // The message file's result lines, CR LF ended.
  std::string Report() const;
  // The folder holding the section folder: the top of the site's tree.
  std::string Top() const { return site_->Section() + "/.."; }

  e2e::Site& site() { return *site_; }
  std::string Victim() const { return site_->Section() + "/Victim"; }
  std::string VictimFile() const { return site_->Section() + "/victim.r00"; }

 private:
  std::map<std::string, std::string> Outside() const;

  std::vector<std::string> settings_;
  std::unique_ptr<e2e::Site> site_;
  std::map<std::string, std::string> outside_;
};

}  // namespace hostile
