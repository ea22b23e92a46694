// A program folder (the built programs and libraries) whose own component
// registry holds the permission control, registered there by permreg; this
// process's component lookups go to that registry while the object lives.
#pragma once

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
  RegisteredFolder();
  ~RegisteredFolder();

  // Runs permreg of the folder with `arguments`; returns its exit status.
  int Permreg(const std::string& arguments) const;
  std::string Library() const { return programs_.path() + "/permlet.ocx"; }
  std::string Registry() const { return programs_.path() + "/components.reg"; }
  const e2e::ProgramFolder& programs() const { return programs_; }

 private:
  e2e::ProgramFolder programs_;
};

}  // namespace permlet_test
