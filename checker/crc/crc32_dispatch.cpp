// Chooses the CRC-32 loop at run time from what the processor offers.
#include "checker/crc/crc32_kernels.h"

namespace crc_internal {

namespace {
std::optional<Crc32Kernel> forcedKernel;
}  // namespace

const char* Crc32KernelName(Crc32Kernel kernel) {
  switch (kernel) {
    case Crc32Kernel::kTable:
      return "table";
    case Crc32Kernel::kClmul:
      return "pclmul";
    case Crc32Kernel::kVpclmul256:
      return "vpclmul256";
    case Crc32Kernel::kVpclmul:
      return "vpclmul512";
  }
  return "?";
}

bool Crc32KernelAvailable(Crc32Kernel kernel) {
  switch (kernel) {
    case Crc32Kernel::kTable:
      return true;
#if CORVANE_CRC_X86_64
    case Crc32Kernel::kClmul:
      return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    case Crc32Kernel::kVpclmul256:
      // Also reports whether the system saves the 256-bit registers.
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("vpclmulqdq") &&
             Crc32KernelAvailable(Crc32Kernel::kClmul);
    case Crc32Kernel::kVpclmul:
      // Also reports whether the system saves the 512-bit registers.
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("vpclmulqdq") &&
             Crc32KernelAvailable(Crc32Kernel::kClmul);
#endif
    default:
      return false;
  }
}

Crc32Loop Crc32LoopFor(Crc32Kernel kernel) {
  if (!Crc32KernelAvailable(kernel)) return nullptr;
  switch (kernel) {
#if CORVANE_CRC_X86_64
    case Crc32Kernel::kClmul:
      return Crc32Clmul;
    case Crc32Kernel::kVpclmul256:
      return Crc32Vpclmul256;
    case Crc32Kernel::kVpclmul:
      return Crc32Vpclmul;
#endif
    default:
      return Crc32Table;
  }
}

Crc32Kernel SelectedCrc32Kernel() {
  if (forcedKernel) return *forcedKernel;
  for (Crc32Kernel kernel :
       {Crc32Kernel::kVpclmul, Crc32Kernel::kVpclmul256, Crc32Kernel::kClmul}) {
    if (Crc32KernelAvailable(kernel)) return kernel;
  }
  return Crc32Kernel::kTable;
}

void ForceCrc32Kernel(std::optional<Crc32Kernel> kernel) { forcedKernel = kernel; }

}  // namespace crc_internal
