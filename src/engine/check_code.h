#pragma once
// The check code: a fresh random text that must be typed back before a guarded action proceeds.
#include <cstdint>
#include <string>

namespace tallowby::engine {

// The 32-bit linear congruential generator the codes are drawn from.
class CheckCodeRandom {
  public:
    explicit CheckCodeRandom(std::uint32_t seed) : seed_(seed) {}
    // Uniform in 0 .. n-1: the high 32 bits of seed * n after stepping the seed.
    std::uint32_t draw(std::uint32_t n);

  private:
    std::uint32_t seed_;
};

// A code of count characters from "!" to "}", with "&" shown as "-" (a label would take "&" for a
// mnemonic). A count of 0 or less gives the empty text. The same seed gives the same code.
std::string Checkcode(int count, std::uint32_t seed);

// The seed for the next code: the low 32 bits of a high-resolution counter, read on every call.
std::uint32_t checkCodeSeedFromCounter();

} // namespace tallowby::engine
