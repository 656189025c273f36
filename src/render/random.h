// The one random generator of a run: PCG32, seedable, giving a float in [0, 1) built from
// 24 random bits so that it can never return 1.0. Every random draw of the engines comes
// from the instance in the context, in the order the engines make them.
#pragma once

#include <cstdint>

namespace qsrn {

class Random {
 public:
  explicit Random(uint64_t seed = 0x853c49e6748fea9bULL) { Seed(seed); }

  void Seed(uint64_t seed) {
    state_ = 0;
    Next();
    state_ += seed;
    Next();
  }

  uint32_t Next() {
    const uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + kIncrement;
    const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }

  // Rnd: a float in [0, 1).
  float Rnd() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }

 private:
  static constexpr uint64_t kIncrement = 1442695040888963407ULL;
  uint64_t state_ = 0;
};

}  // namespace qsrn
