#pragma once

#include <cstdint>
#include <vector>

// Building byte sequences for wire-level tests.
namespace velatest {

// bytes, times times over.
inline std::vector<std::uint8_t> repeat(const std::vector<std::uint8_t>& bytes, int times) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

// a followed by b.
inline std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a,
                                           const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace velatest
