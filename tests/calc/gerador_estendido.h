#pragma once
// Random long doubles for the property tests, drawn to reach the cases where
// rounding is hard: short mantissas (exact results and ties), runs of ones,
// exponents close together (alignment and cancellation), the ends of the
// range (overflow, gradual underflow), zeros, infinities and NaN.
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace quarvel::teste {

// Rounds of a property test: all of them in an optimised build, a tenth in
// an unoptimised one (the sanitizer build), where each costs ten times more.
constexpr int rodadas(int n) {
#ifdef __OPTIMIZE__
    return n;
#else
    return n / 10;
#endif
}

class GeradorEstendido {
  public:
    explicit GeradorEstendido(std::uint64_t semente) : g_(semente) {}

    std::uint64_t bits() { return g_(); }
    int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(g_); }

    std::uint64_t mantissa() {
        const std::uint64_t topo = std::uint64_t{1} << 63;
        switch (entre(0, 5)) {
        case 0: { // few significant bits: exact sums, products and ties
            const int n = entre(1, 64);
            return topo | (n == 64 ? g_() : (g_() >> (64 - n)) << (64 - n));
        }
        case 1: // a run of ones below a random prefix
            return topo | (g_() >> entre(1, 63)) | ((std::uint64_t{1} << entre(0, 62)) - 1);
        case 2: // one bit past the half of the last place
            return topo | (std::uint64_t{1} << entre(0, 62));
        default:
            return topo | g_();
        }
    }

    int expoente() {
        switch (entre(0, 9)) {
        case 0:
            return entre(-16445, 16383); // anywhere
        case 1:
            return entre(16300, 16383); // near overflow
        case 2:
            return entre(-16450, -16300); // near and in gradual underflow
        default:
            return entre(-80, 80); // amounts
        }
    }

    // m * 2^(e - 63): the leading bit at 2^e.
    long double valor() {
        const int especial = entre(0, 199);
        if (especial == 0) return 0.0L;
        if (especial == 1) return -0.0L;
        if (especial == 2) return std::numeric_limits<long double>::infinity();
        if (especial == 3) return -std::numeric_limits<long double>::infinity();
        if (especial == 4) return std::numeric_limits<long double>::quiet_NaN();
        const long double v = std::ldexp(static_cast<long double>(mantissa()), expoente() - 63);
        return (g_() & 1) ? -v : v;
    }

    // Another value, often near the first in exponent.
    long double vizinho(long double a) {
        if (!std::isfinite(a) || a == 0 || entre(0, 2) == 0) return valor();
        const int e = std::ilogb(a) + entre(-130, 130);
        const long double v = std::ldexp(static_cast<long double>(mantissa()), e - 63);
        return (g_() & 1) ? -v : v;
    }

    // A double of any kind: subnormal, normal, huge.
    double duplo() {
        std::uint64_t b = g_();
        if (entre(0, 3) == 0) b &= ~(std::uint64_t{0x7ff} << 52); // subnormal or zero
        double d;
        static_assert(sizeof d == sizeof b);
        __builtin_memcpy(&d, &b, sizeof d);
        return d;
    }

  private:
    std::mt19937_64 g_;
};

} // namespace quarvel::teste
