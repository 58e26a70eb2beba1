#include "demo/mapper_paths.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace mapper {
namespace {

#if defined(__x86_64__)
// AMD processors before family 19h (Zen 3) run pext as a long microcode sequence, slower than
// the portable path's shifts and masks.
bool fastBitExtract() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__builtin_cpu_is("amd") || !__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return true;
  unsigned family = (eax >> 8) & 0xF;
  if (family == 0xF) family += (eax >> 20) & 0xFF;
  return family >= 0x19;
}
bool hasBmi2() { return __builtin_cpu_supports("bmi2"); }
#else
bool fastBitExtract() { return false; }
bool hasBmi2() { return false; }
#endif

bool always() { return true; }

constexpr Path paths[] = {
    {"bit extract (BMI2)", hasBmi2, fastBitExtract, renderBitExtract},
    {"portable", always, always, renderPortable},
};

const Path& choosePath() {
  for (const Path& path : paths)
    if (path.runsHere() && path.fastHere()) return path;
  return paths[std::size(paths) - 1];
}

}  // namespace

std::span<const Path> allPaths() { return paths; }

const Path& chosenPath() {
  static const Path& chosen = choosePath();
  return chosen;
}

}  // namespace mapper
