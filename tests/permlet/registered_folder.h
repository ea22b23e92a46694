// The permission control as this test program finds it: registered by the
// build in the component registry of the program's own folder, where this
// process's component lookups go.
#pragma once

#include <gtest/gtest.h>

#include "platform/component.h"

namespace permlet_test {

inline constexpr CvGuid kPermletClsid =
    platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
inline constexpr CvGuid kDPermletIid =
    platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}");

// Registering again changes nothing, so test processes running at the same
// time may all do it.
inline void RegisterForThisProgram() {
  ASSERT_EQ(platform::RegisterServer(CORVANE_BIN_DIR "/permlet.ocx", false), kCvOk);
}

}  // namespace permlet_test
