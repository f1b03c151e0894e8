#include "calc/grandeza.h"

#include "calc/inteiro128.h"

#include <cstring>

namespace quarvel::calc {

namespace {

// Unsigned integers of up to 384 bits, 64-bit words from the lowest.
constexpr int kPalavras = 6;
struct Numero {
    std::uint64_t w[kPalavras] = {};
};

int bits(const Numero& n) {
    for (int i = kPalavras - 1; i >= 0; --i)
        if (n.w[i] != 0) return 64 * i + 64 - __builtin_clzll(n.w[i]);
    return 0;
}

Numero deslocado(const Numero& n, int s) { // to the left; the result fits
    Numero r;
    const int p = s / 64, b = s % 64;
    for (int i = kPalavras - 1; i >= p; --i) {
        r.w[i] = n.w[i - p] << b;
        if (b != 0 && i - p - 1 >= 0) r.w[i] |= n.w[i - p - 1] >> (64 - b);
    }
    return r;
}

int comparar(const Numero& a, const Numero& b) {
    for (int i = kPalavras - 1; i >= 0; --i)
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
    return 0;
}

Numero multiplicado(const Numero& a, std::uint64_t f) {
    Numero r;
    std::uint64_t vai = 0;
    for (int i = 0; i < kPalavras; ++i) {
        const u128 p = u128{a.w[i]} * f + vai;
        r.w[i] = static_cast<std::uint64_t>(p);
        vai = static_cast<std::uint64_t>(p >> 64);
    }
    return r;
}

Numero somado(Numero a, std::uint64_t v) {
    for (int i = 0; i < kPalavras && v != 0; ++i) {
        a.w[i] += v;
        v = a.w[i] < v ? 1 : 0;
    }
    return a;
}

// A bound T, irrational, lies strictly between m * 2^e and (m + 1) * 2^e,
// m of 256 bits (its bit 255 set).
struct Limite {
    Numero m;
    int e;
};
// 10^(37 + 2^-48) and 10^(-37 - 2^-48).
const Limite kAlto = {
    {{0xd1b5a497da2a9658, 0x40afac7d40ab3331, 0xe1be29dda9517893, 0xf0bdc21abb4b0573, 0, 0}}, -133};
const Limite kBaixo = {
    {{0x26f6c75046603165, 0xa0f245f3263dd3be, 0x1ceedc734ccfd052, 0x881cea14545b3c0c, 0, 0}}, -378};

// |x| = m * 2^e, exactly.
struct Decomposto {
    std::uint64_t m;
    int e;
};
Decomposto decompor(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    const int e = static_cast<int>((b >> 52) & 0x7ff);
    const std::uint64_t f = b & ((std::uint64_t{1} << 52) - 1);
    if (e == 0) return {f, -1074};
    return {f | (std::uint64_t{1} << 52), e - 1075};
}

// v * 2^e against T: -1 below, 1 above (never equal, T being irrational).
// v has at most 256 bits, so aligned with m it is a whole number of units
// and lies either at or below m, or at or above m + 1.
int contra(const Numero& v, int e, const Limite& t) {
    const int topo = bits(v) - 1 + e, topo_t = 255 + t.e;
    if (topo != topo_t) return topo < topo_t ? -1 : 1;
    return comparar(deslocado(v, 256 - bits(v)), t.m) > 0 ? 1 : -1;
}

// |a| / |b| against T, as |a| against T |b|, which lies strictly between
// l = m mb and u = l + mb (times a power of two).
int contra_quociente(const Decomposto& a, const Decomposto& b, const Limite& t) {
    const Numero l = multiplicado(t.m, b.m);
    const Numero u = somado(l, b.m);
    Numero x;
    x.w[0] = a.m;
    const int e = a.e - (t.e + b.e);
    const int topo = bits(x) - 1 + e;
    if (topo > bits(u) - 1) return 1;
    if (topo < bits(l) - 1) return -1;
    x = deslocado(x, e); // e > 0 here: l has 256 bits or more, a.m 53 at most
    if (comparar(x, l) <= 0) return -1;
    if (comparar(x, u) >= 0) return 1;
    // Within one unit of the 256th bit of the bound: by the count of
    // doubles, no quotient is expected to fall here; taken as below.
    return -1;
}

Grandeza classificar(int contra_alto, int contra_baixo) {
    if (contra_alto > 0) return Grandeza::Acima;
    if (contra_baixo < 0) return Grandeza::Abaixo;
    return Grandeza::Dentro;
}

} // namespace

Grandeza grandeza_produto(double a, double b) {
    const Decomposto da = decompor(a), db = decompor(b);
    const u128 p = u128{da.m} * db.m; // exact: 106 bits at most
    Numero v;
    v.w[0] = static_cast<std::uint64_t>(p);
    v.w[1] = static_cast<std::uint64_t>(p >> 64);
    const int e = da.e + db.e;
    return classificar(contra(v, e, kAlto), contra(v, e, kBaixo));
}

Grandeza grandeza_quociente(double a, double b) {
    const Decomposto da = decompor(a), db = decompor(b);
    return classificar(contra_quociente(da, db, kAlto), contra_quociente(da, db, kBaixo));
}

} // namespace quarvel::calc
