#include "tests/hostile/hostile_site.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace hostile {

void HostileSite::MakeSite(const std::vector<std::string>& extra) {
  settings_ = {"ISSERVG6=False", "MK_PARENT=0", "MK_FO_HEADER_PARENT=False", "HANDLE_BAD_FILES=2",
               "SHOW_IND_STATUS_IN_MSG=1"};
  settings_.insert(settings_.end(), extra.begin(), extra.end());
  site_ = std::make_unique<e2e::Site>(settings_);
  support::WriteFile(VictimFile(), "precious");
  support::WriteFile(Victim() + "/data.r00", "precious too");
  support::WriteFile(Victim() + "/.raidenftpd.acl", "RD2 1=owner|group|755|1|0|\r\n");
  support::WriteFile(Top() + "/above.r00", "precious above");
}

void HostileSite::AddSettings(const std::vector<std::string>& extra) {
  settings_.insert(settings_.end(), extra.begin(), extra.end());
  site_->programs().WriteSettings(e2e::SiteSettings(settings_));
}

std::map<std::string, std::string> HostileSite::Outside() const {
  const fs::path root = fs::canonical(Top()), release = fs::canonical(site_->Release());
  std::map<std::string, std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->path() == release) {
      it.disable_recursion_pending();
      continue;
    }
    std::string& seen = entries[fs::relative(it->path(), root).string()];
    const fs::file_status status = it->symlink_status();
    if (fs::is_symlink(status)) {
      seen = "link to " + fs::read_symlink(it->path()).string();
      continue;
    }
    seen = std::to_string(fs::last_write_time(it->path()).time_since_epoch().count());
    if (fs::is_regular_file(status)) seen += " " + support::ReadFile(it->path().string());
  }
  return entries;
}

void HostileSite::ExpectOutsideUntouched() const {
  const std::map<std::string, std::string> now = Outside();
  for (const auto& [path, was] : outside_) {
    const auto is = now.find(path);
    if (is == now.end()) {
      ADD_FAILURE() << "removed outside the release: " << path;
    } else if (is->second != was) {
      ADD_FAILURE() << "changed outside the release: " << path;
    }
  }
  for (const auto& [path, is] : now) {
    if (!outside_.contains(path)) ADD_FAILURE() << "made outside the release: " << path;
  }
}

std::string HostileSite::Report() const { return support::ReadFile(site_->InRelease(".message")); }

}  // namespace hostile
