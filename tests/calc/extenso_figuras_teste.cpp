// The words under the total say what the figures above them say: the same
// whole number of reais and the same cents, at every magnitude the words
// cover. The words are read back to a number by a small reader of cheque
// Portuguese and compared with the money mask.
#include "calc/dinheiro.h"
#include "calc/extensos.h"
#include "tape/fita.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using quarvel::calc::kValorGrandeDemais;
using quarvel::calc::mascara_dinheiro;
using quarvel::calc::valor_extenso;

namespace {

struct Quantia {
    std::uint64_t reais = 0;
    unsigned centavos = 0;
    bool operator==(const Quantia& o) const { return reais == o.reais && centavos == o.centavos; }
};

std::ostream& operator<<(std::ostream& os, const Quantia& q) {
    return os << q.reais << " reais e " << q.centavos << " centavos";
}

// Reads words such as "UM MILHAO, DUZENTOS MIL REAIS E DEZ CENTAVOS" back to
// a number. Strict about what the words must agree on: orders of magnitude
// falling, singular only for one (UM MILHAO, UM REAL, UM CENTAVO), DE only
// before REAIS, nothing left over. Empty when the words do not read.
std::optional<Quantia> ler_extenso(const std::string& texto) {
    static const std::map<std::string, unsigned> numeros = {
        {"UM", 1},           {"DOIS", 2},         {"TRES", 3},         {"QUATRO", 4},
        {"CINCO", 5},        {"SEIS", 6},         {"SETE", 7},         {"OITO", 8},
        {"NOVE", 9},         {"DEZ", 10},         {"ONZE", 11},        {"DOZE", 12},
        {"TREZE", 13},       {"QUATORZE", 14},    {"QUINZE", 15},      {"DEZESSEIS", 16},
        {"DEZESSETE", 17},   {"DEZOITO", 18},     {"DEZENOVE", 19},    {"VINTE", 20},
        {"TRINTA", 30},      {"QUARENTA", 40},    {"CINQUENTA", 50},   {"SESSENTA", 60},
        {"SETENTA", 70},     {"OITENTA", 80},     {"NOVENTA", 90},     {"CEM", 100},
        {"CENTO", 100},      {"DUZENTOS", 200},   {"TREZENTOS", 300},  {"QUATROCENTOS", 400},
        {"QUINHENTOS", 500}, {"SEISCENTOS", 600}, {"SETECENTOS", 700}, {"OITOCENTOS", 800},
        {"NOVECENTOS", 900}};
    struct Ordem {
        std::uint64_t escala;
        bool singular;
    };
    static const std::map<std::string, Ordem> ordens = {
        {"MIL", {1000, false}},
        {"MILHAO", {1000000, true}},
        {"MILHOES", {1000000, false}},
        {"BILHAO", {1000000000, true}},
        {"BILHOES", {1000000000, false}},
        {"TRILHAO", {1000000000000, true}},
        {"TRILHOES", {1000000000000, false}},
    };

    if (texto == "ZERO") return Quantia{};
    std::istringstream palavras(texto);
    std::string p;
    Quantia q;
    std::uint64_t acumulado = 0;
    unsigned grupo = 0;
    std::uint64_t ultima_escala = 0; // 0: no order yet
    unsigned limite = 1000;          // the next number word of the group stays below it
    bool cento = false;              // CENTO needs tens or units after it
    bool reais_lidos = false, centavos_lidos = false, de = false;
    auto fechar_grupo = [&] {
        const bool ok = !cento;
        limite = 1000;
        cento = false;
        return ok;
    };
    while (palavras >> p) {
        if (!p.empty() && p.back() == ',') p.pop_back();
        if (centavos_lidos) return std::nullopt; // nothing after the cents
        if (p == "E") continue;
        if (de && p != "REAIS") return std::nullopt;
        if (auto n = numeros.find(p); n != numeros.end()) {
            const unsigned v = n->second;
            if (v >= limite) return std::nullopt;
            grupo += v;
            limite = v >= 100 ? 100 : (v >= 20 ? 10 : 0);
            if (p == "CEM") limite = 0;
            cento = p == "CENTO";
        } else if (auto o = ordens.find(p); o != ordens.end()) {
            const Ordem ordem = o->second;
            if (!fechar_grupo() || reais_lidos || grupo == 0 ||
                (ordem.singular != (grupo == 1) && ordem.escala > 1000))
                return std::nullopt;
            if (ultima_escala != 0 && ordem.escala >= ultima_escala) return std::nullopt;
            acumulado += grupo * ordem.escala;
            ultima_escala = ordem.escala;
            grupo = 0;
        } else if (p == "DE") {
            if (grupo != 0 || acumulado % 1000000 != 0) return std::nullopt;
            de = true;
        } else if (p == "REAL" || p == "REAIS") {
            if (!fechar_grupo() || reais_lidos) return std::nullopt;
            q.reais = acumulado + grupo;
            if (q.reais == 0 || (p == "REAL") != (q.reais == 1)) return std::nullopt;
            if (de != (q.reais % 1000000 == 0)) return std::nullopt;
            reais_lidos = true;
            de = false;
            acumulado = grupo = 0;
        } else if (p == "CENTAVO" || p == "CENTAVOS") {
            if (!fechar_grupo() || grupo == 0 || grupo > 99 || acumulado != 0 ||
                (p == "CENTAVO") != (grupo == 1))
                return std::nullopt;
            q.centavos = grupo;
            grupo = 0;
            centavos_lidos = true;
        } else {
            return std::nullopt;
        }
    }
    if (grupo != 0 || acumulado != 0 || de || (!reais_lidos && !centavos_lidos))
        return std::nullopt;
    return q;
}

// The figures of a money mask without its sign: "-1.234,56" -> 1234 and 56.
// Empty past 18 integer digits (a uint64 holds them, the words do not).
std::optional<Quantia> ler_figuras(const std::string& mascara) {
    Quantia q;
    std::size_t i = mascara.size() > 0 && mascara[0] == '-' ? 1 : 0;
    int digitos = 0;
    for (; i < mascara.size() && mascara[i] != ','; ++i) {
        if (mascara[i] == '.') continue;
        if (mascara[i] < '0' || mascara[i] > '9' || ++digitos > 18) return std::nullopt;
        q.reais = q.reais * 10 + static_cast<unsigned>(mascara[i] - '0');
    }
    if (i + 3 != mascara.size()) return std::nullopt;
    q.centavos = static_cast<unsigned>((mascara[i + 1] - '0') * 10 + (mascara[i + 2] - '0'));
    return q;
}

constexpr std::uint64_t kReaisSemPalavras = 1000000000000000; // 10^15

// Empty when the words and the figures agree; otherwise what differs.
std::string desacordo(double total) {
    const std::string figuras = mascara_dinheiro(total);
    const std::string palavras = valor_extenso(total);
    const auto f = ler_figuras(figuras);
    if (!f) return "figures do not read: " + figuras;
    std::ostringstream os;
    if (f->reais >= kReaisSemPalavras) {
        if (palavras == kValorGrandeDemais) return {};
        os << "R$ " << figuras << " is beyond words but reads " << palavras;
        return os.str();
    }
    const auto p = ler_extenso(palavras);
    if (!p) return "words do not read: " + palavras + " (R$ " + figuras + ")";
    if (*p == *f) return {};
    os << "R$ " << figuras << " above " << palavras;
    return os.str();
}

std::string exato(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

} // namespace

TEST(LeitorDeExtenso, LeOQueOChequeDiz) {
    EXPECT_EQ(ler_extenso("ZERO"), (Quantia{0, 0}));
    EXPECT_EQ(ler_extenso("UM CENTAVO"), (Quantia{0, 1}));
    EXPECT_EQ(ler_extenso("UM MIL, CEM REAIS E DEZ CENTAVOS"), (Quantia{1100, 10}));
    EXPECT_EQ(ler_extenso("DOIS MILHOES DE REAIS E CINQUENTA CENTAVOS"), (Quantia{2000000, 50}));
    EXPECT_EQ(ler_extenso("UM TRILHAO, UM BILHAO DE REAIS"), (Quantia{1001000000000, 0}));
    EXPECT_EQ(ler_extenso("UM MILHAO E UM REAIS"), (Quantia{1000001, 0}));
    // words that a cheque would not carry
    for (const char* errado :
         {"", "REAIS", "UM REAIS", "DOIS REAL", "DOIS MILHAO DE REAIS", "UM MIL MILHOES DE REAIS",
          "UM MILHAO REAIS", "UM MIL DE REAIS", "DOIS CENTAVO", "CEM CENTAVOS",
          "UM CENTAVO E UM REAL", "UM REAL E UM CENTAVO E UM CENTAVO", "VINTE E TRINTA REAIS",
          "DEZ E UM REAIS", "CEM E UM REAIS", "CENTO REAIS", "TRES BANANAS"})
        EXPECT_FALSE(ler_extenso(errado).has_value()) << errado;
}

struct Fronteira {
    const char* nome;
    double valor;
    const char* figuras; // the money mask
    const char* palavras;
};

void PrintTo(const Fronteira& c, std::ostream* os) {
    *os << c.nome;
}

class PalavrasEFiguras : public ::testing::TestWithParam<Fronteira> {};

TEST_P(PalavrasEFiguras, DizemOMesmoValor) {
    const Fronteira& c = GetParam();
    SCOPED_TRACE(exato(c.valor));
    EXPECT_EQ(mascara_dinheiro(c.valor), c.figuras);
    EXPECT_EQ(valor_extenso(c.valor), c.palavras);
    EXPECT_EQ(desacordo(c.valor), "");
}

constexpr double k2e49 = 562949953421312.0; // from here on a double steps by 1/8

INSTANTIATE_TEST_SUITE_P(
    Fronteiras, PalavrasEFiguras,
    ::testing::Values(
        // exact half cents: the figures round away from zero
        Fronteira{"MeioCentavo_0_125", 0.125, "0,13", "TREZE CENTAVOS"},
        Fronteira{"MeioCentavoNegativo_0_125", -0.125, "-0,13", "TREZE CENTAVOS"},
        Fronteira{"MeioCentavo_0_375", 0.375, "0,38", "TRINTA E OITO CENTAVOS"},
        Fronteira{"MeioCentavo_0_625", 0.625, "0,63", "SESSENTA E TRES CENTAVOS"},
        Fronteira{"MeioCentavo_1001_8", 1001.0 / 8, "125,13",
                  "CENTO E VINTE E CINCO REAIS E TREZE CENTAVOS"},
        Fronteira{"MeioCentavoNegativo_1001_8", -1001.0 / 8, "-125,13",
                  "CENTO E VINTE E CINCO REAIS E TREZE CENTAVOS"},
        Fronteira{"MeioCentavo_100_125", 100.125, "100,13", "CEM REAIS E TREZE CENTAVOS"},
        // a binary value a hair below the half cent whose 18 digits reach it
        Fronteira{"DezoitoDigitos_1000_005", 1000.005, "1.000,01", "UM MIL REAIS E UM CENTAVO"},
        Fronteira{"DezoitoDigitosNegativo_1000000_995", -1000000.995, "-1.000.001,00",
                  "UM MILHAO E UM REAIS"},
        // and ones whose 18 digits stay below it
        Fronteira{"AbaixoDoMeio_0_995", 0.995, "0,99", "NOVENTA E NOVE CENTAVOS"},
        Fronteira{"AbaixoDoMeio_2_675", 2.675, "2,67", "DOIS REAIS E SESSENTA E SETE CENTAVOS"},
        Fronteira{"AbaixoDoMeio_0_015", 0.015, "0,01", "UM CENTAVO"},
        Fronteira{"AcimaDoMeio_999_995", 999.995, "1.000,00", "UM MIL REAIS"},
        // the smallest amounts
        Fronteira{"MeioCentavo_0_005", 0.005, "0,01", "UM CENTAVO"},
        Fronteira{"MeioCentavoNegativo_0_005", -0.005, "-0,01", "UM CENTAVO"},
        Fronteira{"ZeroNegativo_0_004", -0.004, "0,00", "ZERO"},
        Fronteira{"Zero_0_004", 0.004, "0,00", "ZERO"},
        Fronteira{"ZeroComSinal", -0.0, "0,00", "ZERO"},
        // around 2^49, where every other eighth of a real is a half cent
        Fronteira{"DoisA49MaisUmOitavo", k2e49 + 0.125, "562.949.953.421.312,13",
                  "QUINHENTOS E SESSENTA E DOIS TRILHOES, NOVECENTOS E QUARENTA E NOVE BILHOES, "
                  "NOVECENTOS E CINQUENTA E TRES MILHOES, QUATROCENTOS E VINTE E UM MIL, "
                  "TREZENTOS E DOZE REAIS E TREZE CENTAVOS"},
        Fronteira{"DoisA49MaisCincoOitavos", k2e49 + 0.625, "562.949.953.421.312,63",
                  "QUINHENTOS E SESSENTA E DOIS TRILHOES, NOVECENTOS E QUARENTA E NOVE BILHOES, "
                  "NOVECENTOS E CINQUENTA E TRES MILHOES, QUATROCENTOS E VINTE E UM MIL, "
                  "TREZENTOS E DOZE REAIS E SESSENTA E TRES CENTAVOS"},
        Fronteira{"DoisA49MenosSeteOitavos", -(k2e49 + 0.875), "-562.949.953.421.312,88",
                  "QUINHENTOS E SESSENTA E DOIS TRILHOES, NOVECENTOS E QUARENTA E NOVE BILHOES, "
                  "NOVECENTOS E CINQUENTA E TRES MILHOES, QUATROCENTOS E VINTE E UM MIL, "
                  "TREZENTOS E DOZE REAIS E OITENTA E OITO CENTAVOS"},
        Fronteira{"DoisA49MenosUmDezesseisAvos", k2e49 - 0.0625, "562.949.953.421.311,94",
                  "QUINHENTOS E SESSENTA E DOIS TRILHOES, NOVECENTOS E QUARENTA E NOVE BILHOES, "
                  "NOVECENTOS E CINQUENTA E TRES MILHOES, QUATROCENTOS E VINTE E UM MIL, "
                  "TREZENTOS E ONZE REAIS E NOVENTA E QUATRO CENTAVOS"},
        // 2^53 is past the words
        Fronteira{"DoisA53", 9007199254740992.0, "9.007.199.254.740.992,00", kValorGrandeDemais},
        Fronteira{"DoisA53Negativo", -9007199254740992.0, "-9.007.199.254.740.992,00",
                  kValorGrandeDemais},
        // one trillion
        Fronteira{"UmTrilhao", 1e12, "1.000.000.000.000,00", "UM TRILHAO DE REAIS"},
        Fronteira{"UmTrilhaoMaisUmOitavo", 1e12 + 0.125, "1.000.000.000.000,13",
                  "UM TRILHAO DE REAIS E TREZE CENTAVOS"},
        Fronteira{"QuaseUmTrilhao", 999999999999.995, "999.999.999.999,99",
                  "NOVECENTOS E NOVENTA E NOVE BILHOES, NOVECENTOS E NOVENTA E NOVE MILHOES, "
                  "NOVECENTOS E NOVENTA E NOVE MIL, NOVECENTOS E NOVENTA E NOVE REAIS E NOVENTA "
                  "E NOVE CENTAVOS"},
        // the last amounts before 10^15, and 10^15 itself
        Fronteira{"AbaixoDeDezA15CincoOitavos", 999999999999999.625, "999.999.999.999.999,63",
                  "NOVECENTOS E NOVENTA E NOVE TRILHOES, NOVECENTOS E NOVENTA E NOVE BILHOES, "
                  "NOVECENTOS E NOVENTA E NOVE MILHOES, NOVECENTOS E NOVENTA E NOVE MIL, "
                  "NOVECENTOS E NOVENTA E NOVE REAIS E SESSENTA E TRES CENTAVOS"},
        Fronteira{"AbaixoDeDezA15", 999999999999999.875, "999.999.999.999.999,88",
                  "NOVECENTOS E NOVENTA E NOVE TRILHOES, NOVECENTOS E NOVENTA E NOVE BILHOES, "
                  "NOVECENTOS E NOVENTA E NOVE MILHOES, NOVECENTOS E NOVENTA E NOVE MIL, "
                  "NOVECENTOS E NOVENTA E NOVE REAIS E OITENTA E OITO CENTAVOS"},
        Fronteira{"DezA15", 1e15, "1.000.000.000.000.000,00", kValorGrandeDemais},
        Fronteira{"DezA15Negativo", -1e15, "-1.000.000.000.000.000,00", kValorGrandeDemais}),
    [](const ::testing::TestParamInfo<Fronteira>& caso) { return std::string(caso.param.nome); });

// Totals of every kind, at every magnitude the words cover and a little past
// it: amounts typed with three decimals, sums of a tape, the eighths and
// sixteenths of large doubles, and doubles of any bit pattern.
TEST(PalavrasEFiguras, ConcordamEmMuitosTotais) {
    std::mt19937_64 gerador(20261208);
    // Raw draws only: the engine's sequence is fixed by the standard, the
    // distributions are not.
    auto ate = [&](std::uint64_t n) { return gerador() % n; };
    auto sinal = [&](double v) { return (gerador() & 1) ? -v : v; };
    auto potencia = [](int n) {
        std::uint64_t p = 1;
        while (n-- > 0)
            p *= 10;
        return p;
    };

    std::vector<double> totais;
    for (int i = 0; i < 6000; ++i) {
        // k/1000 with up to 18 digits: the double nearest a typed amount
        const auto k = ate(potencia(1 + static_cast<int>(ate(18))));
        totais.push_back(sinal(static_cast<double>(k) / 1000.0));
    }
    for (int i = 0; i < 6000; ++i) {
        // half cents and their neighbours, the cases most likely to split
        const auto reais = ate(potencia(static_cast<int>(ate(16))));
        const auto milesimos = 5 + 10 * ate(100);
        const double v = static_cast<double>(reais) + static_cast<double>(milesimos) / 1000.0;
        totais.push_back(sinal(v));
        totais.push_back(sinal(std::nextafter(v, 0.0)));
        totais.push_back(sinal(std::nextafter(v, 1e300)));
    }
    for (int i = 0; i < 4000; ++i) {
        // any double from 2^46 to 2^50, where one steps by 1/64 to 1/4 of a real
        const int faixa = 46 + static_cast<int>(ate(4));
        const auto k = (std::uint64_t{1} << 52) + ate(std::uint64_t{1} << 52);
        totais.push_back(sinal(std::ldexp(static_cast<double>(k), faixa - 52)));
    }
    for (int i = 0; i < 4000; ++i) {
        // any double from about 10^-4 to 2^53
        const std::uint64_t expoente = 1010 + ate(66);
        const std::uint64_t bits = (expoente << 52) | (gerador() & ((std::uint64_t{1} << 52) - 1));
        double v;
        static_assert(sizeof v == sizeof bits);
        std::memcpy(&v, &bits, sizeof v);
        totais.push_back(sinal(v));
    }
    for (int i = 0; i < 500; ++i) {
        // the total of a tape of typed amounts, as the main window sums it
        std::vector<std::string> brutos;
        const auto n = 1 + ate(40);
        for (std::uint64_t j = 0; j < n; ++j) {
            const auto k = ate(potencia(3 + static_cast<int>(ate(12))));
            brutos.push_back(quarvel::calc::valor_bruto(sinal(static_cast<double>(k) / 1000.0)));
        }
        totais.push_back(quarvel::tape::somar_brutos(brutos));
    }

    int falhas = 0;
    for (const double total : totais) {
        const std::string d = desacordo(total);
        if (d.empty()) continue;
        ADD_FAILURE() << exato(total) << ": " << d;
        if (++falhas == 10) break;
    }
    EXPECT_EQ(falhas, 0) << "of " << totais.size() << " totals";
}
