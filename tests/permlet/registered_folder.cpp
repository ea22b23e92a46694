#include "tests/permlet/registered_folder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace permlet_test {

RegisteredFolder::RegisteredFolder() : programs_({}) {
  // The copy of the build's registry names the build's library: start afresh.
  std::remove(Registry().c_str());
  EXPECT_EQ(Permreg("/s " + Library()), 0);
  platform::SetComponentRegistryPath(Registry());
}

RegisteredFolder::~RegisteredFolder() { platform::SetComponentRegistryPath(""); }

int RegisteredFolder::Permreg(const std::string& arguments) const {
  return programs_.Run(arguments, "permreg").exitStatus;
}

}  // namespace permlet_test
