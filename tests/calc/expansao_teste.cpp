// The exact 18-digit expansion against printf's "%.17Le", which rounds the
// exact binary value to nearest with ties to even: digit for digit, for every
// kind of long double.
#include "calc/centavos.h"

#include "tests/calc/gerador_estendido.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

using quarvel::calc::Estendido;
using quarvel::calc::expandir;

namespace {

#if QUARVEL_LONG_DOUBLE_X87

// "-d.ddd...e+XX" read into sign, 18 digits and exponent.
std::string por_printf(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    std::string r = buf[0] == '-' ? "-" : "";
    const char* p = buf + r.size();
    for (; *p != 'e'; ++p)
        if (*p != '.') r += *p;
    return r + " e" + std::to_string(std::atoi(p + 1));
}

std::string por_expansao(long double v) {
    const auto x = expandir(Estendido(v));
    return (x.negativo ? "-" : "") + std::to_string(x.digitos) + " e" + std::to_string(x.expoente);
}

::testing::AssertionResult igual_printf(long double v) {
    const std::string esperado = por_printf(v), obtido = por_expansao(v);
    if (esperado == obtido) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "printf " << esperado << ", expansão " << obtido;
}

// Exact halves at the 19th significant digit, where ties to even decide.
TEST(Expansao, EmpatesNoDecimoNonoDigito) {
    const long double casos[] = {1000000000000000005.0L,  1000000000000000015.0L,
                                 1000000000000000025.0L,  9999999999999999995.0L,
                                 100000000000000000.5L,   100000000000000001.5L,
                                 999999999999999999.5L,   0.5L,
                                 123456789012345678.5L,   12345678901234567.25L,
                                 18446744073709551615.0L, 0.000000000000000000125L};
    for (long double v : casos) {
        EXPECT_TRUE(igual_printf(v));
        EXPECT_TRUE(igual_printf(-v));
    }
    // Nineteen-digit integers ending in 5 are exact, each a tie.
    quarvel::teste::GeradorEstendido g(5);
    for (int i = 0; i < quarvel::teste::rodadas(200000); ++i) {
        const std::uint64_t d = 100000000000000000ULL + g.bits() % 900000000000000000ULL;
        EXPECT_TRUE(igual_printf(static_cast<long double>(d * 10 + 5))) << d;
    }
}

TEST(Expansao, PotenciasDeDoisEDeDez) {
    for (int e = -16445; e <= 16383; ++e) {
        const long double v = std::ldexp(1.0L, e);
        ASSERT_TRUE(igual_printf(v)) << "2^" << e;
        if (e > -16445) {
            ASSERT_TRUE(igual_printf(std::nextafter(v, 0.0L))) << "2^" << e << " - 1 ulp";
        }
    }
    for (int e = -4950; e <= 4932; e += 1) {
        const std::string t = "1e" + std::to_string(e);
        const long double v = std::strtold(t.c_str(), nullptr);
        ASSERT_TRUE(igual_printf(v)) << t;
        ASSERT_TRUE(igual_printf(std::nextafter(v, HUGE_VALL))) << t << " + 1 ulp";
    }
    EXPECT_TRUE(igual_printf(std::numeric_limits<long double>::max()));
    EXPECT_TRUE(igual_printf(std::numeric_limits<long double>::min()));
    EXPECT_TRUE(igual_printf(std::numeric_limits<long double>::denorm_min()));
}

// Amounts as the tape reads them: a whole number of cents (or of half and
// tenth cents) divided by a power of ten in extended precision.
TEST(Expansao, ValoresEmCentavosEMeiosCentavos) {
    quarvel::teste::GeradorEstendido g(2026);
    for (int i = 0; i < quarvel::teste::rodadas(1000000); ++i) {
        const long double inteiro = static_cast<long double>((g.bits() >> g.entre(4, 63)) | 1);
        const long double v = inteiro / (i % 3 == 0 ? 100.0L : i % 3 == 1 ? 1000.0L : 10.0L);
        ASSERT_TRUE(igual_printf(v)) << static_cast<unsigned long long>(inteiro);
    }
}

TEST(Expansao, MilhoesDeValoresAleatorios) {
    quarvel::teste::GeradorEstendido g(123);
    int n = 0;
    for (int i = 0; i < quarvel::teste::rodadas(2000000); ++i) {
        // Mostly amounts; one in twenty anywhere in the range, where printf
        // itself takes long.
        const long double v =
            i % 20 == 0 ? g.valor()
                        : std::ldexp(static_cast<long double>(g.mantissa()), g.entre(-110, 110));
        if (!std::isfinite(v) || v == 0) continue;
        ++n;
        const auto r = igual_printf(v);
        ASSERT_TRUE(r) << "valor " << i;
    }
    EXPECT_GT(n, quarvel::teste::rodadas(1900000));
}

#else

TEST(Expansao, SoComLongDoubleX87) {
    GTEST_SKIP() << "printf's long double is the reference only where it is the x87 format";
}

#endif

} // namespace
