// The registration tool against the real library, in a program folder of its
// own: what registration writes to the registry and what unregistration
// takes away.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/component.h"
#include "tests/permlet/registered_folder.h"
#include "tests/support/files.h"

namespace {

const std::string kControlKey = "CLSID\\{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}";
const std::string kPropPageKey = "CLSID\\{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}";
const std::string kTypeLibKey = "TypeLib\\{58A6311B-FE0B-49B3-B014-8688FA50D77A}\\1.0";

class RegistrationTest : public ::testing::Test {
 protected:
  std::optional<std::string> Value(const std::string& key) { return folder_.Value(key); }
  permlet_test::RegisteredFolder folder_;
};

TEST_F(RegistrationTest, RegistersBothClassesAndTheTypeLibrary) {
  EXPECT_EQ(Value(kControlKey + "\\InprocServer32"), folder_.Library());
  EXPECT_EQ(Value(kControlKey), "Permlet Control");
  EXPECT_EQ(Value(kControlKey + "\\ProgID"), "PERMLET.PermletCtrl.1");
  EXPECT_EQ(Value("permlet.permletctrl.1\\clsid"), "{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
  EXPECT_EQ(Value(kControlKey + "\\InprocServer32\\ThreadingModel"), "Apartment");
  EXPECT_EQ(Value(kControlKey + "\\MiscStatus\\1"), "131217");  // 0x20091
  EXPECT_EQ(Value(kControlKey + "\\TypeLib"), "{58A6311B-FE0B-49B3-B014-8688FA50D77A}");
  EXPECT_TRUE(Value(kControlKey + "\\Control").has_value());
  EXPECT_FALSE(Value(kControlKey + "\\Insertable").has_value());

  EXPECT_EQ(Value(kPropPageKey), "Permlet Property Page");
  EXPECT_EQ(Value(kPropPageKey + "\\InprocServer32"), folder_.Library());
  EXPECT_EQ(Value("PERMLET.PermletPropPage.1\\CLSID"), "{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}");

  EXPECT_EQ(Value(kTypeLibKey), "Permlet ActiveX Control module");
  EXPECT_EQ(Value(kTypeLibKey + "\\409\\posix"), folder_.Library());
  EXPECT_EQ(Value("Interface\\{7A39B829-F630-4261-B58B-E40EDA6B9320}"), "_DPermlet");
  EXPECT_EQ(Value("Interface\\{A76AE382-05BD-4931-B154-B001BE79AC6D}"), "_DPermletEvents");
}

TEST_F(RegistrationTest, RegisteringAgainChangesNothing) {
  const std::string before = support::ReadFile(folder_.Registry());
  EXPECT_EQ(folder_.Permreg("/s " + folder_.Library()), 0);
  EXPECT_EQ(support::ReadFile(folder_.Registry()), before);
}

TEST_F(RegistrationTest, UnregisteringTakesAwayOnlyTheLibrarysKeys) {
  const std::string other = "CLSID\\{11111111-2222-3333-4444-555555555555}=Other\r\n";
  support::WriteFile(folder_.Registry(), support::ReadFile(folder_.Registry()) + other);
  EXPECT_EQ(folder_.Permreg("/s /u " + folder_.Library()), 0);
  EXPECT_EQ(support::ReadFile(folder_.Registry()), other);
  // The type library is gone: a second unregistration fails with
  // SELFREG_E_TYPELIB.
  EXPECT_EQ(folder_.Permreg("/s /u " + folder_.Library()), 5);
}

TEST_F(RegistrationTest, ReportsWhatCouldNotBeDone) {
  EXPECT_EQ(folder_.Permreg(""), 1);
  EXPECT_EQ(folder_.Permreg("/s " + folder_.programs().path() + "/nothing.ocx"), 3);
  EXPECT_EQ(folder_.Permreg("/s " + folder_.programs().path() + "/corvane.ini"), 3);
  EXPECT_EQ(folder_.Permreg("/s " CORVANE_NO_EXPORTS_LIBRARY), 4);
}

}  // namespace
