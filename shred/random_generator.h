// The overwrite pattern's pseudo-random source: a linear congruential
// generator with explicit state, so that the bytes written are the same in
// every run for the same order of files and tests can pin them exactly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tovo {

// Bytes in one overwrite block; every file is overwritten with copies of one.
inline constexpr std::size_t kOverwriteBlockSize = 4096;
using OverwriteBlock = std::array<std::uint8_t, kOverwriteBlockSize>;

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed = 0) : seed_(seed) {}

  // One draw: state = state * 134775813 + 1 (mod 2^32); the byte is the top
  // 8 bits of the new state.
  std::uint8_t Next() {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint8_t>(seed_ >> 24);
  }

  // 4096 draws, the first one going to the first byte.
  void FillRandomBlock(OverwriteBlock& block) {
    for (auto& byte : block) byte = Next();
  }

  std::uint32_t RandomSeed() const { return seed_; }

 private:
  std::uint32_t seed_;
};

// The one generator of the process. It starts at 0 and is never seeded from
// anything else; its state carries over from file to file and from run to
// run. Used by one thread at a time: the thread of the one run under way
// (runs never overlap), which opens the files in order.
RandomGenerator& ProcessRandomGenerator();

}  // namespace tovo
