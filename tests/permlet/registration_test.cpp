// The registration tool against the real library, in a program folder of its
// own: what registration writes to the registry and what unregistration
// takes away.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/strings.h"
#include "platform/file_system.h"
#include "tests/e2e/harness.h"
#include "tests/support/files.h"

namespace {

const std::string kControlKey = "CLSID\\{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}";

class RegistrationTest : public ::testing::Test {
 protected:
  int Permreg(const std::string& arguments) const {
    return programs_.Run(arguments, "permreg").exitStatus;
  }
  std::string Library() const { return programs_.path() + "/permlet.ocx"; }
  std::string Registry() const { return programs_.path() + "/components.reg"; }
  // Keys compare without regard to case.
  std::optional<std::string> Value(const std::string& key) const {
    for (const std::string& line : platform::SystemFileSystem().ReadTextLines(Registry())) {
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos && strings::EqualsIgnoreCase(line.substr(0, equals), key))
        return line.substr(equals + 1);
    }
    return std::nullopt;
  }
  e2e::ProgramFolder programs_{std::vector<std::string>{}};
};

TEST_F(RegistrationTest, RegistersBothClassesAndUnregistersOnlyTheLibrarysKeys) {
  // The folder's own library is kept relative to it, so the folder can move.
  const std::pair<std::string, std::optional<std::string>> values[] = {
      {kControlKey, "Permlet Control"},
      {kControlKey + "\\InprocServer32", "./permlet.ocx"},
      {kControlKey + "\\InprocServer32\\ThreadingModel", "Apartment"},
      {kControlKey + "\\Control", ""},
      {"PERMLET.PermletPropPage.1\\CLSID", "{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}"},
      {"CLSID\\{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}\\Control", std::nullopt},
      {"TypeLib\\{58A6311B-FE0B-49B3-B014-8688FA50D77A}\\1.0\\409\\posix", "./permlet.ocx"},
      {"Interface\\{7A39B829-F630-4261-B58B-E40EDA6B9320}", "_DPermlet"},
  };
  for (const auto& [key, value] : values) EXPECT_EQ(Value(key), value) << key;

  const std::string before = support::ReadFile(Registry());
  EXPECT_EQ(Permreg("/s " + Library()), 0);
  EXPECT_EQ(support::ReadFile(Registry()), before);  // registering again changes nothing
  const std::string other = "CLSID\\{11111111-2222-3333-4444-555555555555}=Other\r\n";
  support::WriteFile(Registry(), before + other);
  EXPECT_EQ(Permreg("/s /u " + Library()), 0);
  EXPECT_EQ(support::ReadFile(Registry()), other);
  // The type library is gone: SELFREG_E_TYPELIB.
  EXPECT_EQ(Permreg("/s /u " + Library()), 5);
  EXPECT_EQ(Permreg("/s " + programs_.path() + "/nothing.ocx"), 3);
}

}  // namespace
