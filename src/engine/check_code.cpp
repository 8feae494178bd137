#include "engine/check_code.h"

#include <chrono>

namespace tallowby::engine {

std::uint32_t CheckCodeRandom::draw(std::uint32_t n) {
    seed_ = seed_ * 134775813u + 1u; // wraps modulo 2^32 by unsigned arithmetic
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
}

std::string Checkcode(int count, std::uint32_t seed) {
    std::string code;
    if (count <= 0)
        return code;
    code.reserve(static_cast<std::size_t>(count));
    CheckCodeRandom random(seed);
    for (int i = 0; i < count; ++i) {
        char c = static_cast<char>(33 + random.draw(93));
        code.push_back(c == '&' ? '-' : c);
    }
    return code;
}

std::uint32_t checkCodeSeedFromCounter() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}

} // namespace tallowby::engine
