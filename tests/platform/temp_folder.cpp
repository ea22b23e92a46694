#include "tests/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/os_error.h"

namespace platform_test {

void PutFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string GetFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitUntil(const std::function<bool()>& condition, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string ShellWaitFor(const std::string& name) {
  return "i=0; while [ ! -e '" + name + "' ] && [ $i -lt 1000 ]; do sleep 0.02; i=$((i+1)); done";
}

int OsErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::OsError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace platform_test
