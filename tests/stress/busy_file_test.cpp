// A file that is still being uploaded while a run checks the release: another
// process holds it open for writing. The run must neither judge it by the
// bytes that have arrived so far nor move or delete it.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "tests/e2e/site.h"

namespace stress {
namespace {

// How a run comes to judge the file that is still arriving.
enum class Judged {
  kRead,           // another upload's run reads it for its CRC
  kOnServersWord,  // its own run takes the server's CRC (DISABLE_INT_CRC)
  kZipTest,        // an archive of a zip set, tested
};

class BusyFile : public ::testing::TestWithParam<Judged> {};

// Bad files are deleted: the handling that would lose the upload.
TEST_P(BusyFile, IsNeitherJudgedNorMovedNorDeleted) {
  if (e2e::UnderWine()) GTEST_SKIP() << "the writer is a native process";
  const Judged judged = GetParam();
  const bool zip = judged == Judged::kZipTest;
  e2e::Site site(
      {"HANDLE_BAD_FILES=2", "SHOW_IND_STATUS_IN_MSG=1", "BADMSG=[%g of %t, %b bad] incomplete",
       std::string("DISABLE_INT_CRC=") + (judged == Judged::kOnServersWord ? "True" : "False")});
  const std::string busy = site.InRelease(zip ? "a.zip" : "big.r00");
  const std::string whole = std::string(200000, 'u') + "the end";
  if (zip) {
    support::WriteFile(site.InRelease("file_id.diz"), "Set [01/02]\r\n");
  } else {
    support::WriteFile(site.InRelease("rel.sfv"),
                       support::SfvText({{"big.r00", whole}, {"small.r01", "small"}}));
    support::WriteFile(site.InRelease("small.r01"), "small");
  }
  // A second process appends what it is given and keeps the file open until
  // it is closed, as the server does while receiving an upload.
  support::WriteFile(busy, "");
  std::unique_ptr<FILE, int (*)(FILE*)> writer(popen(("exec cat >> '" + busy + "'").c_str(), "w"),
                                               pclose);
  ASSERT_NE(writer, nullptr);
  auto write = [&](const std::string& bytes) {
    const std::size_t size = support::ReadFile(busy).size() + bytes.size();
    std::fwrite(bytes.data(), 1, bytes.size(), writer.get());
    std::fflush(writer.get());
    ASSERT_TRUE(support::WaitUntil([&] { return support::ReadFile(busy).size() >= size; }));
  };
  write(whole.substr(0, 100000));

  const std::string judging = judged == Judged::kRead ? site.InRelease("small.r01") : busy;
  ASSERT_EQ(site.RunLine(e2e::UploadLine(judging)).exitStatus, 0);
  EXPECT_EQ(support::ReadFile(busy), whole.substr(0, 100000));
  for (const char* aside : {".bad", ".missing"})
    EXPECT_FALSE(support::Exists(busy + aside)) << aside;
  EXPECT_TRUE(support::Exists(
      site.InRelease(zip ? "[0 of 2, 0 bad] incomplete" : "[1 of 2, 0 bad] incomplete")))
      << testing::PrintToString(site.Tree());
  if (zip) return;
  const std::string message = support::ReadFile(site.InRelease(".message"));
  EXPECT_NE(message.find("IO ERROR: big.r00\r\n"), std::string::npos) << message;

  // The upload ends; its own run finds the file whole.
  write(whole.substr(100000));
  writer.reset();
  ASSERT_EQ(site.RunLine(e2e::UploadLine(busy)).exitStatus, 0);
  EXPECT_TRUE(support::Exists(site.InRelease("[2 files] complete")));
}

INSTANTIATE_TEST_SUITE_P(WaysOfJudging, BusyFile,
                         ::testing::Values(Judged::kRead, Judged::kOnServersWord,
                                           Judged::kZipTest));

}  // namespace
}  // namespace stress
