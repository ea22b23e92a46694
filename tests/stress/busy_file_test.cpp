// A file that is still being uploaded while a run checks the release: another
// process holds it open for writing. The run must neither judge it by the
// bytes that have arrived so far nor move or delete it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

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

class BusyFile : public ::testing::TestWithParam<int> {};

TEST_P(BusyFile, IsReportedUnreadableAndLeftAlone) {
  if (e2e::UnderWine()) GTEST_SKIP() << "the writer is a native process";
  e2e::Site site({"HANDLE_BAD_FILES=" + std::to_string(GetParam()), "SHOW_IND_STATUS_IN_MSG=1"});
  const std::string whole = std::string(200000, 'u') + "the end";
  support::WriteFile(site.InRelease("rel.sfv"),
                     support::SfvText({{"big.r00", whole}, {"small.r01", "small"}}));
  support::WriteFile(site.InRelease("big.r00"), "");
  Writer writer(site.InRelease("big.r00"));
  writer.Write(whole.substr(0, 100000));

  // Another upload of the release ends while big.r00 is still arriving.
  ASSERT_EQ(site.Upload("small.r01", "small").exitStatus, 0);
  EXPECT_EQ(support::ReadFile(site.InRelease("big.r00")), whole.substr(0, 100000));
  for (const char* aside : {"big.r00.bad", "big.r00.missing"})
    EXPECT_FALSE(support::Exists(site.InRelease(aside))) << aside;
  const std::string message = support::ReadFile(site.InRelease(".message"));
  EXPECT_NE(message.find("IO ERROR: big.r00\r\n"), std::string::npos) << message;
  EXPECT_TRUE(support::Exists(site.InRelease("[1 of 2] incomplete")));

  // The upload ends; its own run finds the file whole.
  writer.Write(whole.substr(100000));
  writer.Close();
  ASSERT_EQ(site.RunLine(e2e::UploadLine(site.InRelease("big.r00"))).exitStatus, 0);
  EXPECT_TRUE(support::Exists(site.InRelease("[2 files] complete")));
}

INSTANTIATE_TEST_SUITE_P(HandleBadFiles, BusyFile, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace stress
