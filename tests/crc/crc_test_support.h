// Runs a calculator test once per CRC-32 loop this processor has, with that
// loop forced, so the portable loop is tested on every machine.
#pragma once

#include <gtest/gtest.h>

#include "checker/crc/crc32_kernels.h"

class PerKernelTest : public ::testing::TestWithParam<crc_internal::Crc32Kernel> {
 protected:
  void SetUp() override {
    if (!crc_internal::Crc32KernelAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
    crc_internal::ForceCrc32Kernel(GetParam());
  }
  void TearDown() override { crc_internal::ForceCrc32Kernel(std::nullopt); }
};

#define INSTANTIATE_PER_KERNEL(Suite)                                         \
  INSTANTIATE_TEST_SUITE_P(                                                   \
      AllKernels, Suite, ::testing::ValuesIn(crc_internal::kAllCrc32Kernels), \
      [](const auto& info) { return crc_internal::Crc32KernelName(info.param); })
