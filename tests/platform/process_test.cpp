#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace support;

TEST(StartProcessTest, StartsInTheWorkingFolderWithoutWaitingOrReportsItCannot) {
  TempFolder temp;
  // The program waits for a file that appears only after StartProcess returned.
  const std::string script = ShellWaitFor("go") + "; pwd > where";
  ASSERT_TRUE(StartProcess("sh", {"-c", script}, temp.path()));
  EXPECT_FALSE(Exists(temp / "where"));
  WriteFile(temp / "go", "");
  ASSERT_TRUE(WaitUntil(
      [&] { return Exists(temp / "where") && ReadFile(temp / "where") == temp.path() + "\n"; }));
  EXPECT_FALSE(StartProcess("/no/such/program", {}, temp.path()));
  EXPECT_FALSE(StartProcess("sh", {"-c", "exit 0"}, temp / "no/folder"));
}

// A second lock of a folder, from another thread, waits for the first.
TEST(LockTest, FolderLockWaitsForTheHolder) {
  TempFolder temp;
  std::atomic<bool> entered{false};
  std::thread second;
  {
    FolderLock first(temp.path());
    second = std::thread([&] {
      FolderLock again(temp.path());
      entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(entered);
  }
  second.join();
  EXPECT_TRUE(entered);
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { FolderLock lock(temp / "none"); }));
}

// Where only the site's accounts reach it, with the modes the operator's
// umask gives every new file.
TEST(LockTest, NamedLockIsAFileBesideTheProgramMadeUnderTheUmask) {
  const fs::path file = fs::path(ProgramFolder()) / "corvane-lock-where%3F";
  fs::remove(file);
  NamedLock lock("where?");
  TempFolder temp;
  std::ofstream(temp / "new file").put('x');
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::status(file).permissions(), fs::status(temp / "new file").permissions());
}
