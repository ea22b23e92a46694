// The unzip32 library's single-call entry as a caller sees it, and the
// checker's binding to it: result codes, the records it fills and the
// callbacks it makes.
#include <gtest/gtest.h>

#include <vector>

#include "checker/unzip/vb_unz_bas.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

const std::vector<Entry> kTwoMembers = {
    {.name = "file_id.diz", .content = "[01/01]", .method = 0},
    {.name = "sub/data.txt", .content = std::string(5000, 'd')}};

TEST(Unzip32, BindingGetsZeroForASoundArchiveOnly) {
  const Archive sound = BuildZip(kTwoMembers);
  std::string damaged = sound.bytes;
  damaged[sound.dataOffsets[1] + 5] ^= 0x20;
  const struct {
    const char* what;
    std::string bytes;
    int result;
  } rows[] = {
      {"sound", sound.bytes, PK_OK},
      {"damaged", damaged, PK_ERR},
      {"encrypted", BuildZip({{.name = "x", .content = "y", .flags = 1}}).bytes, IZ_UNSUP},
      {"no archive", "not an archive at all, just some text", PK_NOZIP},
      {"no members", BuildZip({}).bytes, PK_WARN},  // no sound release archive
  };
  support::TempFolder folder;
  for (const auto& row : rows) {
    support::WriteFile(folder / "test.zip", row.bytes);
    EXPECT_EQ(TestArchive(folder / "test.zip"), row.result) << row.what;
  }
  EXPECT_EQ(TestArchive(folder / "absent.zip"), PK_NOZIP);
}

// What the library told the callbacks of the last call.
struct Calls {
  std::vector<std::string> serviced;
  std::vector<std::uint32_t> sizes;
  std::vector<std::string> listed;
  int serviceAnswer = 0;
};
Calls calls;

int UZ_CALLBACK Service(const char* name, std::uint32_t size) {
  calls.serviced.push_back(name);
  calls.sizes.push_back(size);
  return calls.serviceAnswer;
}
void UZ_CALLBACK Message(std::uint32_t, std::uint32_t, unsigned, unsigned, unsigned, unsigned,
                         unsigned, unsigned, char, const char* name, const char*, std::uint32_t,
                         char) {
  calls.listed.push_back(name);
}

class Entry32 : public ::testing::Test {
 protected:
  int Call(const std::vector<Entry>& entries, int serviceAnswer = 0) {
    support::WriteFile(folder_ / "test.zip", BuildZip(entries).bytes);
    calls = Calls();
    calls.serviceAnswer = serviceAnswer;
    path_ = folder_ / "test.zip";
    options_.ntflag = 1;
    options_.nvflag = 1;
    options_.lpszZipFN = path_.c_str();
    functions_ = {};
    functions_.SendApplicationMessage = &Message;
    functions_.ServCallBk = &Service;
    return Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options_, &functions_);
  }

  support::TempFolder folder_;
  std::string path_;
  DCL options_{};
  USERFUNCTIONS functions_{};
};

TEST_F(Entry32, ReportsEveryMemberThroughTheCallbacksItIsGiven) {
  EXPECT_EQ(Call(kTwoMembers), PK_OK);
  EXPECT_EQ(calls.serviced, (std::vector<std::string>{"file_id.diz", "sub/data.txt"}));
  EXPECT_EQ(calls.sizes, (std::vector<std::uint32_t>{7, 5000}));
  EXPECT_EQ(calls.listed, calls.serviced);
  EXPECT_EQ(functions_.TotalSize, 5007u);
  // Requests it does not serve.
  char name[] = "file_id.diz";
  char* names[] = {name, nullptr};
  EXPECT_EQ(Wiz_SingleEntryUnzip(1, names, 0, nullptr, &options_, &functions_), PK_PARAM);
  EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, nullptr, &functions_), PK_PARAM);
  // The service callback stops the test; a failing member does not.
  EXPECT_EQ(Call(kTwoMembers, 1), IZ_CTRLC);
  EXPECT_EQ(calls.serviced.size(), 1u);
  std::vector<Entry> entries = kTwoMembers;
  entries.insert(entries.begin(), {.name = "odd", .content = "x", .method = 6});
  EXPECT_EQ(Call(entries), IZ_UNSUP);
  EXPECT_EQ(calls.serviced.size(), 3u);
}

}  // namespace
}  // namespace ziptest
