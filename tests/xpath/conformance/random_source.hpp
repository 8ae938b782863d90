// Random source of the case generator: std::mt19937, whose output sequence is
// the same on every platform, mapped to ranges by our own arithmetic, since
// the standard distributions may differ between libraries. Callers draw one
// value per statement: the order in which a C++ expression evaluates its
// operands is not fixed, and two draws in one expression would not be either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace conformance {

class random_source {
public:
    explicit random_source(std::uint32_t seed) : engine_(seed) {}

    // A number in [0, bound); bound must be positive. Multiply and shift
    // rather than modulo, so that no value is noticeably favoured.
    std::uint32_t below(std::uint32_t bound) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(engine_()) * bound) >> 32);
    }

    // A number in [low, high].
    std::int32_t between(std::int32_t low, std::int32_t high) {
        return low + static_cast<std::int32_t>(below(static_cast<std::uint32_t>(high - low + 1)));
    }

    bool percent(std::uint32_t chance) { return below(100) < chance; }

    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(static_cast<std::uint32_t>(N))];
    }

    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::mt19937 engine_;
};

}  // namespace conformance
