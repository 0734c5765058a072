// What every fuzz target shares: a decoder that turns the input bytes into
// typed values, and the check that reports a broken expectation.
//
// Running out of bytes is not an error: every read then returns zero (or its
// first choice), so any input, however short, decodes into a complete case and
// the same bytes always decode into the same case.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

// A broken expectation: say which and abort, so that libFuzzer saves the
// input and the replay test fails.
#define ZKW_FUZZ_CHECK(Condition)                                                             \
  do {                                                                                        \
    if (!(Condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #Condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

namespace zkw::fuzz {

// ZKW_FUZZ_VERBOSE=1 makes the targets say what each input did (replays).
inline bool Verbose() {
  static const bool Value = std::getenv("ZKW_FUZZ_VERBOSE") != nullptr;
  return Value;
}

class TFuzzBytes {
 public:
  TFuzzBytes(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

  bool Empty() const { return FPos >= FSize; }
  std::size_t Remaining() const { return Empty() ? 0 : FSize - FPos; }

  std::uint8_t Byte() { return Empty() ? 0 : FData[FPos++]; }
  bool Bool() { return (Byte() & 1) != 0; }

  template <typename T>
  T Raw() {
    T Value{};
    unsigned char Buffer[sizeof(T)] = {};
    for (std::size_t I = 0; I < sizeof(T); ++I) Buffer[I] = Byte();
    std::memcpy(&Value, Buffer, sizeof(T));
    return Value;
  }

  // A value in [Low, High] (inclusive); Low when High < Low.
  int IntIn(int Low, int High) {
    if (High <= Low) return Low;
    const auto Span = static_cast<std::uint64_t>(static_cast<std::int64_t>(High) - Low) + 1;
    return static_cast<int>(Low + static_cast<std::int64_t>(Raw<std::uint32_t>() % Span));
  }
  // One of Count choices, from a single byte (Count at most 256).
  int Pick(int Count) { return Count <= 1 ? 0 : Byte() % Count; }

  // Doubles that reach the interesting places: the first byte chooses among
  // special values (NaN, infinities, huge, tiny, zero, negative zero), a
  // small integer-like value or raw bits.
  double Double() {
    switch (Byte() % 12) {
      case 0: return std::numeric_limits<double>::quiet_NaN();
      case 1: return std::numeric_limits<double>::infinity();
      case 2: return -std::numeric_limits<double>::infinity();
      case 3: return (Bool() ? 1 : -1) * std::numeric_limits<double>::max();
      case 4: return (Bool() ? 1 : -1) * std::numeric_limits<double>::denorm_min();
      case 5: return Bool() ? 0.0 : -0.0;
      case 6: {
        // Read one after the other: the order in which a call's arguments are
        // evaluated differs between compilers, and the replay (another
        // compiler) must decode every input as the fuzzer did.
        const auto Mantissa = static_cast<double>(Raw<std::int16_t>());
        return std::ldexp(Mantissa, IntIn(-1074, 1023));
      }
      case 7: return Raw<double>();
      default: return static_cast<double>(Raw<std::int16_t>()) / 16.0;
    }
  }
  // A finite double in a moderate range, for values that should be sane.
  double Moderate() { return static_cast<double>(Raw<std::int32_t>()) / 65536.0; }

  // A string of up to MaxLength bytes (any bytes, also invalid UTF-8).
  std::string String(std::size_t MaxLength) {
    std::string S;
    const std::size_t Length = Byte() % (MaxLength + 1);
    for (std::size_t I = 0; I < Length && !Empty(); ++I) S.push_back(static_cast<char>(Byte()));
    return S;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

}  // namespace zkw::fuzz
