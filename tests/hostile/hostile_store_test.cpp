// Crafted status stores. The store is a plain file in the release that any
// uploader could plant: the names it holds must never lead the checker or
// the clean-up tool to anything but the release's own entries.
#include "tests/hostile/hostile_site.h"

namespace hostile {
namespace {

const e2e::FileList kFiles = {{"rel.r00", "first"}, {"rel.r01", "second"}};

// A store with `header` and `entry` as the names of the release's progress
// header and parent entry.
std::string StoreNaming(const std::string& header, const std::string& entry) {
  return "00\r\nmallory\r\n" + header + "\r\n" + entry +
         "\r\n1\r\n1\r\nFalse\r\nno_id3_year\r\nno_id3_genre\r\n1|mallory|grp|1|1|1\r\n";
}

class HostileStore : public HostileSite {
 protected:
  void SetUp() override {
    if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
    // Parent entries go to a folder inside the release; the old entry is
    // still looked for in the section, beside the release.
    MakeSite();
    AddSettings({"MK_PARENT=1", "PARENT_PATH_OVERRIDE_I=" + site().Release() + "/entries",
                 "PARENT_PATH_OVERRIDE_C=" + site().Release() + "/entries"});
    support::MakeFolder(site().InRelease("entries"));
    support::WriteFile(site().InRelease("rel.sfv"), support::SfvText(kFiles));
  }

  // Plants `store`, then runs the checker for an upload and the clean-up
  // tool on the store: both end normally (or with the error log), and
  // nothing outside the release changes.
  void Attack(const std::string& store) {
    support::WriteFile(site().InRelease(".sfvStatus"), store);
    Freeze();
    const int checker = site().Upload("rel.r00", "first").exitStatus;
    EXPECT_TRUE(checker == 0 || checker == 1) << checker;
    support::WriteFile(site().InRelease(".sfvStatus"), store);
    EXPECT_EQ(cleanupPrograms.Run(site().InRelease(".sfvStatus"), "skarrow").exitStatus, 0);
    ExpectOutsideUntouched();
  }

  // The clean-up tool without override folders looks for the store's names
  // beside the release and one folder further up.
  e2e::ProgramFolder cleanupPrograms{std::vector<std::string>{}};
};

// Names that lead out, and plain names of things that are not the release's
// entries (the release itself, a neighbouring release, the section), each
// holding files.
TEST_F(HostileStore, NamesOfOtherThingsAreIgnored) {
  for (const auto& [header, entry] : std::vector<std::pair<std::string, std::string>>{
           {"../Victim", "../Victim"},
           {"...", "..\\.."},
           {site().Section() + "/Victim", "/"},
           {"Rel", "Rel"},
           {"Victim", "Victim"},
       }) {
    SCOPED_TRACE(header + " | " + entry);
    Attack(StoreNaming(header, entry));
    EXPECT_TRUE(support::Exists(site().InRelease("rel.sfv")));
  }
}

}  // namespace
}  // namespace hostile
