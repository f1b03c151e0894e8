#pragma once
// Estendido: the extended type of the amount rules. A 64-bit mantissa with
// an explicit leading bit, the exponent range of the x87 format (normal from
// 2^-16382, gradual underflow down to 2^-16445, infinity past 2^16384), and
// every operation rounded once, to nearest, ties to even.
//
// On x86-64 that is the hardware's long double. Elsewhere long double is
// something else (a 113-bit software type on 64-bit ARM, plain double with
// Microsoft's compiler), so EstendidoSoftware does the same arithmetic in
// 64-bit integers: each operation forms its exact result (a 128-bit product,
// a 128-bit aligned sum with a sticky bit, a 128-bit quotient with the
// remainder as sticky bit) and rounds it once. Forcing it on x86-64
// (QUARVEL_ESTENDIDO_SOFTWARE) lets the tests compare both, bit for bit.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

// long double in the x87 layout, the format of the type itself.
#if defined(__x86_64__) && LDBL_MANT_DIG == 64
#define QUARVEL_LONG_DOUBLE_X87 1
#else
#define QUARVEL_LONG_DOUBLE_X87 0
#endif

#if QUARVEL_LONG_DOUBLE_X87 && !defined(QUARVEL_ESTENDIDO_SOFTWARE)
#define QUARVEL_ESTENDIDO_HARDWARE 1
#else
#define QUARVEL_ESTENDIDO_HARDWARE 0
#endif

namespace quarvel::calc {

// A finite non-zero value as mantissa * 2^expoente, the mantissa's top bit
// set (also for values in the gradual-underflow range).
struct Partes {
    bool negativo = false;
    std::uint64_t mantissa = 0;
    int expoente = 0;
};

class EstendidoSoftware {
  public:
    EstendidoSoftware() = default; // +0
    EstendidoSoftware(double v);   // exact
    template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
    EstendidoSoftware(I v) { // exact: 64 bits fit the mantissa
        if constexpr (std::is_signed_v<I>) {
            const bool neg = v < 0;
            const auto mag = neg ? std::uint64_t{0} - static_cast<std::uint64_t>(v)
                                 : static_cast<std::uint64_t>(v);
            *this = de_inteiro(neg, mag);
        } else {
            *this = de_inteiro(false, static_cast<std::uint64_t>(v));
        }
    }
#if QUARVEL_LONG_DOUBLE_X87
    // Exact both ways where long double is the same format.
    EstendidoSoftware(long double v);
    explicit operator long double() const;
#else
    // Any other long double would be rounded silently.
    EstendidoSoftware(long double) = delete;
#endif
    explicit operator double() const; // rounded to nearest even
    // Cut toward zero; only for values from 0 to below 2^64 (0 otherwise).
    explicit operator unsigned long long() const;

    // m * 2^expoente, rounded when it does not fit (underflow, overflow).
    static EstendidoSoftware de_partes(bool negativo, std::uint64_t m, int expoente);
    static EstendidoSoftware infinito(bool negativo);
    static EstendidoSoftware nan();

    bool finito() const {
        return classe_ == Classe::Zero || classe_ == Classe::Finito;
    }
    bool eh_nan() const {
        return classe_ == Classe::NaN;
    }
    bool zero() const {
        return classe_ == Classe::Zero;
    }
    bool negativo() const {
        return negativo_;
    }
    Partes partes() const {
        return {negativo_, m_, e_ - 63};
    } // finite, non-zero
    EstendidoSoftware piso() const;

    EstendidoSoftware operator-() const {
        EstendidoSoftware r = *this;
        r.negativo_ = !r.negativo_;
        return r;
    }
    friend EstendidoSoftware operator+(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return somar(a, b, false);
    }
    friend EstendidoSoftware operator-(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return somar(a, b, true);
    }
    friend EstendidoSoftware operator*(const EstendidoSoftware& a, const EstendidoSoftware& b);
    friend EstendidoSoftware operator/(const EstendidoSoftware& a, const EstendidoSoftware& b);
    EstendidoSoftware& operator+=(const EstendidoSoftware& b) {
        return *this = *this + b;
    }
    EstendidoSoftware& operator-=(const EstendidoSoftware& b) {
        return *this = *this - b;
    }
    EstendidoSoftware& operator*=(const EstendidoSoftware& b) {
        return *this = *this * b;
    }
    EstendidoSoftware& operator/=(const EstendidoSoftware& b) {
        return *this = *this / b;
    }

    // -1, 0, 1; 2 when either is NaN (unordered).
    static int comparar(const EstendidoSoftware& a, const EstendidoSoftware& b);
    friend bool operator==(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return comparar(a, b) == 0;
    }
    friend bool operator!=(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return comparar(a, b) != 0;
    }
    friend bool operator<(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return comparar(a, b) == -1;
    }
    friend bool operator>(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        return comparar(a, b) == 1;
    }
    friend bool operator<=(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        const int c = comparar(a, b);
        return c == -1 || c == 0;
    }
    friend bool operator>=(const EstendidoSoftware& a, const EstendidoSoftware& b) {
        const int c = comparar(a, b);
        return c == 1 || c == 0;
    }

    // The exact bits, for tests: equal representations, also of zeros' signs.
    bool mesmos_bits(const EstendidoSoftware& b) const;

  private:
    enum class Classe : std::uint8_t { Zero, Finito, Infinito, NaN };
    static EstendidoSoftware de_inteiro(bool negativo, std::uint64_t m);
    static EstendidoSoftware somar(const EstendidoSoftware& a, EstendidoSoftware b, bool subtrair);

    std::uint64_t m_ = 0; // top bit set when Finito
    int e_ = 0;           // value = m_ * 2^(e_ - 63)
    Classe classe_ = Classe::Zero;
    bool negativo_ = false;

    friend struct Arredondamento;
};

#if QUARVEL_LONG_DOUBLE_X87
// Read from the x87 layout: 64-bit mantissa, then sign and biased exponent.
inline Partes partes_x87(long double v) { // finite, non-zero
    std::uint64_t m;
    std::uint16_t sinal_expoente;
    std::memcpy(&m, &v, 8);
    std::memcpy(&sinal_expoente, reinterpret_cast<const unsigned char*>(&v) + 8, 2);
    Partes p;
    p.negativo = (sinal_expoente >> 15) != 0;
    const int e = sinal_expoente & 0x7fff;
    if (e == 0) { // gradual underflow: the leading bit lies lower
        const int z = __builtin_clzll(m);
        p.mantissa = m << z;
        p.expoente = 1 - 16383 - 63 - z;
    } else {
        p.mantissa = m;
        p.expoente = e - 16383 - 63;
    }
    return p;
}
#endif

#if QUARVEL_ESTENDIDO_HARDWARE
using Estendido = long double;

inline bool finito(Estendido v) {
    return std::isfinite(v);
}
inline bool eh_nan(Estendido v) {
    return std::isnan(v);
}
inline Estendido absoluto(Estendido v) {
    return std::fabs(v);
}
inline Estendido piso(Estendido v) {
    return std::floor(v);
}

inline Partes partes(Estendido v) {
    return partes_x87(v);
} // finite, non-zero
#else
using Estendido = EstendidoSoftware;

inline bool finito(const Estendido& v) {
    return v.finito();
}
inline bool eh_nan(const Estendido& v) {
    return v.eh_nan();
}
inline Estendido absoluto(const Estendido& v) {
    return v.negativo() ? -v : v;
}
inline Estendido piso(const Estendido& v) {
    return v.piso();
}
inline Partes partes(const Estendido& v) {
    return v.partes();
}
#endif

// m * 2^expoente as an Estendido (exact when it fits, as every use here does).
Estendido estendido_de_partes(bool negativo, std::uint64_t m, int expoente);

} // namespace quarvel::calc
