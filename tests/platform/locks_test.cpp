#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace support;

namespace {
FileSystem& files = SystemFileSystem();
}  // namespace

namespace {

// Runs critical sections in several threads; `enter` takes a lock object of
// the thread's own and returns a holder that lets go when destroyed. Returns
// the most threads ever seen inside at once.
template <typename Enter>
int MostInsideAtOnce(Enter enter) {
  std::atomic<int> inside{0}, most{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < 50; ++round) {
        auto held = enter();
        int now = ++inside;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::yield();
        --inside;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return most;
}

}  // namespace

TEST(NamedLockTest, SeparateObjectsExcludeEachOther) {
  int most = MostInsideAtOnce([] {
    // Odd characters on purpose: lock names need not be file names.
    auto lock = std::make_unique<NamedLock>("platform test/lock:*");
    lock->Lock();
    return std::shared_ptr<NamedLock>(lock.release(), [](NamedLock* held) {
      held->Unlock();
      delete held;
    });
  });
  EXPECT_EQ(1, most);
}

// Where only the site's accounts reach it, with the modes the operator's
// umask gives every new file.
TEST(NamedLockTest, IsAFileBesideTheProgramMadeUnderTheUmask) {
  const fs::path file = fs::path(ProgramFolder()) / "corvane-lock-where%3F";
  fs::remove(file);
  NamedLock lock("where?");
  TempFolder temp;
  std::ofstream(temp / "new file").put('x');
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::status(file).permissions(), fs::status(temp / "new file").permissions());
}

TEST(FolderLockTest, SerialisesThreads) {
  TempFolder temp;
  int most = MostInsideAtOnce([&] { return std::make_unique<FolderLock>(temp.path()); });
  EXPECT_EQ(1, most);
}

TEST(FolderLockTest, MissingFolderThrows) {
  TempFolder temp;
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { FolderLock lock(temp / "none"); }));
}
