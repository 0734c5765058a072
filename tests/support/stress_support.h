// Shared helpers of the stress tests: the process's resident memory and a
// cheap deterministic source of coordinates.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zkw::stress {

// Resident set size in bytes (second field of /proc/self/statm). Free heap
// memory is handed back to the system first, so that what remains is what
// the program still holds.
inline std::int64_t ResidentBytes() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
  std::ifstream Statm("/proc/self/statm");
  std::int64_t Size = 0, Resident = 0;
  Statm >> Size >> Resident;
  return Resident * static_cast<std::int64_t>(::sysconf(_SC_PAGESIZE));
}

// A well-mixed 64-bit value for index I (splitmix64), so that item I's
// coordinates can be computed again later without keeping them.
inline std::uint64_t Mix(std::uint64_t I) {
  std::uint64_t Z = I + 0x9E3779B97F4A7C15ull;
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}

// A value in [0, Span) for index I and stream Stream.
inline double Coordinate(std::uint64_t I, std::uint64_t Stream, double Span) {
  return static_cast<double>(Mix(2 * I + Stream) >> 11) * (Span / 9007199254740992.0);
}

constexpr std::int64_t MiB = 1024 * 1024;

// AddressSanitizer keeps freed blocks in quarantine for a while, so the
// resident size says little about small blocks there; LeakSanitizer checks
// them at the end of the program instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif
#else
constexpr bool AddressSanitizer = false;
#endif

}  // namespace zkw::stress
