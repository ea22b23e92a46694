// A file that is still being uploaded while a run checks the release: another
// process holds it open for writing. The run must neither judge it by the
// bytes that have arrived so far nor move or delete it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "tests/e2e/site.h"

namespace stress {
namespace {

// A second process that appends what it is given to a file and keeps the
// file open until it is closed, as the server does while receiving an upload.
class Writer {
 public:
  explicit Writer(const std::string& path) : path_(path) {
    pipe_ = popen(("exec cat >> '" + path + "'").c_str(), "w");
    if (pipe_ == nullptr) throw std::runtime_error("cannot start a writer");
  }
  ~Writer() { Close(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Sends bytes and waits until they are in the file: the writer then holds
  // it open.
  void Write(const std::string& bytes) {
    const std::size_t before = support::ReadFile(path_).size();
    std::fwrite(bytes.data(), 1, bytes.size(), pipe_);
    std::fflush(pipe_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (support::ReadFile(path_).size() < before + bytes.size()) {
      if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("writer stalled");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  void Close() {
    if (pipe_ != nullptr) pclose(pipe_);
    pipe_ = nullptr;
  }

 private:
  std::string path_;
  FILE* pipe_ = nullptr;
};

// How a run comes to judge the file that is still arriving.
enum class Judged {
  kRead,           // another upload's run reads it for its CRC
  kOnServersWord,  // its own run takes the server's CRC (DISABLE_INT_CRC)
  kZipTest,        // an archive of a zip set, tested
};

class BusyFile : public ::testing::TestWithParam<std::tuple<Judged, int>> {};

TEST_P(BusyFile, IsNeitherJudgedNorMovedNorDeleted) {
  if (e2e::UnderWine()) GTEST_SKIP() << "the writer is a native process";
  const auto [judged, handling] = GetParam();
  const bool zip = judged == Judged::kZipTest;
  e2e::Site site(
      {"HANDLE_BAD_FILES=" + std::to_string(handling), "SHOW_IND_STATUS_IN_MSG=1",
       "BADMSG=[%g of %t, %b bad] incomplete",
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
  support::WriteFile(busy, "");
  Writer writer(busy);
  writer.Write(whole.substr(0, 100000));

  // A run of the release while the file is still arriving.
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
  writer.Write(whole.substr(100000));
  writer.Close();
  ASSERT_EQ(site.RunLine(e2e::UploadLine(busy)).exitStatus, 0);
  EXPECT_TRUE(support::Exists(site.InRelease("[2 files] complete")));
}

std::string CaseName(const ::testing::TestParamInfo<BusyFile::ParamType>& info) {
  static const char* const kWays[] = {"Read", "OnServersWord", "ZipTest"};
  return std::string(kWays[static_cast<int>(std::get<0>(info.param))]) + "_HandleBadFiles" +
         std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(WaysOfJudging, BusyFile,
                         ::testing::Combine(::testing::Values(Judged::kRead, Judged::kOnServersWord,
                                                              Judged::kZipTest),
                                            ::testing::Values(0, 1, 2)),
                         CaseName);

}  // namespace
}  // namespace stress
