#include "tests/e2e/site.h"

namespace e2e {

using support::MakeFolder;
using support::WriteFile;

std::vector<std::string> SiteSettings(const std::vector<std::string>& extra) {
  std::vector<std::string> lines = {
      "[Checker]",
      "ON_ERR_MK_FILE=1",
      "ISSERVG6=True",
      "MK_FOLDER_HEADER=1",
      "MK_FO_HEADER_PARENT=True",
      "CREATE_MISSING=True",
      "HANDLE_BAD_FILES=1",
      "MSGFILE=.message",
      "MSGLINE=%g of %t files good",
      "BADMSG=[%g of %t] incomplete",
      "GOODMSG=[%t files] complete",
      "MK_PARENT=1",
      "INC_MAKE_IN_PARENT=(incomplete) %r",
      "COM_MAKE_IN_PARENT=(complete) %r",
  };
  lines.insert(lines.end(), extra.begin(), extra.end());
  return lines;
}

Site::Site(const std::vector<std::string>& extraSettings)
    : programs_(SiteSettings(extraSettings)),
      section_(sites_ / "section"),
      release_(section_ + "/Rel") {
  MakeFolder(release_);
}

RunResult Site::Upload(const std::string& name, const std::string& content,
                       const std::string& options) {
  WriteFile(InRelease(name), content);
  return programs_.Run(UploadLine(InRelease(name), options));
}

}  // namespace e2e
