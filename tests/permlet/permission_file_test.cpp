#include "permlet/aclfile/permission_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "permlet/aclfile/name_key.h"
#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace permlet {
namespace {

using Saving = PermissionFile::Saving;

std::string Fields(const PermEntry& entry) {
  return entry.owner + "|" + entry.group + "|" + entry.mode + "|" + std::to_string(entry.complete) +
         "|" + std::to_string(entry.free);
}

// The keys of plain names show in every file these tests expect; these are
// the bytes those files leave out.
TEST(NameKeyTest, MatchesTheServersKeys) {
  EXPECT_EQ(NameKey(""), 1u);
  EXPECT_EQ(NameSum16("a\xFF"), 0x0060);  // bytes add as signed
  // Only A to Z are lowered: bytes above 127 keep their key.
  EXPECT_NE(NameKey("\xC4"), NameKey("\xE4"));
}

// The bytes after changes, from the bytes before (empty: no file), the same
// saving each change or keeping them for one save: each reload turns a
// bucket's chain round and drops or cuts what lies outside the format.
TEST(SavedBytesTest, EachChangeAndKeptChangesLeaveTheseBytes) {
  struct Case {
    std::string before;
    std::vector<std::pair<const char*, const char*>> changes;  // name, owner
    std::string after;
  };
  const std::string head = "RD2 5=" + std::string(505, 'x');
  const Case cases[] = {
      {"; written by hand\r\n"
       "rd2 2238185766=bob|users|554|0|0|\r\n"  // prefix in any case
       "RD2 325452563=old|old|777|1|0|\n"       // a bare LF ends a line too
       "RD2 325452563=dupe|dupe|000|0|0|\r\n"   // the first of a key wins
       "RD2 42=\r\n"                            // empty records are not written
       "RD2 no equals sign\r\n"
       "RD2 77=a|b|c|1|0|=cut here\r\n"        // a record ends at the next "="
       "RD2 99999999999=big|key|000|1|0|\r\n"  // the key saturates
       "RD2\r\n",
       {{"new.nfo", "u"}},
       // Table order: bucket 2 (abc), 4 (77), 13 (new.nfo before file.rar:
       // the newest entry heads its bucket).
       "RD2 2238185766=bob|users|554|0|0|\r\n"
       "RD2 77=a|b|c|1|0|\r\n"
       "RD2 3005612731=u|g|554|0|0|\r\n"
       "RD2 325452563=old|old|777|1|0|\r\n"
       "RD2 4294967295=big|key|000|1|0|\r\n"},
      // a.r00 and a.r02 share bucket 14: the replaced record stays where the
      // reload put it.
      {"",
       {{"a.r00", "u"}, {"a.r02", "u"}, {"A.R00", "lock"}},
       "RD2 1383137633=lock|g|554|0|0|\r\nRD2 836108643=u|g|554|0|0|\r\n"},
      // The first read stops after 511 characters; the rest of the line is a
      // line of its own, here a valid one (keys 5 and 7 share bucket 0).
      {head + "RD2 7=t|t|1|0|0|\r\n",
       {{"a.r01", "u"}},
       "RD2 7=t|t|1|0|0|\r\n" + head + "\r\nRD2 2342912354=u|g|554|0|0|\r\n"},
      // abc's record is empty: the first save drops it, so abc comes back new.
      {"RD2 2628387177=keep|keep|555|1|0|\r\nRD2 2238185766=\r\n",
       {{"x", "u"}, {"abc", "u"}},
       "RD2 2238185766=u|g|554|0|0|\r\nRD2 2628387177=keep|keep|555|1|0|\r\n"
       "RD2 3310157944=u|g|554|0|0|\r\n"},
      // Written with its key in full, the line outgrows one read: cut on reload.
      {"RD2 =" + std::string(506, 'x') + "\r\n",
       {{"x", "u"}, {"y", "u"}, {"z", "u"}},
       "RD2 0=" + std::string(505, 'x') +
           "\r\nRD2 3310157944=u|g|554|0|0|\r\nRD2 479854713=u|g|554|0|0|\r\n"
           "RD2 2800353402=u|g|554|0|0|\r\n"},
  };
  for (const Case& c : cases) {
    for (const Saving saving : {Saving::kEachChange, Saving::kKept}) {
      support::TempFolder folder;
      if (!c.before.empty()) support::WriteFile(folder / ".raidenftpd.acl", c.before);
      support::FaultyFileSystem files;
      PermissionFile file(files, saving);
      for (const auto& [name, owner] : c.changes)
        EXPECT_EQ(file.SetEntry(folder / name, owner, "g", "554", 0, 0), 0);
      if (saving == Saving::kKept) {
        EXPECT_EQ(files.AtomicWrites(), 0) << "nothing is written before the save";
        EXPECT_EQ(file.SaveKeptChanges(), 0);
      }
      EXPECT_EQ(support::ReadFile(folder / ".raidenftpd.acl"), c.after) << c.before;
      EXPECT_EQ(files.AtomicWrites(),
                saving == Saving::kKept ? 1 : static_cast<int>(c.changes.size()));
    }
  }
}

// A write that fails leaves the old file whole and reports its number; only
// a refused replace, where the new content was written whole beside, falls
// back to writing in place.
TEST(FailedSaveTest, OnlyARefusedReplaceIsWrittenInPlace) {
  const std::string old = "RD2 2238185766=bob|users|554|0|0|\r\n";
  for (const bool diskFull : {true, false}) {
    for (const Saving saving : {Saving::kEachChange, Saving::kKept}) {
      support::TempFolder folder;
      support::WriteFile(folder / ".raidenftpd.acl", old);
      support::FaultyFileSystem files;
      diskFull ? files.FillDisk(".raidenftpd.acl") : files.FailRenames(".raidenftpd.acl");
      PermissionFile file(files, saving);
      int result = file.SetEntry(folder / "file.rar", "u", "g", "554", 0, 0);
      if (saving == Saving::kKept) result = file.SaveKeptChanges();
      EXPECT_EQ(result, diskFull ? platform::kDiskFull : 0);
      EXPECT_EQ(files.WholeWrites(), diskFull ? 0 : 1);
      EXPECT_EQ(support::ReadFile(folder / ".raidenftpd.acl") == old, diskFull);
    }
  }
}

// A record is written only when it reads back as given: separators, line
// ends or a NUL in a field, or a record past the format's length, would
// corrupt the server's file or plant lines in it.
TEST(FieldGuardTest, FieldsThatWouldNotReadBackAreRefused) {
  struct Case {
    std::string owner, group;
    bool written;
  };
  const std::string longest(31, 'n');
  const Case cases[] = {
      {"b|ob", "g", false},
      {"bob", "g\nRD2 970458541=root|root|777|1|0|", false},
      {std::string("b\0b", 3), "g", false},
      {std::string(120, 'o'), "g", false},
      {longest, longest, true},
  };
  for (const Case& c : cases) {
    support::TempFolder folder;
    PermissionFile file(platform::SystemFileSystem());
    EXPECT_EQ(file.SetEntry(folder / "abc", c.owner, c.group, "554", 1, 0),
              c.written ? 0 : platform::kInvalidArgument)
        << c.owner;
    PermissionFile reloaded(platform::SystemFileSystem());
    reloaded.AutoChoosePermFile(folder.path());
    const std::optional<PermEntry> entry = reloaded.GetEntry(folder / "abc");
    ASSERT_EQ(entry.has_value(), c.written) << c.owner;
    if (entry) EXPECT_EQ(Fields(*entry), c.owner + "|" + c.group + "|554|1|0");
  }
}

TEST(PermissionFile, GetEntryReadsTheFieldsBackOfTheChosenFile) {
  support::TempFolder folder;
  const std::string acl = folder / ".raidenftpd.acl";
  PermissionFile file(platform::SystemFileSystem());
  EXPECT_FALSE(file.AutoChoosePermFile(folder.path()));
  support::WriteFile(acl,
                     "RD2 2238185766=bob|users|554|-3|7|\r\nRD2 325452563=x|y|000|1|\r\n"
                     "RD2 970458541=bob|users|777|0|1|\r\n");
  ASSERT_TRUE(file.AutoChoosePermFile(folder.path() + "/"));
  EXPECT_EQ(file.permFilePath(), acl);
  EXPECT_EQ(Fields(file.GetEntry(folder / "ABC").value()), "bob|users|554|-3|7");
  EXPECT_EQ(Fields(file.GetEntry(folder / "file.rar").value()), "x|y|000|1|0");
  EXPECT_TRUE(file.GetEntryForName("FILE.RAR"));
  // The permission file itself is root's and complete, whatever its key holds.
  EXPECT_EQ(Fields(file.GetEntry(folder / ".RAIDENFTPD.ACL").value()), "root|root|000|1|0");
  EXPECT_TRUE(file.GetEntryForName(".Raidenftpd.Acl"));

  // A folder too long is refused, and a change there goes nowhere.
  const std::string before = support::ReadFile(acl);
  const std::string tooLong =
      (folder.path() + "/" + std::string(500, 'd')).substr(0, PermissionFile::kMaxDirectoryLength);
  EXPECT_FALSE(file.AutoChoosePermFile(tooLong));
  EXPECT_EQ(file.statusText(), "Source path too long (AutoChoosePermFile)");
  file.SetEntry(tooLong + "/x", "u", "g", "554", 0, 0);
  EXPECT_EQ(support::ReadFile(acl), before);
}

}  // namespace
}  // namespace permlet
