// A site whose release is attacked, with precious files all around it: a
// file and a folder beside the release, and a file above the section.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/site.h"
#include "tests/hostile/outside_snapshot.h"

namespace hostile {

class HostileSite : public ::testing::Test {
 protected:
  // Settings that make the checker touch nothing outside the release on its
  // own (no parent entries or markers), make permission entries, delete bad
  // files and show every file's result in the message file; `extra` follow.
  void MakeSite(const std::vector<std::string>& extra = {});
  // Settings that follow those of MakeSite, such as paths into the release.
  void AddSettings(const std::vector<std::string>& extra);
  // Records the tree around the release; call when the scene is set.
  void Freeze();
  void ExpectOutsideUntouched() const { snapshot_->ExpectUnchanged(); }
  // The message file's result lines, CR LF ended.
  std::string Report() const;
  // The folder holding the section folder: the top of the site's tree.
  std::string Top() const { return site_->Section() + "/.."; }

  e2e::Site& site() { return *site_; }
  std::string Victim() const { return site_->Section() + "/Victim"; }
  std::string VictimFile() const { return site_->Section() + "/victim.r00"; }

 private:
  std::vector<std::string> settings_;
  std::unique_ptr<e2e::Site> site_;
  std::unique_ptr<OutsideSnapshot> snapshot_;
};

}  // namespace hostile
