#include "permlet/aclfile/permission_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace permlet {
namespace {

class PermissionFileTest : public ::testing::Test {
 protected:
  std::string Acl() const { return folder_ / ".raidenftpd.acl"; }
  std::string Path(const std::string& name) const { return folder_ / name; }

  support::TempFolder folder_;
  PermissionFile file_{platform::SystemFileSystem()};
};

TEST_F(PermissionFileTest, SetEntryWithoutFileCreatesExactlyOneLine) {
  file_.SetEntry(Path("abc"), "root", "root", "755", 1, 0);
  EXPECT_EQ(support::ReadFile(Acl()), "RD2 2238185766=root|root|755|1|0|\r\n");
}

TEST_F(PermissionFileTest, RewritesWhatItLoadsByteForByte) {
  support::WriteFile(Acl(),
                     "; written by hand\r\n"
                     "rd2 2238185766=bob|users|554|0|0|\r\n"  // prefix in any case
                     "RD2 325452563=old|old|777|1|0|\n"       // a bare LF ends a line too
                     "RD2 325452563=dupe|dupe|000|0|0|\r\n"   // the first of a key wins
                     "RD2 42=\r\n"                            // empty records are not written
                     "RD2 no equals sign\r\n"
                     "RD2 77=a|b|c|1|0|=cut here\r\n"  // a record ends at the next "="
                     "RD2\r\n");
  file_.SetEntry(Path("new.nfo"), "u", "g", "444", 0, 0);
  // Table order: bucket 2 (abc), 4 (77), 13 (new.nfo before file.rar: the
  // newest entry heads its bucket).
  EXPECT_EQ(support::ReadFile(Acl()),
            "RD2 2238185766=bob|users|554|0|0|\r\n"
            "RD2 77=a|b|c|1|0|\r\n"
            "RD2 3005612731=u|g|444|0|0|\r\n"
            "RD2 325452563=old|old|777|1|0|\r\n");
}

TEST_F(PermissionFileTest, WritesEntriesInBucketOrderAsTheReloadsLeaveThem) {
  for (const char* name : {"a.r00", "a.r01", "a.r02", "a.r03", "a.sfv", "a.nfo"})
    file_.SetEntry(Path(name), "u", "g", "554", 0, 0);
  // Buckets: a.r01 6; a.r03 and a.nfo 10; a.sfv 11; a.r00 and a.r02 14.
  // Every SetEntry reloads the file, and each loaded line heads its bucket:
  // entries sharing a bucket swap places with every rewrite.
  EXPECT_EQ(support::ReadFile(Acl()),
            "RD2 2342912354=u|g|554|0|0|\r\n"
            "RD2 1624506834=u|g|554|0|0|\r\n"
            "RD2 3892380004=u|g|554|0|0|\r\n"
            "RD2 2183725534=u|g|554|0|0|\r\n"
            "RD2 1383137633=u|g|554|0|0|\r\n"
            "RD2 836108643=u|g|554|0|0|\r\n");
}

TEST_F(PermissionFileTest, ReplacingChangesTheRecordWhereTheReloadPutIt) {
  file_.SetEntry(Path("a.r00"), "u", "g", "554", 0, 0);
  file_.SetEntry(Path("a.r02"), "u", "g", "554", 0, 0);  // heads bucket 14
  file_.SetEntry(Path("A.R00"), "lock", "grp", "555", 1, 0);
  EXPECT_EQ(support::ReadFile(Acl()),
            "RD2 1383137633=lock|grp|555|1|0|\r\n"
            "RD2 836108643=u|g|554|0|0|\r\n");
}

TEST_F(PermissionFileTest, GetEntryReadsTheFieldsBack) {
  support::WriteFile(Acl(), "RD2 2238185766=bob|users|554|-3|7|\r\nRD2 325452563=x|y|000|1|\r\n");
  ASSERT_TRUE(file_.AutoChoosePermFile(folder_.path()));
  EXPECT_EQ(file_.statusText(), "[permission] permission file loaded");

  const std::optional<PermEntry> abc = file_.GetEntry(Path("ABC"));
  ASSERT_TRUE(abc.has_value());
  EXPECT_EQ(abc->owner, "bob");
  EXPECT_EQ(abc->group, "users");
  EXPECT_EQ(abc->mode, "554");
  EXPECT_EQ(abc->complete, -3);
  EXPECT_EQ(abc->free, 7);
  // An empty free field counts 0.
  EXPECT_EQ(file_.GetEntry(Path("file.rar"))->free, 0);
  EXPECT_FALSE(file_.GetEntry(Path("missing")).has_value());
  EXPECT_TRUE(file_.GetEntryForName("FILE.RAR"));
  EXPECT_FALSE(file_.GetEntryForName("missing"));
}

TEST_F(PermissionFileTest, ThePermissionFileItselfIsAlwaysRootsAndComplete) {
  // An entry stored under the file's own key is not consulted.
  support::WriteFile(Acl(), "RD2 970458541=bob|users|777|0|1|\r\n");
  file_.AutoChoosePermFile(folder_.path());
  const std::optional<PermEntry> own = file_.GetEntry(Path(".RAIDENFTPD.ACL"));
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(own->owner, "root");
  EXPECT_EQ(own->group, "root");
  EXPECT_EQ(own->mode, "000");
  EXPECT_EQ(own->complete, 1);
  EXPECT_EQ(own->free, 0);
  EXPECT_TRUE(file_.GetEntryForName(".Raidenftpd.Acl"));
}

TEST_F(PermissionFileTest, KeysWithTheTopBitReadBackExactly) {
  file_.SetEntry(Path("abc"), "root", "root", "755", 1, 0);
  PermissionFile reloaded(platform::SystemFileSystem());
  ASSERT_TRUE(reloaded.AutoChoosePermFile(folder_.path()));
  ASSERT_TRUE(reloaded.GetEntry(Path("abc")).has_value());
  EXPECT_EQ(reloaded.GetEntry(Path("abc"))->owner, "root");
}

TEST_F(PermissionFileTest, LongLinesAreReadInPiecesOf511) {
  // The first read stops after 511 characters; the rest of the physical line
  // is read as a line of its own and here happens to be a valid one.
  const std::string head = "RD2 5=" + std::string(505, 'x');
  support::WriteFile(Acl(), head + "RD2 7=t|t|1|0|0|\r\n");
  file_.SetEntry(Path("a.r01"), "u", "g", "554", 0, 0);
  // Keys 5 and 7 share bucket 0, so loading turns their order round.
  EXPECT_EQ(support::ReadFile(Acl()),
            "RD2 7=t|t|1|0|0|\r\n" + head + "\r\nRD2 2342912354=u|g|554|0|0|\r\n");
}

TEST_F(PermissionFileTest, TrailingSeparatorChoosesTheSameFile) {
  file_.AutoChoosePermFile(folder_.path());
  const std::string withoutSeparator = file_.permFilePath();
  file_.AutoChoosePermFile(folder_.path() + "/");
  EXPECT_EQ(file_.permFilePath(), withoutSeparator);
  EXPECT_EQ(withoutSeparator, Acl());
}

TEST_F(PermissionFileTest, NoFileMeansNoEntries) {
  EXPECT_FALSE(file_.AutoChoosePermFile(folder_.path()));
  EXPECT_EQ(file_.statusText(), "no error");
  EXPECT_FALSE(file_.GetEntry(Path("abc")).has_value());
  EXPECT_FALSE(support::Exists(Acl()));
}

TEST_F(PermissionFileTest, TooLongFoldersAreRefusedAndNothingIsWritten) {
  file_.AutoChoosePermFile(folder_.path());
  const std::string chosen = file_.permFilePath();

  const std::string tooLong = folder_.path() + "/" + std::string(500, 'd');
  EXPECT_FALSE(file_.AutoChoosePermFile(tooLong.substr(0, PermissionFile::kMaxDirectoryLength)));
  EXPECT_EQ(file_.statusText(), "Source path too long (AutoChoosePermFile)");
  EXPECT_EQ(file_.permFilePath(), chosen);

  // Had SetEntry gone on, it would have saved to the file chosen before.
  file_.SetEntry(tooLong.substr(0, PermissionFile::kMaxDirectoryLength) + "/x", "u", "g", "554", 0,
                 0);
  EXPECT_FALSE(support::Exists(Acl()));
}

TEST_F(PermissionFileTest, GarbledFilesLoadWithoutHarm) {
  const char kNuls[] = "RD2 1\0=a|\0|b|\r\n";
  std::string garbage(kNuls, sizeof kNuls - 1);
  garbage += "RD2 " + std::string(300, '9') + "=huge|key|000|1|0|\r\n";
  garbage += "RD2 12=" + std::string(70000, '|') + "\r\n";
  garbage += "\r\r\n\x1a\xff\xfeRD2 13=x\r";
  support::WriteFile(Acl(), garbage);
  file_.SetEntry(Path("abc"), "root", "root", "755", 1, 0);
  // Whatever was read, every line written is one well-formed entry.
  const std::string written = support::ReadFile(Acl());
  std::size_t lines = 0;
  for (std::size_t at = 0; at < written.size(); ++lines) {
    const std::size_t end = written.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    const std::string line = written.substr(at, end - at);
    EXPECT_EQ(line.rfind("RD2 ", 0), 0u) << line;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    at = end + 2;
  }
  EXPECT_GE(lines, 2u);
  EXPECT_NE(written.find("RD2 4294967295=huge|key|000|1|0|\r\n"), std::string::npos);
  EXPECT_NE(written.find("RD2 2238185766=root|root|755|1|0|\r\n"), std::string::npos);
}

TEST_F(PermissionFileTest, NamesDifferingOnlyInCaseShareAnEntry) {
  file_.SetEntry(Path("ABC.RAR"), "u", "g", "554", 0, 0);
  file_.SetEntry(Path("abc.rar"), "v", "h", "555", 1, 0);
  EXPECT_EQ(support::ReadFile(Acl()).find("u|g"), std::string::npos);
  EXPECT_EQ(file_.GetEntry(Path("Abc.Rar"))->owner, "v");
}

}  // namespace
}  // namespace permlet
