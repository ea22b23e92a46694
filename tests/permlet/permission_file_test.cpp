#include "permlet/aclfile/permission_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace permlet {
namespace {

using Saving = PermissionFile::Saving;

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

// Keeping the changes for one save leaves the bytes that saving each change
// leaves, whatever the file held before: each reload turns the chains round,
// and drops or cuts what the file held outside the format.
TEST(KeptChangesTest, OneSaveLeavesTheBytesOfSavingEachChange) {
  struct Change {
    const char* name;
    const char* owner;
    int complete;
  };
  struct Case {
    std::string before;  // empty: no permission file
    std::vector<Change> changes;
  };
  const std::vector<Change> sharedBuckets = {{"a.r00", "u", 0}, {"a.r01", "u", 0},
                                             {"a.r02", "u", 0}, {"a.r03", "u", 0},
                                             {"a.sfv", "u", 0}, {"a.nfo", "u", 1}};
  const Case cases[] = {
      {"", sharedBuckets},
      {"", {{"a.r00", "u", 0}, {"a.r02", "u", 0}, {"A.R00", "lock", 1}, {"a.r02", "v", 1}}},
      {"; by hand\r\nrd2 2238185766=bob|users|554|0|0|\r\nRD2 325452563=old|old|777|1|0|\n"
       "RD2 325452563=dupe|dupe|000|0|0|\r\nRD2 42=\r\nRD2 no equals sign\r\n"
       "RD2 77=a|b|c|1|0|=cut\r\n",
       sharedBuckets},
      // abc's record is empty: the first save drops it, so abc comes back new.
      {"RD2 2628387177=keep|keep|555|1|0|\r\nRD2 2238185766=\r\n",
       {{"x", "u", 0}, {"abc", "u", 0}}},
      // Written with its key in full, the line outgrows one read: cut on reload.
      {"RD2 =" + std::string(506, 'x') + "\r\n", {{"x", "u", 0}, {"y", "u", 0}, {"z", "u", 0}}},
  };
  for (const Case& c : cases) {
    support::TempFolder each, kept;
    for (const support::TempFolder* folder : {&each, &kept}) {
      if (!c.before.empty()) support::WriteFile(*folder / ".raidenftpd.acl", c.before);
    }
    support::FaultyFileSystem eachFiles, keptFiles;
    PermissionFile eachFile(eachFiles, Saving::kEachChange);
    PermissionFile keptFile(keptFiles, Saving::kKept);
    for (const Change& change : c.changes) {
      EXPECT_EQ(eachFile.SetEntry(each / change.name, change.owner, "g", "554", change.complete, 0),
                0);
      EXPECT_EQ(keptFile.SetEntry(kept / change.name, change.owner, "g", "554", change.complete, 0),
                0);
    }
    EXPECT_EQ(keptFiles.AtomicWrites(), 0) << "nothing is written before the save";
    EXPECT_EQ(keptFile.SaveKeptChanges(), 0);
    EXPECT_EQ(support::ReadFile(kept / ".raidenftpd.acl"),
              support::ReadFile(each / ".raidenftpd.acl"))
        << c.before;
    EXPECT_EQ(eachFiles.AtomicWrites(), static_cast<int>(c.changes.size()));
    EXPECT_EQ(keptFiles.AtomicWrites(), 1);
  }
}

// A write that fails leaves the old file whole and reports its number; only
// a refused replace, where the new content was written whole beside, falls
// back to writing in place.
TEST(FailedSaveTest, OnlyARefusedReplaceIsWrittenInPlace) {
  struct Case {
    bool diskFull;  // else the replace is refused
    int result;
    int writesInPlace;
  };
  const Case cases[] = {
      {true, platform::kDiskFull, 0},
      {false, 0, 1},
  };
  const std::string old = "RD2 2238185766=bob|users|554|0|0|\r\n";
  for (const Case& c : cases) {
    for (const Saving saving : {Saving::kEachChange, Saving::kKept}) {
      support::TempFolder folder;
      support::WriteFile(folder / ".raidenftpd.acl", old);
      support::FaultyFileSystem files;
      if (c.diskFull) {
        files.FillDisk(".raidenftpd.acl");
      } else {
        files.FailRenames(".raidenftpd.acl");
      }
      PermissionFile file(files, saving);
      int result = file.SetEntry(folder / "file.rar", "u", "g", "554", 0, 0);
      if (saving == Saving::kKept) result = file.SaveKeptChanges();
      EXPECT_EQ(result, c.result);
      EXPECT_EQ(files.WholeWrites(), c.writesInPlace);
      EXPECT_EQ(support::ReadFile(folder / ".raidenftpd.acl") == old, c.result != 0);
    }
  }
}

// A record is written only when it reads back as given: separators, line
// ends or a NUL in a field, or a record past the format's length, would
// corrupt the server's file or plant lines in it. Such a change is refused.
TEST(FieldGuardTest, FieldsThatWouldNotReadBackAreRefused) {
  struct Case {
    std::string owner;
    std::string group;
    std::string mode;
    int result;
  };
  const std::string longest(31, 'n');
  const Case cases[] = {
      {"b|ob", "g", "554", platform::kInvalidArgument},
      {"bob", "g=1", "554", platform::kInvalidArgument},
      {"bob\r", "g", "554", platform::kInvalidArgument},
      {"bob", "g\nRD2 970458541=root|root|777|1|0|", "554", platform::kInvalidArgument},
      {std::string("b\0b", 3), "g", "554", platform::kInvalidArgument},
      {"bob", "g", "55|4", platform::kInvalidArgument},
      {std::string(120, 'o'), "g", "554", platform::kInvalidArgument},
      {longest, longest, "554", 0},
      {"", "", "", 0},
  };
  for (const Case& c : cases) {
    support::TempFolder folder;
    PermissionFile file(platform::SystemFileSystem());
    EXPECT_EQ(file.SetEntry(folder / "abc", c.owner, c.group, c.mode, 1, 0), c.result) << c.owner;
    PermissionFile reloaded(platform::SystemFileSystem());
    reloaded.AutoChoosePermFile(folder.path());
    const std::optional<PermEntry> entry = reloaded.GetEntry(folder / "abc");
    ASSERT_EQ(entry.has_value(), c.result == 0) << c.owner;
    if (entry) {
      EXPECT_EQ(entry->owner + "|" + entry->group + "|" + entry->mode,
                c.owner + "|" + c.group + "|" + c.mode);
    }
  }
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

}  // namespace
}  // namespace permlet
