// The 18-digit expansion, exact: for the value m * 2^e it finds the integer D
// of 18 digits nearest to m * 2^e * 10^j (ties to the even D), with j chosen
// so that D has 18 digits. Amounts of everyday size take one 128-bit product
// or quotient; very large and very small values take a longer road through
// multi-word integers. Either way the result is what printf's "%.17Le" gives
// for the same value in the default rounding mode.
#include "calc/centavos.h"

#include "calc/inteiro128.h"

#include <vector>

namespace quarvel::calc {

namespace {

constexpr std::uint64_t kDezAs17 = 100000000000000000ULL;
constexpr std::uint64_t kDezAs18 = 1000000000000000000ULL;

constexpr std::uint64_t potencia_10(int n) {
    std::uint64_t r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}
constexpr std::uint64_t potencia_5(int n) {
    std::uint64_t r = 1;
    for (int i = 0; i < n; ++i)
        r *= 5;
    return r;
}
template <int... N> struct Tabela {
    static constexpr std::uint64_t dez[] = {potencia_10(N)...};
    static constexpr std::uint64_t cinco[] = {potencia_5(N)...};
};
using Potencias = Tabela<0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                         21, 22, 23, 24, 25, 26, 27>;
constexpr int kMaiorCincoExato = 27; // 5^27 < 2^63
constexpr int kMaiorDezExato = 19;   // 10^19 < 2^64

u128 potencia_10_128(int n) { // n <= 38
    u128 r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

// floor(n * log10(2)) for |n| < 17000 (every exponent here): the constant is
// log10(2) * 2^44 cut down, off by less than 10^-9 over that range, and no
// such n * log10(2) comes within 2 * 10^-5 of a whole number.
int piso_log10_pot2(int n) {
    return static_cast<int>((static_cast<std::int64_t>(n) * 5295775688670LL) >> 44);
}

// The quotient's floor and where the rest stands against half the divisor.
struct Quociente {
    std::uint64_t q = 0;
    int resto = 0; // -1 below half, 0 exactly half, 1 above half; -2 when exact
};

std::uint64_t arredondar(const Quociente& x) {
    const bool subir = x.resto == 1 || (x.resto == 0 && (x.q & 1) != 0);
    return x.q + (subir ? 1 : 0);
}

// v / 2^t, t > 0, v < 2^128.
Quociente deslocar(u128 v, int t) {
    Quociente r;
    if (t >= 128) {
        r.resto = v == 0 ? -2 : -1; // far below half
        return r;
    }
    r.q = static_cast<std::uint64_t>(v >> t);
    const u128 resto = v & ((u128{1} << t) - 1);
    const u128 meio = u128{1} << (t - 1);
    r.resto = resto == 0 ? -2 : resto < meio ? -1 : resto == meio ? 0 : 1;
    return r;
}

// v / d, d > 0.
Quociente dividir(u128 v, u128 d) {
    Quociente r;
    r.q = static_cast<std::uint64_t>(v / d);
    const u128 resto = v % d;
    // 2 * resto against d, without overflow: resto < d.
    r.resto = resto == 0 ? -2 : resto < d - resto ? -1 : resto == d - resto ? 0 : 1;
    return r;
}

// Unsigned integers of any size, 64-bit words from the lowest.
class Grande {
  public:
    explicit Grande(std::uint64_t v) : w_{v} {}

    void multiplicar(std::uint64_t f) {
        std::uint64_t vai = 0;
        for (auto& w : w_) {
            const u128 p = u128{w} * f + vai;
            w = static_cast<std::uint64_t>(p);
            vai = static_cast<std::uint64_t>(p >> 64);
        }
        if (vai != 0) w_.push_back(vai);
    }
    void multiplicar_por_5(int n) {
        for (; n > kMaiorCincoExato; n -= kMaiorCincoExato)
            multiplicar(Potencias::cinco[kMaiorCincoExato]);
        multiplicar(Potencias::cinco[n]);
    }
    void deslocar_esquerda(int n) {
        const int palavras = n / 64, bits = n % 64;
        if (bits != 0) {
            std::uint64_t vai = 0;
            for (auto& w : w_) {
                const std::uint64_t novo = (w << bits) | vai;
                vai = w >> (64 - bits);
                w = novo;
            }
            if (vai != 0) w_.push_back(vai);
        }
        w_.insert(w_.begin(), static_cast<std::size_t>(palavras), 0);
    }
    void deslocar_direita_1() {
        for (std::size_t i = 0; i < w_.size(); ++i) {
            w_[i] >>= 1;
            if (i + 1 < w_.size()) w_[i] |= w_[i + 1] << 63;
        }
        aparar();
    }
    void subtrair(const Grande& b) { // b <= *this
        std::uint64_t emprestimo = 0;
        for (std::size_t i = 0; i < w_.size(); ++i) {
            const std::uint64_t bi = i < b.w_.size() ? b.w_[i] : 0;
            const u128 d = u128{w_[i]} - bi - emprestimo;
            w_[i] = static_cast<std::uint64_t>(d);
            emprestimo = static_cast<std::uint64_t>(d >> 64) != 0 ? 1 : 0;
        }
        aparar();
    }
    bool zero() const { return w_.size() == 1 && w_[0] == 0; }
    friend int comparar(const Grande& a, const Grande& b) {
        if (a.w_.size() != b.w_.size()) return a.w_.size() < b.w_.size() ? -1 : 1;
        for (auto i = a.w_.size(); i-- > 0;)
            if (a.w_[i] != b.w_[i]) return a.w_[i] < b.w_[i] ? -1 : 1;
        return 0;
    }

  private:
    void aparar() {
        while (w_.size() > 1 && w_.back() == 0)
            w_.pop_back();
    }
    std::vector<std::uint64_t> w_;
};

// a / b for a quotient below 2^64, one bit at a time; a becomes the rest.
Quociente dividir(Grande a, Grande b) {
    Quociente r;
    const Grande divisor = b;
    b.deslocar_esquerda(63);
    for (int i = 63; i >= 0; --i) {
        if (comparar(a, b) >= 0) {
            a.subtrair(b);
            r.q |= std::uint64_t{1} << i;
        }
        b.deslocar_direita_1();
    }
    // The rest a against half the divisor.
    if (a.zero()) {
        r.resto = -2;
    } else {
        a.deslocar_esquerda(1);
        const int c = comparar(a, divisor);
        r.resto = c < 0 ? -1 : c == 0 ? 0 : 1;
    }
    return r;
}

// floor and rest of m * 2^e2 * 10^j.
Quociente escalar(std::uint64_t m, int e2, int j) {
    if (e2 >= 0) {
        const int bits = 64 - __builtin_clzll(m) + e2;
        if (bits <= 128) {
            const u128 n = u128{m} << e2;
            if (j >= 0) return {static_cast<std::uint64_t>(n * Potencias::dez[j]), -2};
            if (j >= -38) return dividir(n, potencia_10_128(-j));
        }
    } else if (j >= 0 && j <= kMaiorCincoExato) {
        // m * 10^j / 2^s = m * 5^j / 2^(s - j)
        const u128 p = u128{m} * Potencias::cinco[j];
        const int t = -e2 - j;
        if (t > 0) return deslocar(p, t);
        return {static_cast<std::uint64_t>(p << -t), -2};
    } else if (j < 0 && -j <= kMaiorDezExato && -e2 < 64) {
        return dividir(u128{m}, u128{Potencias::dez[-j]} << -e2);
    }
    // m * 2^(e2 + j) * 5^j as a fraction of two integers.
    Grande num(m), den(1);
    if (j >= 0)
        num.multiplicar_por_5(j);
    else
        den.multiplicar_por_5(-j);
    if (e2 + j >= 0)
        num.deslocar_esquerda(e2 + j);
    else
        den.deslocar_esquerda(-(e2 + j));
    return dividir(num, den);
}

} // namespace

Expansao expandir(Estendido valor) {
    const Partes p = partes(valor);
    const int bits = 64 - __builtin_clzll(p.mantissa);
    // The value lies in [2^(e2+bits-1), 2^(e2+bits)): its decimal exponent is
    // this estimate or one more.
    int k = piso_log10_pot2(p.expoente + bits - 1);
    Quociente q = escalar(p.mantissa, p.expoente, 17 - k);
    if (q.q >= kDezAs18) {
        ++k;
        q = escalar(p.mantissa, p.expoente, 17 - k);
    }
    std::uint64_t d = arredondar(q);
    if (d == kDezAs18) { // 99...9,5 rounds up to the next power of ten
        d = kDezAs17;
        ++k;
    }
    return {p.negativo, d, k};
}

void escrever_digitos(const Expansao& x, char* saida) {
    static constexpr char kPares[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
    std::uint64_t d = x.digitos;
    for (int i = 16; i >= 0; i -= 2) {
        const auto par = static_cast<std::size_t>(d % 100) * 2;
        d /= 100;
        saida[i] = kPares[par];
        saida[i + 1] = kPares[par + 1];
    }
}

bool centavos_inteiro(const Expansao& x, std::uint64_t& c) {
    const int manter = x.expoente + 1 + 2; // digits up to the second decimal
    if (manter > 18) return false;
    if (manter < 0) {
        c = 0;
    } else if (manter == 0) {
        c = x.digitos >= 5 * kDezAs17 ? 1 : 0;
    } else {
        const std::uint64_t corte = Potencias::dez[18 - manter];
        c = x.digitos / corte;
        if (corte > 1 && (x.digitos % corte) / (corte / 10) >= 5) ++c;
    }
    return true;
}

std::string centavos(const Expansao& x) {
    std::uint64_t c;
    if (centavos_inteiro(x, c)) return std::to_string(c);
    // Past the 18 digits the cents are those digits and zeros.
    char d[18];
    escrever_digitos(x, d);
    return std::string(d, 18) + std::string(static_cast<std::size_t>(x.expoente + 3 - 18), '0');
}

} // namespace quarvel::calc
