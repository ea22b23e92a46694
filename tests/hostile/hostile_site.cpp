#include "tests/hostile/hostile_site.h"

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

void HostileSite::Freeze() {
  snapshot_ = std::make_unique<OutsideSnapshot>(Top(), site_->Release());
}

std::string HostileSite::Report() const { return support::ReadFile(site_->InRelease(".message")); }

}  // namespace hostile
