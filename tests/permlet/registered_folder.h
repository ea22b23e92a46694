// Where the permission control is registered for the tests: a program folder
// of its own (the built programs and libraries, registered there by permreg),
// and the component registry of this test program's own folder, where this
// process's component lookups go.
#pragma once

#include <optional>
#include <string>

#include "platform/component.h"
#include "tests/e2e/harness.h"

namespace permlet_test {

inline constexpr CvGuid kPermletClsid =
    platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
inline constexpr CvGuid kDPermletIid =
    platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}");

class RegisteredFolder {
 public:
  RegisteredFolder() : programs_({}) {}

  // Runs permreg of the folder with `arguments`; returns its exit status.
  int Permreg(const std::string& arguments) const;
  std::string Library() const { return programs_.path() + "/permlet.ocx"; }
  std::string Registry() const { return programs_.path() + "/components.reg"; }
  // The value of `key` in the folder's registry (keys compare without regard
  // to case).
  std::optional<std::string> Value(const std::string& key) const;
  const e2e::ProgramFolder& programs() const { return programs_; }

 private:
  e2e::ProgramFolder programs_;
};

// Registers the build's control in the registry of this test program's
// folder. Registering again changes nothing, so test processes running at
// the same time may all do it.
void RegisterForThisProgram();

}  // namespace permlet_test
