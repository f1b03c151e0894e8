#include "tape/formas_numero.h"

#include "tape/fita.h"

#include "calc/centavos.h"
#include "calc/infix.h"

#include <array>
#include <cstdint>
#include <limits>

namespace quarvel::tape {

ErroConversao::ErroConversao(std::string_view texto)
    : std::runtime_error("'" + std::string(texto) + "' is not a valid floating point value") {}

using calc::Estendido;

namespace {

// Non-finite amounts never come out of the evaluator; if one reaches a form
// anyway it is written in a way no strict reading accepts, so it can never
// pass silently for an amount.
std::string nao_finito(Estendido valor) {
    if (calc::eh_nan(valor)) return "NAN";
    return valor < 0 ? "-INF" : "INF";
}

// "1234567" -> "1.234.567"
std::string agrupar(const std::string& inteiro) {
    std::string r;
    r.reserve(inteiro.size() + inteiro.size() / 3);
    const auto n = inteiro.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r.push_back('.');
        r.push_back(inteiro[i]);
    }
    return r;
}

// Exact in the extended type up to 10^27 = 5^27 * 2^27 (5^27 < 2^64), so one
// multiplication or division by these rounds once.
constexpr int kMaiorPotenciaExata = 27;
const std::array<Estendido, kMaiorPotenciaExata + 1> kPotencias = [] {
    std::array<Estendido, kMaiorPotenciaExata + 1> p{};
    std::uint64_t cinco = 1;
    for (int n = 0; n <= kMaiorPotenciaExata; ++n, cinco *= 5)
        p[static_cast<std::size_t>(n)] = calc::estendido_de_partes(false, cinco, n);
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
        if (!calc::finito(v)) return false;
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
    if (!ler(bruto, v) || !(calc::absoluto(v) <= kMaiorDouble)) return false;
    slot = static_cast<double>(v);
    return true;
}

} // namespace

// Here rather than beside the tape so that the reading inlines into the loop.
double somar_brutos(const std::vector<std::string>& brutos) {
    const std::size_t n = brutos.size();
    if (n > kMaximoValores) throw std::length_error(kMensagemMaximo);

    // The buffer has kMaximoValores + 1 slots; slot k feeds partial sum
    // (kMaximoValores - k) % 4, taken from the top slot down. kMaximoValores
    // is a multiple of four, so position i goes to s0, s3, s2, s1 for
    // i % 4 = 0, 1, 2, 3. The empty slots above the last value hold +0.0; a
    // partial sum that starts at +0.0 never becomes -0.0, so adding them would
    // change nothing and they are skipped.
    static_assert(kMaximoValores % 4 == 0);
    Estendido s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t falha = n;
    auto somar = [&](std::size_t i, Estendido& s) {
        double slot;
        if (slot_de(brutos[i], slot))
            s += slot;
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
    if (falha != n) throw ErroConversao(brutos[falha]);

    const Estendido soma = ((s0 + s1) + s2) + s3;
    if (!(calc::absoluto(soma) <= kMaiorDouble))
        return soma < 0 ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    return static_cast<double>(soma);
}

std::string valor_bruto(Estendido valor) {
    if (!calc::finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0";

    const calc::Expansao x = calc::expandir(valor);
    std::string d = x.digitos.substr(0, 15);
    int e = x.expoente;
    if (x.digitos[15] >= '5' && calc::incrementar(d)) {
        d.insert(d.begin(), '1');
        d.pop_back();
        ++e;
    }
    while (d.size() > 1 && d.back() == '0')
        d.pop_back();

    std::string r = x.negativo ? "-" : "";
    if (e >= -4 && e < 15) {
        if (e >= 0) {
            const auto inteiros = static_cast<std::size_t>(e) + 1;
            if (d.size() <= inteiros) {
                r += d;
                r.append(inteiros - d.size(), '0');
            } else {
                r.append(d, 0, inteiros);
                r += ',';
                r.append(d, inteiros, std::string::npos);
            }
        } else {
            r += "0,";
            r.append(static_cast<std::size_t>(-e - 1), '0');
            r += d;
        }
    } else {
        r += d[0];
        if (d.size() > 1) {
            r += ',';
            r.append(d, 1, std::string::npos);
        }
        r += 'E';
        r += std::to_string(e);
    }
    return r;
}

namespace {

// The cents are the ones the amount in words reads.
std::string mascara(const calc::Expansao& x) {
    std::string centavos = calc::centavos(x);
    if (centavos.size() < 3) centavos.insert(0, 3 - centavos.size(), '0');
    const bool zero = centavos.find_first_not_of('0') == std::string::npos;

    std::string r = (x.negativo && !zero) ? "-" : "";
    r += agrupar(centavos.substr(0, centavos.size() - 2));
    r += ',';
    r.append(centavos, centavos.size() - 2, 2);
    return r;
}

} // namespace

std::string mascara_dinheiro(Estendido valor) {
    if (!calc::finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0,00";
    const calc::Expansao x = calc::expandir(valor);
    if (x.expoente >= 18) return valor_bruto(valor); // more than 18 integer digits
    return mascara(x);
}

std::string mascara_completa(Estendido valor) {
    if (!calc::finito(valor)) return nao_finito(valor);
    if (valor == 0) return "0,00";
    return mascara(calc::expandir(valor));
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
    // Walked from the end so that the last "," is the one that survives.
    std::string mantidos;
    bool tem_virgula = false;
    for (auto i = texto.size(); i-- > 0;) {
        const char c = texto[i];
        if (digito(c)) {
            mantidos.push_back(c);
        } else if (c == ',' && !tem_virgula) {
            mantidos.push_back(c);
            tem_virgula = true;
        } else if ((c == '+' || c == '-') && i == 0) {
            mantidos.push_back(c);
        }
    }
    return ler_estrito(std::string(mantidos.rbegin(), mantidos.rend()));
}

Conversao converter_entrada(std::string_view texto_entrada) {
    std::string expressao;
    expressao.reserve(texto_entrada.size());
    for (char c : texto_entrada) {
        if (c == '.') continue;
        expressao.push_back(c == ',' ? '.' : c);
    }
    const calc::ResultadoExpressao r = calc::evaluate_expression(expressao);
    return Conversao{valor_bruto(r.valor), r.posicao_erro};
}

bool entrada_recusada(std::string_view texto_entrada, const Conversao& c) {
    if (c.posicao_erro == 0) return false;
    return texto_entrada.find_first_not_of(' ') != std::string_view::npos;
}

} // namespace quarvel::tape
