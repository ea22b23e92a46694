// The unzip32 library's entry as a caller sees it, and the checker's binding
// to it: result codes, the records it fills, the callbacks it makes and the
// binding's answers.
#include <gtest/gtest.h>

#include <cstring>
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

class Unzip32 : public ::testing::Test {
 protected:
  std::string Put(const std::string& bytes) {
    std::string path = folder_ / "test.zip";
    support::WriteFile(path, bytes);
    return path;
  }

  support::TempFolder folder_;
};

// What the library told the callbacks of the last call.
struct Calls {
  std::vector<std::string> serviced;
  std::vector<std::uint32_t> sizes;
  std::vector<std::string> listed;
  std::string printed;
  int serviceAnswer = 0;
};
Calls* calls = nullptr;

int UZ_CALLBACK Print(char* text, std::uint32_t length) {
  calls->printed.append(text, length);
  return 0;
}
int UZ_CALLBACK Service(const char* name, std::uint32_t size) {
  calls->serviced.push_back(name);
  calls->sizes.push_back(size);
  return calls->serviceAnswer;
}
void UZ_CALLBACK Message(std::uint32_t, std::uint32_t, unsigned, unsigned, unsigned, unsigned,
                         unsigned, unsigned, char, const char* name, const char*, std::uint32_t,
                         char) {
  calls->listed.push_back(name);
}

class Entry32 : public Unzip32 {
 protected:
  int Call(const std::string& path, bool list = true) {
    calls = &calls_;
    DCL options{};
    options.ntflag = 1;
    options.nvflag = list ? 1 : 0;
    options.lpszZipFN = path.c_str();
    functions_ = {};
    functions_.print = &Print;
    functions_.ServCallBk = &Service;
    functions_.SendApplicationMessage = &Message;
    return Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions_);
  }

  Calls calls_;
  USERFUNCTIONS functions_{};
};

TEST_F(Unzip32, BindingGetsZeroForASoundArchiveOnly) {
  Archive sound = BuildZip(kTwoMembers);
  EXPECT_EQ(TestArchive(Put(sound.bytes)), 0);

  std::string damaged = sound.bytes;
  damaged[sound.dataOffsets[1] + 5] ^= 0x20;
  EXPECT_NE(TestArchive(Put(damaged)), 0);
  EXPECT_EQ(TestArchive(Put(BuildZip({{.name = "x", .content = "y", .flags = 1}}).bytes)),
            IZ_UNSUP);
  EXPECT_EQ(TestArchive(folder_ / "absent.zip"), PK_NOZIP);
  EXPECT_EQ(TestArchive(Put("not an archive at all, just some text")), PK_NOZIP);
  // An archive without members is no sound release archive.
  EXPECT_EQ(TestArchive(Put(BuildZip({}).bytes)), PK_WARN);
}

TEST_F(Unzip32, BindingPassesItsFlagsToTheLibrary) {
  std::string path = Put(BuildZip(kTwoMembers).bytes);
  VBUnzBas unzip;
  unzip.archiveName = path;
  unzip.RunUnzip();  // no test flag: a request this library does not serve
  EXPECT_EQ(unzip.resultCode(), PK_PARAM);
  unzip.optionFlags[VBUnzBas::kTestFlag] = 1;
  unzip.RunUnzip();
  EXPECT_EQ(unzip.resultCode(), PK_OK);
  unzip.RunUnzip();  // the flags keep their values between calls
  EXPECT_EQ(unzip.resultCode(), PK_OK);
}

TEST_F(Unzip32, BindingCallbacksGiveTheirFixedAnswers) {
  char buffer[] = "untouched";
  EXPECT_EQ(VBUnzBas::UnzipPassword(buffer, sizeof buffer, "Password:", "a.txt"), 1);
  EXPECT_EQ(VBUnzBas::UnzipPassword(nullptr, 0, nullptr, nullptr), 1);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(VBUnzBas::UnzipReplace(buffer), IDM_REPLACE_YES);
  EXPECT_EQ(VBUnzBas::UnzipPrint(nullptr, 0), 0);
  EXPECT_EQ(VBUnzBas::UnzipService(nullptr, 0), 0);
  VBUnzBas::UnzipMessage(0, 0, 0, 0, 0, 0, 0, 0, ' ', nullptr, nullptr, 0, ' ');
}

TEST_F(Entry32, ReportsEveryMemberThroughTheCallbacks) {
  EXPECT_EQ(Call(Put(BuildZip(kTwoMembers).bytes)), PK_OK);
  EXPECT_EQ(calls_.serviced, (std::vector<std::string>{"file_id.diz", "sub/data.txt"}));
  EXPECT_EQ(calls_.sizes, (std::vector<std::uint32_t>{7, 5000}));
  EXPECT_EQ(calls_.listed, calls_.serviced);
  EXPECT_NE(calls_.printed.find("No errors detected"), std::string::npos);
  EXPECT_EQ(functions_.NumMembers, 2u);
  EXPECT_EQ(functions_.TotalSize, 5007u);

  calls_ = {};
  EXPECT_EQ(Call(Put(BuildZip(kTwoMembers).bytes), false), PK_OK);
  EXPECT_TRUE(calls_.listed.empty());
}

TEST_F(Entry32, ServiceCallbackCanStopTheTest) {
  calls_.serviceAnswer = 1;
  EXPECT_EQ(Call(Put(BuildZip(kTwoMembers).bytes)), IZ_CTRLC);
  EXPECT_EQ(calls_.serviced.size(), 1u);
}

TEST_F(Entry32, TestsEveryMemberPastAFailingOne) {
  std::vector<Entry> entries = kTwoMembers;
  entries.insert(entries.begin(), {.name = "odd", .content = "x", .method = 6});
  EXPECT_EQ(Call(Put(BuildZip(entries).bytes)), IZ_UNSUP);
  EXPECT_EQ(calls_.serviced.size(), 3u);
}

TEST_F(Entry32, RefusesRequestsItDoesNotServe) {
  std::string path = Put(BuildZip(kTwoMembers).bytes);
  DCL options{};
  options.ntflag = 1;
  options.lpszZipFN = path.c_str();
  USERFUNCTIONS functions{};
  char name[] = "file_id.diz";
  char* names[] = {name, nullptr};
  EXPECT_EQ(Wiz_SingleEntryUnzip(1, names, 0, nullptr, &options, &functions), PK_PARAM);
  EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, nullptr, &functions), PK_PARAM);
  EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, nullptr), PK_PARAM);
  options.lpszZipFN = nullptr;
  EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions), PK_PARAM);
  // Callbacks left out are simply not called.
  options.lpszZipFN = path.c_str();
  EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions), PK_OK);
}

}  // namespace
}  // namespace ziptest
