#include "tests/permlet/registered_folder.h"

#include <gtest/gtest.h>

#include "common/strings.h"
#include "platform/file_system.h"
#include "platform/os_error.h"

namespace permlet_test {

int RegisteredFolder::Permreg(const std::string& arguments) const {
  return programs_.Run(arguments, "permreg").exitStatus;
}

std::optional<std::string> RegisteredFolder::Value(const std::string& key) const {
  for (const std::string& line : platform::SystemFileSystem().ReadTextLines(Registry())) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && strings::EqualsIgnoreCase(line.substr(0, equals), key))
      return line.substr(equals + 1);
  }
  return std::nullopt;
}

void RegisterForThisProgram() {
  ASSERT_EQ(platform::RegisterServer(CORVANE_BIN_DIR "/permlet.ocx", false), kCvOk);
}

}  // namespace permlet_test
