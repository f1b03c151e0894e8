#pragma once
// The 128-bit unsigned integer the exact arithmetic of the extended type and
// of the decimal expansion works in (GCC and Clang on every 64-bit target).
#include <cstdint>

namespace quarvel::calc {

using u128 = unsigned __int128;

inline int zeros_a_esquerda(u128 v) { // v != 0
    const auto alto = static_cast<std::uint64_t>(v >> 64);
    return alto != 0 ? __builtin_clzll(alto) : 64 + __builtin_clzll(static_cast<std::uint64_t>(v));
}

} // namespace quarvel::calc
