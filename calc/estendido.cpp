// The software extended type. Each operation forms its exact result in a
// 128-bit integer, or the exact floor of it with the lowest bit forced to 1
// when anything nonzero was cut off (a "sticky" bit); rounding then only has
// to know the 64 kept bits, the bit after them and whether anything below is
// nonzero, which that forced bit answers as the exact value would: it lies 60
// or more places below the bit after the kept ones, and it makes the value
// odd, so it can never sit exactly on a rounding boundary.
#include "calc/estendido.h"

#include "calc/inteiro128.h"

#include <limits>

namespace quarvel::calc {

namespace {

constexpr int kMenorExpoenteNormal = -16382; // exponent of the leading bit
constexpr int kMaiorExpoente = 16383;

} // namespace

struct Arredondamento {
    // v * 2^q, v != 0, its lowest bit set when nonzero bits beyond it were
    // cut off; rounded once to 64 bits, to nearest, ties to even.
    static EstendidoSoftware valor(bool negativo, u128 v, int q) {
        const int z = zeros_a_esquerda(v);
        v <<= z;
        q -= z;
        const int topo = q + 127;
        if (topo < kMenorExpoenteNormal) {
            // Gradual underflow: fewer bits are kept, the rest go to the
            // sticky bit.
            const int d = kMenorExpoenteNormal - topo;
            if (d >= 128) {
                v = 1;
            } else {
                const bool perdido = (v & ((u128{1} << d) - 1)) != 0;
                v >>= d;
                if (perdido) v |= 1;
            }
            q += d;
        }
        std::uint64_t guardado = static_cast<std::uint64_t>(v >> 64);
        const std::uint64_t resto = static_cast<std::uint64_t>(v);
        constexpr std::uint64_t kMeio = std::uint64_t{1} << 63;
        int e_ultimo = q + 64; // exponent of the last kept bit
        if (resto > kMeio || (resto == kMeio && (guardado & 1) != 0)) {
            ++guardado;
            if (guardado == 0) { // carried out of the top
                guardado = kMeio;
                ++e_ultimo;
            }
        }
        EstendidoSoftware r;
        r.negativo_ = negativo;
        if (guardado == 0) return r; // underflow to a signed zero
        const int z2 = __builtin_clzll(guardado);
        r.m_ = guardado << z2;
        r.e_ = e_ultimo + 63 - z2;
        if (r.e_ > kMaiorExpoente) return EstendidoSoftware::infinito(negativo);
        r.classe_ = EstendidoSoftware::Classe::Finito;
        return r;
    }
};

EstendidoSoftware EstendidoSoftware::de_inteiro(bool negativo, std::uint64_t m) {
    EstendidoSoftware r;
    if (m == 0) return r;
    const int z = __builtin_clzll(m);
    r.m_ = m << z;
    r.e_ = 63 - z;
    r.negativo_ = negativo;
    r.classe_ = Classe::Finito;
    return r;
}

EstendidoSoftware::EstendidoSoftware(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    negativo_ = (bits >> 63) != 0;
    const int e = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t f = bits & ((std::uint64_t{1} << 52) - 1);
    if (e == 0x7ff) {
        classe_ = f == 0 ? Classe::Infinito : Classe::NaN;
        return;
    }
    if (e == 0 && f == 0) return; // signed zero
    int p;                        // value = f * 2^p
    if (e == 0) {
        p = -1074;
    } else {
        f |= std::uint64_t{1} << 52;
        p = e - 1075;
    }
    const int z = __builtin_clzll(f);
    m_ = f << z;
    e_ = p + 63 - z;
    classe_ = Classe::Finito;
}

EstendidoSoftware::operator double() const {
    switch (classe_) {
    case Classe::NaN:
        return std::numeric_limits<double>::quiet_NaN();
    case Classe::Infinito:
        return negativo_ ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
    case Classe::Zero:
        return negativo_ ? -0.0 : 0.0;
    case Classe::Finito:
        break;
    }
    if (e_ > 1023)
        return negativo_ ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
    // Bits a double keeps of this value: 53, fewer below 2^-1022.
    const int k = e_ >= -1022 ? 53 : 53 - (-1022 - e_);
    std::uint64_t guardado;
    int e_ultimo; // exponent of the last kept bit
    if (k <= 0) {
        // At most half the smallest double: to it when above the half, to
        // zero on the exact half (even) and below.
        const bool acima = k == 0 && m_ != (std::uint64_t{1} << 63);
        guardado = acima ? 1 : 0;
        e_ultimo = -1074;
    } else {
        const int corte = 64 - k;
        guardado = m_ >> corte;
        const std::uint64_t resto = m_ & ((std::uint64_t{1} << corte) - 1);
        const std::uint64_t meio = std::uint64_t{1} << (corte - 1);
        if (resto > meio || (resto == meio && (guardado & 1) != 0)) ++guardado;
        e_ultimo = e_ - 63 + corte;
    }
    // guardado has at most 53 bits (54 when rounding carried: a power of
    // two), so the conversion and the scaling are exact or overflow.
    const double r = std::ldexp(static_cast<double>(guardado), e_ultimo);
    return negativo_ ? -r : r;
}

EstendidoSoftware::operator unsigned long long() const {
    if (classe_ != Classe::Finito || negativo_ || e_ < 0 || e_ > 63) return 0;
    return m_ >> (63 - e_);
}

#if QUARVEL_LONG_DOUBLE_X87
EstendidoSoftware::EstendidoSoftware(long double v) {
    negativo_ = std::signbit(v);
    if (std::isnan(v)) {
        classe_ = Classe::NaN;
    } else if (std::isinf(v)) {
        classe_ = Classe::Infinito;
    } else if (v != 0) {
        const Partes p = partes_x87(v);
        m_ = p.mantissa;
        e_ = p.expoente + 63;
        classe_ = Classe::Finito;
    }
}

EstendidoSoftware::operator long double() const {
    long double r;
    switch (classe_) {
    case Classe::NaN:
        return std::numeric_limits<long double>::quiet_NaN();
    case Classe::Infinito:
        r = std::numeric_limits<long double>::infinity();
        break;
    case Classe::Zero:
        r = 0.0L;
        break;
    default:
        r = std::ldexp(static_cast<long double>(m_), e_ - 63); // representable: exact
        break;
    }
    return negativo_ ? -r : r;
}
#endif

EstendidoSoftware EstendidoSoftware::de_partes(bool negativo, std::uint64_t m, int expoente) {
    if (m == 0) {
        EstendidoSoftware r;
        r.negativo_ = negativo;
        return r;
    }
    return Arredondamento::valor(negativo, m, expoente);
}

EstendidoSoftware EstendidoSoftware::infinito(bool negativo) {
    EstendidoSoftware r;
    r.classe_ = Classe::Infinito;
    r.negativo_ = negativo;
    return r;
}

EstendidoSoftware EstendidoSoftware::nan() {
    EstendidoSoftware r;
    r.classe_ = Classe::NaN;
    return r;
}

EstendidoSoftware EstendidoSoftware::somar(const EstendidoSoftware& a, EstendidoSoftware b,
                                           bool subtrair) {
    if (subtrair) b.negativo_ = !b.negativo_;
    if (a.classe_ == Classe::NaN || b.classe_ == Classe::NaN) return nan();
    if (a.classe_ == Classe::Infinito) {
        if (b.classe_ == Classe::Infinito && a.negativo_ != b.negativo_) return nan();
        return a;
    }
    if (b.classe_ == Classe::Infinito) return b;
    if (a.classe_ == Classe::Zero) {
        if (b.classe_ != Classe::Zero) return b;
        EstendidoSoftware r;
        r.negativo_ = a.negativo_ && b.negativo_;
        return r;
    }
    if (b.classe_ == Classe::Zero) return a;

    // x the larger in magnitude; its sign is the sign of the result.
    const bool trocar = a.e_ < b.e_ || (a.e_ == b.e_ && a.m_ < b.m_);
    const EstendidoSoftware& x = trocar ? b : a;
    const EstendidoSoftware& y = trocar ? a : b;
    // One spare bit on top, so that a sum never carries out and a
    // difference of neighbours (d = 1) loses nothing.
    const u128 A = u128{x.m_} << 63;
    u128 B = u128{y.m_} << 63;
    const int d = x.e_ - y.e_;
    bool perdido = false;
    if (d >= 127) {
        B = 0;
        perdido = true;
    } else if (d > 0) {
        perdido = (B & ((u128{1} << d) - 1)) != 0;
        B >>= d;
    }
    u128 s;
    if (x.negativo_ == y.negativo_) {
        s = A + B;
    } else {
        // The floor of the exact difference: one less when B lost bits.
        s = A - B - (perdido ? 1 : 0);
        if (s == 0) return EstendidoSoftware(); // exact cancellation: +0
    }
    if (perdido) s |= 1;
    return Arredondamento::valor(x.negativo_, s, x.e_ - 126);
}

EstendidoSoftware operator*(const EstendidoSoftware& a, const EstendidoSoftware& b) {
    using C = EstendidoSoftware::Classe;
    const bool negativo = a.negativo_ != b.negativo_;
    if (a.classe_ == C::NaN || b.classe_ == C::NaN) return EstendidoSoftware::nan();
    if (a.classe_ == C::Infinito || b.classe_ == C::Infinito) {
        if (a.classe_ == C::Zero || b.classe_ == C::Zero) return EstendidoSoftware::nan();
        return EstendidoSoftware::infinito(negativo);
    }
    if (a.classe_ == C::Zero || b.classe_ == C::Zero) {
        EstendidoSoftware r;
        r.negativo_ = negativo;
        return r;
    }
    // The whole product fits in 128 bits: exact before the one rounding.
    return Arredondamento::valor(negativo, u128{a.m_} * b.m_, a.e_ + b.e_ - 126);
}

EstendidoSoftware operator/(const EstendidoSoftware& a, const EstendidoSoftware& b) {
    using C = EstendidoSoftware::Classe;
    const bool negativo = a.negativo_ != b.negativo_;
    if (a.classe_ == C::NaN || b.classe_ == C::NaN) return EstendidoSoftware::nan();
    if (a.classe_ == C::Infinito) {
        if (b.classe_ == C::Infinito) return EstendidoSoftware::nan();
        return EstendidoSoftware::infinito(negativo);
    }
    if (b.classe_ == C::Zero) {
        if (a.classe_ == C::Zero) return EstendidoSoftware::nan();
        return EstendidoSoftware::infinito(negativo);
    }
    if (a.classe_ == C::Zero || b.classe_ == C::Infinito) {
        EstendidoSoftware r;
        r.negativo_ = negativo;
        return r;
    }
    // 128 quotient bits, floor(ma * 2^127 / mb), in two 128-by-64 steps; the
    // last remainder is the sticky bit.
    const u128 x = u128{a.m_} << 63;
    const u128 q1 = x / b.m_; // below 2^64: ma < 2^64 <= 2 mb
    const std::uint64_t r1 = static_cast<std::uint64_t>(x % b.m_);
    const u128 x2 = u128{r1} << 64;
    const std::uint64_t q0 = static_cast<std::uint64_t>(x2 / b.m_);
    const bool resto = x2 % b.m_ != 0;
    u128 q = (q1 << 64) | q0;
    if (resto) q |= 1;
    return Arredondamento::valor(negativo, q, a.e_ - b.e_ - 127);
}

int EstendidoSoftware::comparar(const EstendidoSoftware& a, const EstendidoSoftware& b) {
    if (a.classe_ == Classe::NaN || b.classe_ == Classe::NaN) return 2;
    auto sinal = [](const EstendidoSoftware& v) {
        return v.classe_ == Classe::Zero ? 0 : v.negativo_ ? -1 : 1;
    };
    const int sa = sinal(a), sb = sinal(b);
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    int c; // magnitudes
    if (a.classe_ == Classe::Infinito || b.classe_ == Classe::Infinito) {
        c = (a.classe_ == Classe::Infinito) - (b.classe_ == Classe::Infinito);
    } else if (a.e_ != b.e_) {
        c = a.e_ < b.e_ ? -1 : 1;
    } else {
        c = a.m_ < b.m_ ? -1 : a.m_ > b.m_ ? 1 : 0;
    }
    return sa < 0 ? -c : c;
}

EstendidoSoftware EstendidoSoftware::piso() const {
    if (classe_ != Classe::Finito || e_ >= 63) return *this; // already whole
    if (e_ < 0) return negativo_ ? EstendidoSoftware(-1) : EstendidoSoftware();
    const int casas = 63 - e_;
    const std::uint64_t fracao = (std::uint64_t{1} << casas) - 1;
    if ((m_ & fracao) == 0) return *this;
    EstendidoSoftware r = *this;
    r.m_ &= ~fracao;
    if (negativo_) { // one more in magnitude
        const u128 s = u128{r.m_} + (std::uint64_t{1} << casas);
        if ((s >> 64) != 0) {
            r.m_ = std::uint64_t{1} << 63;
            ++r.e_;
        } else {
            r.m_ = static_cast<std::uint64_t>(s);
        }
    }
    return r;
}

bool EstendidoSoftware::mesmos_bits(const EstendidoSoftware& b) const {
    if (classe_ != b.classe_) return false;
    if (classe_ == Classe::NaN) return true;
    if (negativo_ != b.negativo_) return false;
    return classe_ != Classe::Finito || (m_ == b.m_ && e_ == b.e_);
}

Estendido estendido_de_partes(bool negativo, std::uint64_t m, int expoente) {
#if QUARVEL_ESTENDIDO_HARDWARE
    const long double v = std::ldexp(static_cast<long double>(m), expoente);
    return negativo ? -v : v;
#else
    return EstendidoSoftware::de_partes(negativo, m, expoente);
#endif
}

} // namespace quarvel::calc
