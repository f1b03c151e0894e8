#include "calc/dinheiro.h"

#include "calc/centavos.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quarvel::calc {

ErroConversao::ErroConversao(std::string_view texto)
    : std::runtime_error("'" + std::string(texto) + "' is not a valid floating point value") {}

namespace {

// Non-finite amounts never come out of the evaluator; if one reaches a form
// anyway it is written in a way no strict reading accepts, so it can never
// pass silently for an amount.
std::string nao_finito(Estendido valor) {
    if (eh_nan(valor)) return "NAN";
    return valor < 0 ? "-INF" : "INF";
}

// Exact in the extended type up to 10^27 = 5^27 * 2^27 (5^27 < 2^64), so one
// multiplication or division by these rounds once.
constexpr int kMaiorPotenciaExata = 27;
const std::array<Estendido, kMaiorPotenciaExata + 1> kPotencias = [] {
    std::array<Estendido, kMaiorPotenciaExata + 1> p{};
    std::uint64_t cinco = 1;
    for (int n = 0; n <= kMaiorPotenciaExata; ++n, cinco *= 5)
        p[static_cast<std::size_t>(n)] = estendido_de_partes(false, cinco, n);
    return p;
}();

Estendido potencia_de_dez(int n) {
    if (n <= kMaiorPotenciaExata) return kPotencias[static_cast<std::size_t>(n)];
    Estendido r = 1, base = 10;
    for (; n > 0; n >>= 1) {
        if (n & 1) r *= base;
        base *= base;
    }
    return r;
}

inline bool digito(char c) {
    return c >= '0' && c <= '9';
}

// The strict grammar in full; no allocation, no locale.
bool ler_geral(std::string_view texto, Estendido& saida) noexcept {
    const char* p = texto.data();
    const char* const fim = p + texto.size();
    while (p < fim && *p == ' ')
        ++p;
    bool negativo = false;
    if (p < fim && (*p == '+' || *p == '-')) {
        negativo = *p == '-';
        ++p;
    }
    // The first 19 digits are exact in a 64-bit integer, as they are in the
    // 64-bit mantissa; later ones go on in extended precision.
    std::uint64_t inteiro = 0;
    int lidos = 0;
    Estendido mantissa = 0;
    bool estendido = false;
    int casas = 0;
    bool corpo = false;
    auto acumular = [&](int d) {
        if (!estendido) {
            if (lidos < 19) {
                inteiro = inteiro * 10 + static_cast<std::uint64_t>(d);
                if (inteiro != 0) ++lidos;
                return;
            }
            mantissa = inteiro;
            estendido = true;
        }
        mantissa = mantissa * 10 + d;
    };
    for (; p < fim && digito(*p); ++p) {
        acumular(*p - '0');
        corpo = true;
    }
    if (p < fim && *p == ',') {
        ++p;
        corpo = true;
        for (; p < fim && digito(*p); ++p) {
            acumular(*p - '0');
            ++casas;
        }
    }
    if (!corpo) return false;
    int expoente = 0;
    if (p < fim && (*p == 'e' || *p == 'E')) {
        ++p;
        bool exp_negativo = false;
        if (p < fim && (*p == '+' || *p == '-')) {
            exp_negativo = *p == '-';
            ++p;
        }
        if (p == fim || !digito(*p)) return false;
        for (; p < fim && digito(*p); ++p)
            if (expoente < 100000) expoente = expoente * 10 + (*p - '0');
        if (exp_negativo) expoente = -expoente;
    }
    while (p < fim && *p == ' ')
        ++p;
    if (p != fim) return false;

    Estendido v = estendido ? mantissa : Estendido(inteiro);
    if (v != 0) {
        const long long escala = static_cast<long long>(expoente) - casas;
        if (escala > 0) {
            v *= potencia_de_dez(static_cast<int>(escala > 100000 ? 100000 : escala));
        } else if (escala < 0) {
            // Beyond the range a quotient would go to zero through infinity;
            // two steps keep very long fractions readable.
            long long resto = -escala;
            while (resto > 0) {
                const int passo = static_cast<int>(resto > 4000 ? 4000 : resto);
                v /= potencia_de_dez(passo);
                resto -= passo;
                if (v == 0) break;
            }
        }
        if (!finito(v)) return false;
    }
    saida = negativo ? -v : v;
    return true;
}

// The shape of nearly every raw value (sign, at most 19 digits, a "," and no
// blanks or exponent) read in one pass; anything else takes the full grammar,
// which gives the same result for these texts.
bool ler(std::string_view texto, Estendido& saida) noexcept {
    const char* p = texto.data();
    const char* const fim = p + texto.size();
    bool negativo = false;
    if (p < fim && (*p == '-' || *p == '+')) {
        negativo = *p == '-';
        ++p;
    }
    std::uint64_t mantissa = 0; // wraps past 19 digits, but then it is not used
    const char* const inicio = p;
    for (; p < fim; ++p) {
        const auto d = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (d > 9) break;
        mantissa = mantissa * 10 + d;
    }
    const auto inteiros = p - inicio;
    std::ptrdiff_t casas = 0;
    if (p < fim && *p == ',') {
        const char* const fracao = ++p;
        for (; p < fim; ++p) {
            const auto d = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
            if (d > 9) break;
            mantissa = mantissa * 10 + d;
        }
        casas = p - fracao;
    } else if (inteiros == 0) {
        return ler_geral(texto, saida);
    }
    if (p != fim || inteiros + casas > 19) return ler_geral(texto, saida);
    Estendido v = mantissa;
    if (casas > 0) v /= kPotencias[static_cast<std::size_t>(casas)];
    saida = negativo ? -v : v;
    return true;
}

const Estendido kMaiorDouble = std::numeric_limits<double>::max();

// The slot a raw value takes in the total's buffer: its strict reading as a
// double. False when it does not read, or lies beyond the range of a double.
inline bool slot_de(const std::string& bruto, double& slot) noexcept {
    Estendido v;
    if (!ler(bruto, v) || !(absoluto(v) <= kMaiorDouble)) return false;
    slot = static_cast<double>(v);
    return true;
}

} // namespace

namespace {

// The total's fold over n slots, slot(i, valor) giving slot i or false when
// value i has none: four extended-precision partial sums fed from the last
// value down, value i into partial (4 - i % 4) % 4, then ((s0 + s1) + s2) + s3.
// The empty slots above the last value hold +0.0; a partial sum that starts
// at +0.0 never becomes -0.0, so adding them would change nothing and they
// are skipped. Returns n, or the first value in list order without a slot.
double combinar(Estendido s0, Estendido s1, Estendido s2, Estendido s3) {
    const Estendido soma = ((s0 + s1) + s2) + s3;
    if (!(absoluto(soma) <= kMaiorDouble))
        return soma < 0 ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    return static_cast<double>(soma);
}

template <class Slot> std::size_t somar_em_ordem(std::size_t n, Slot slot, double& resultado) {
    Estendido s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t falha = n;
    auto somar = [&](std::size_t i, Estendido& s) {
        double v;
        if (slot(i, v))
            s += v;
        else
            falha = i; // walking down: the last one kept is the first in list order
    };
    std::size_t i = n;
    while (i % 4 != 0) {
        --i;
        switch (i % 4) {
        case 0:
            somar(i, s0);
            break;
        case 1:
            somar(i, s3);
            break;
        case 2:
            somar(i, s2);
            break;
        default:
            somar(i, s1);
            break;
        }
    }
    for (; i >= 4; i -= 4) {
        somar(i - 1, s1);
        somar(i - 2, s2);
        somar(i - 3, s3);
        somar(i - 4, s0);
    }
    if (falha != n) return falha;
    resultado = combinar(s0, s1, s2, s3);
    return n;
}

} // namespace

// Here, beside the reading, so that the reading inlines into the loop.
double somar_brutos(const std::vector<std::string>& brutos) {
    double r = 0;
    const std::size_t falha = somar_em_ordem(
        brutos.size(), [&brutos](std::size_t i, double& v) { return slot_de(brutos[i], v); }, r);
    if (falha != brutos.size()) throw ErroConversao(brutos[falha]);
    return r;
}

double slot_do_bruto(const std::string& bruto) noexcept {
    double v;
    return slot_de(bruto, v) ? v : std::numeric_limits<double>::quiet_NaN();
}

std::optional<Estendido> parcial_dos_slots(const std::vector<double>& slots, int classe) {
    // The slots of the class, from the highest down, as somar_em_ordem
    // meets them.
    const std::size_t resto = static_cast<std::size_t>((4 - classe) % 4);
    Estendido s = 0;
    if (slots.size() <= resto) return s;
    std::size_t i = slots.size() - 1;
    i -= (i + 4 - resto) % 4;
    for (;; i -= 4) {
        if (std::isnan(slots[i])) return std::nullopt;
        s += slots[i];
        if (i < 4) break;
    }
    return s;
}

double combinar_parciais(const Estendido (&parciais)[4]) {
    return combinar(parciais[0], parciais[1], parciais[2], parciais[3]);
}

namespace {

// The raw value of a finite, nonzero amount from its expansion.
std::string bruto(const Expansao& x) {
    // The 18 digits cut to 15, the 16th rounding the last kept one up.
    Expansao q = x;
    q.digitos = x.digitos / 1000;
    if (x.digitos % 1000 >= 500 && ++q.digitos == 1000000000000000ULL) {
        q.digitos = 100000000000000ULL;
        ++q.expoente;
    }
    const int e = q.expoente;
    char d[18];
    q.digitos *= 1000; // back to 18 digits for writing; the last three are 0
    escrever_digitos(q, d);
    std::size_t n = 15;
    while (n > 1 && d[n - 1] == '0')
        --n;

    char buf[40];
    char* p = buf;
    if (x.negativo) *p++ = '-';
    auto copiar = [&p](const char* de, std::size_t quantos) {
        std::memcpy(p, de, quantos);
        p += quantos;
    };
    auto zeros = [&p](std::size_t quantos) {
        std::memset(p, '0', quantos);
        p += quantos;
    };
    if (e >= -4 && e < 15) {
        if (e >= 0) {
            const auto inteiros = static_cast<std::size_t>(e) + 1;
            if (n <= inteiros) {
                copiar(d, n);
                zeros(inteiros - n);
            } else {
                copiar(d, inteiros);
                *p++ = ',';
                copiar(d + inteiros, n - inteiros);
            }
        } else {
            copiar("0,", 2);
            zeros(static_cast<std::size_t>(-e - 1));
            copiar(d, n);
        }
    } else {
        *p++ = d[0];
        if (n > 1) {
            *p++ = ',';
            copiar(d + 1, n - 1);
        }
        *p++ = 'E';
        const std::string exp = std::to_string(e);
        copiar(exp.data(), exp.size());
    }
    return std::string(buf, p);
}

// "###,###,##0.00" of a whole number of cents given by its digits (no
// leading zeros, "0" for none).
std::string mascara_de_centavos(bool negativo, std::string_view digitos) {
    const bool zero = digitos == "0";
    const std::size_t inteiros = digitos.size() > 2 ? digitos.size() - 2 : 1;
    std::string r;
    r.reserve(inteiros + inteiros / 3 + 4);
    if (negativo && !zero) r += '-';
    if (digitos.size() > 2) {
        for (std::size_t i = 0; i < inteiros; ++i) {
            if (i > 0 && (inteiros - i) % 3 == 0) r += '.';
            r += digitos[i];
        }
        r += ',';
        r.append(digitos.substr(inteiros));
    } else {
        r += "0,";
        if (digitos.size() < 2) r += '0';
        r.append(digitos);
    }
    return r;
}

// The cents are the ones the amount in words reads.
std::string mascara(const Expansao& x) {
    std::uint64_t c;
    if (centavos_inteiro(x, c)) {
        char buf[24];
        char* fim = buf + sizeof buf;
        char* p = fim;
        do {
            *--p = static_cast<char>('0' + c % 10);
            c /= 10;
        } while (c != 0);
        return mascara_de_centavos(x.negativo,
                                   std::string_view(p, static_cast<std::size_t>(fim - p)));
    }
    return mascara_de_centavos(x.negativo, centavos(x));
}

} // namespace

std::string valor_bruto(Estendido valor) {
    if (!finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0";
    return bruto(expandir(valor));
}

std::string mascara_dinheiro(Estendido valor) {
    if (!finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0,00";
    const Expansao x = expandir(valor);
    if (x.expoente >= 18) return bruto(x); // more than 18 integer digits
    return mascara(x);
}

std::string mascara_completa(Estendido valor) {
    if (!finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0,00";
    return mascara(expandir(valor));
}

std::string linha_fita(std::string_view bruto) {
    return mascara_dinheiro(ler_estrito_ou_erro(bruto));
}

std::optional<Estendido> ler_estrito(std::string_view texto) {
    Estendido v;
    if (!ler(texto, v)) return std::nullopt;
    return v;
}

Estendido ler_estrito_ou_erro(std::string_view texto) {
    Estendido v;
    if (!ler(texto, v)) throw ErroConversao(texto);
    return v;
}

std::optional<Estendido> extrair_valor(std::string_view texto) {
    // Walked from the end so that the last "," is the one that survives;
    // written from the end of the buffer, so the kept ones come out in order.
    char local[64];
    std::string grande;
    char* buf = local;
    if (texto.size() > sizeof local) {
        grande.resize(texto.size());
        buf = grande.data();
    }
    std::size_t inicio = texto.size();
    bool tem_virgula = false;
    for (auto i = texto.size(); i-- > 0;) {
        const char c = texto[i];
        if (digito(c) || (c == ',' && !tem_virgula) || ((c == '+' || c == '-') && i == 0)) {
            tem_virgula = tem_virgula || c == ',';
            buf[--inicio] = c;
        }
    }
    return ler_estrito(std::string_view(buf + inicio, texto.size() - inicio));
}

} // namespace quarvel::calc
