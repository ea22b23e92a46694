// SFV entries and upload paths that try to lead the checker out of the
// release: steps up, absolute paths, links, very long names, control
// characters and bytes above 127. Nothing outside the release may be made,
// changed or removed.
#include <filesystem>

#include "tests/hostile/hostile_site.h"

namespace hostile {
namespace {

namespace fs = std::filesystem;

// An SFV line listing `name` with a CRC that no content here has.
std::string WrongLine(const std::string& name) { return name + " 0BADC0DE\r\n"; }

class HostileNames : public HostileSite {
 protected:
  void SetUp() override {
    if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
    MakeSite();
  }
};

// One SFV lists names that lead out of the release, name the release's own
// files, or cannot be names at all; each gets its result line, none is judged,
// moved aside or deleted, and nothing outside changes.
TEST_F(HostileNames, SfvEntriesStayInTheRelease) {
  struct Row {
    const char* name;
    std::vector<std::string> entries;
    const char* result;  // the start of each entry's line in the report
  };
  const std::string high = "caf\xe9 \xff\xfe.r00";
  const Row rows[] = {
      {"steps up", {"../victim.r00", "...\\victim.r00"}, "IO ERROR: "},
      {"absolute", {VictimFile(), "\\victim.r00", "C:victim.r00"}, "IO ERROR: "},
      // Links out of the release are neither read nor moved nor deleted.
      {"linked out", {"sub/data.r00", "file.r00", "folder.r00"}, "IO ERROR: "},
      {"own files", {".raidenftpd.acl", "rel.sfv"}, "IO ERROR: "},
      // 251 characters leave no room for the marker's ending.
      {"too long", {std::string(251, 'n'), std::string(70000, 'n')}, "IO ERROR: "},
      {"control characters", {"ctl\x01.r00"}, "IO ERROR: "},
      // A marker is made beside the link, nothing where it points.
      {"dangling link", {"gone.r00"}, "MISSING : "},
      {"high bytes", {"\xe9t\xe9.r00"}, "MISSING : "},
  };
  fs::create_symlink(Victim(), site().InRelease("sub"));
  // "..." steps up on Windows: a folder of that name here is not read either.
  support::WriteFile(site().InRelease(".../victim.r00"), "inside");
  fs::create_symlink(VictimFile(), site().InRelease("file.r00"));
  fs::create_symlink("../Victim", site().InRelease("folder.r00"));
  // A link that stays inside the release is an ordinary file.
  fs::create_symlink("inside.r00", site().InRelease("inner.r00"));
  fs::create_symlink(site().Section() + "/made-by-checker.r00", site().InRelease("gone.r00"));
  support::WriteFile(site().InRelease(".raidenftpd.acl"), "RD2 1=owner|group|755|1|0|\r\n");
  support::WriteFile(site().InRelease(high), "high");
  std::string sfv = "inside.r00 " + support::Crc32Text("inside") + "\r\n" + high + " " +
                    support::Crc32Text("high") + "\r\ninner.r00 " + support::Crc32Text("inside") +
                    "\r\n";
  for (const Row& row : rows) {
    for (const std::string& entry : row.entries) sfv += WrongLine(entry);
  }
  support::WriteFile(site().InRelease("rel.sfv"), sfv);
  Freeze();
  ASSERT_EQ(site().Upload("inside.r00", "inside").exitStatus, 0);
  ASSERT_EQ(site().RunLine(e2e::UploadLine(site().InRelease("rel.sfv"))).exitStatus, 0);
  EXPECT_NE(
      Report().find("CRC OK  : inside.r00\r\nCRC OK  : " + high + "\r\nCRC OK  : inner.r00\r\n"),
      std::string::npos);
  for (const Row& row : rows) {
    for (const std::string& entry : row.entries) {
      EXPECT_NE(Report().find(row.result + entry + "\r\n"), std::string::npos)
          << row.name << ": " << entry.substr(0, 60);
    }
  }
  for (const char* name : {"rel.sfv", ".sfvStatus", ".message"})
    EXPECT_TRUE(support::Exists(site().InRelease(name))) << name;
  for (const char* name : {"sub", "file.r00", "folder.r00"})
    EXPECT_TRUE(fs::is_symlink(site().InRelease(name))) << name;
  EXPECT_NE(
      support::ReadFile(site().InRelease(".raidenftpd.acl")).find("RD2 1=owner|group|755|1|0|"),
      std::string::npos);
  for (const char* marker : {"gone.r00.missing", "\xe9t\xe9.r00.missing"}) {
    EXPECT_TRUE(support::Exists(site().InRelease(marker))) << marker;
  }
  ExpectOutsideUntouched();
}

// Links planted under the names the checker itself reads, writes, makes and
// removes, all leading out of the release: each is replaced or removed as a
// link, and what it points to stays as it was.
TEST_F(HostileNames, LinksUnderTheCheckersOwnNames) {
  AddSettings({"DELKEYWORD=incomplete", "APPEND_MSG_TO_SFV=1", "APPEND_MSG=checked",
               "LOCK_FILES_IF_COMPLETE=True", "LOCK_USER=site", "LOCK_GROUP=site", "LOCK_CHMOD=555",
               "MSGFILE=.message"});
  const std::string listed = "inside.r00 " + support::Crc32Text("inside") + "\r\n";
  support::WriteFile(site().Section() + "/outside.sfv", listed);
  fs::create_symlink(site().Section() + "/outside.sfv", site().InRelease("rel.sfv"));
  fs::create_symlink(VictimFile(), site().InRelease(".message"));
  fs::create_symlink(Victim() + "/data.r00", site().InRelease(".sfvStatus"));
  fs::create_symlink(Victim() + "/.raidenftpd.acl", site().InRelease(".raidenftpd.acl"));
  fs::create_symlink(Top() + "/above.r00", site().InRelease("errorlog.txt"));
  fs::create_symlink(Victim(), site().InRelease("SFV CHECK IN PROGRESS - WAIT FOR RESULT"));
  fs::create_symlink(Victim(), site().InRelease("[0 of 1] incomplete"));
  fs::create_symlink(Victim(), site().InRelease("[1 files] complete"));
  Freeze();
  ASSERT_EQ(site().Upload("inside.r00", "inside").exitStatus, 0);
  EXPECT_TRUE(support::Exists(site().InRelease("[1 files] complete")));
  EXPECT_NE(support::ReadFile(site().InRelease("rel.sfv")).find(listed), std::string::npos);
  ExpectOutsideUntouched();
}

// The server passes clean paths, but the option parsing turns two blanks in
// a name that a user chose into a separator: an uploaded file named
// "x  ..  ..  victim.r00" in a folder with a subfolder x names a file of the
// section. A path that steps up is no upload into any release.
TEST_F(HostileNames, UploadPathsSteppingUpChangeNothing) {
  support::WriteFile(site().Section() + "/section.sfv", WrongLine("victim.r00"));
  support::MakeFolder(site().InRelease("x"));
  Freeze();
  const std::string crc = support::Crc32Text("precious");
  for (const std::string& path :
       {site().InRelease("x  ..  ..  victim.r00"), site().InRelease("../Victim/data.r00")}) {
    EXPECT_EQ(site().RunLine(path + " " + crc + " -u:bob -w:grp -l:1 -s:x").exitStatus, 0) << path;
  }
  EXPECT_EQ(support::ListTree(site().Release()), std::vector<std::string>{"x/"});
  ExpectOutsideUntouched();
}

}  // namespace
}  // namespace hostile
