// The software extended type against the x87 long double, bit for bit, on
// every operation the amount rules use. Where long double is that format
// (x86-64) the hardware is the reference; the same type then runs on other
// processors, where the cross-built check compares whole results.
#include "calc/estendido.h"

#include "tests/calc/gerador_estendido.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using quarvel::calc::EstendidoSoftware;

namespace {

EstendidoSoftware partes(bool neg, std::uint64_t m, int e) {
    return EstendidoSoftware::de_partes(neg, m, e);
}

// Known answers, which need no hardware to check.
TEST(EstendidoSoftware, ArredondaAoParMaisProximo) {
    const std::uint64_t todos = ~std::uint64_t{0};
    // 2^64 - 1 is exact; + 1/2 is a tie that goes to the even 2^64.
    EXPECT_TRUE((partes(false, todos, 0) + 0.5).mesmos_bits(partes(false, 1, 64)));
    // (2^64 - 2) + 1/2 ties down to the even 2^64 - 2.
    EXPECT_TRUE((partes(false, todos - 1, 0) + 0.5).mesmos_bits(partes(false, todos - 1, 0)));
    // Past the tie, by the smallest amount, it goes up.
    const EstendidoSoftware pouco_mais = partes(false, (std::uint64_t{1} << 63) | 1, -64);
    EXPECT_TRUE((partes(false, todos - 1, 0) + pouco_mais).mesmos_bits(partes(false, todos, 0)));
    // 2675 / 1000 is not exact; 3 * (1/3) comes back to 1 only by rounding.
    const EstendidoSoftware terco = EstendidoSoftware(1) / 3;
    EXPECT_TRUE((terco * 3).mesmos_bits(EstendidoSoftware(1)));
    EXPECT_EQ(static_cast<double>(EstendidoSoftware(2675) / 1000), 2.675);
}

TEST(EstendidoSoftware, ExtremosDaFaixa) {
    const EstendidoSoftware maior = partes(false, ~std::uint64_t{0}, 16383 - 63);
    EXPECT_TRUE((maior * 2).mesmos_bits(EstendidoSoftware::infinito(false)));
    EXPECT_FALSE((maior + 1).mesmos_bits(EstendidoSoftware::infinito(false)));
    const EstendidoSoftware menor = partes(false, 1, -16445); // the smallest above zero
    EXPECT_FALSE(menor.zero());
    EXPECT_TRUE((menor / 2).zero());     // the exact half ties to zero
    EXPECT_FALSE((menor * 0.75).zero()); // above the half: back to the smallest
    EXPECT_TRUE(partes(false, 1, -16446).zero());
    EXPECT_TRUE((menor - menor).mesmos_bits(EstendidoSoftware(0)));
    EXPECT_TRUE((-menor / 4).mesmos_bits(-EstendidoSoftware(0)));
    EXPECT_TRUE((EstendidoSoftware(1) / 0).mesmos_bits(EstendidoSoftware::infinito(false)));
    EXPECT_TRUE((EstendidoSoftware(0) / 0).eh_nan());
    EXPECT_FALSE(EstendidoSoftware::nan() == EstendidoSoftware::nan());
    EXPECT_TRUE(EstendidoSoftware::nan() != EstendidoSoftware::nan());
}

#if QUARVEL_LONG_DOUBLE_X87

std::string mostrar(long double v) {
    std::ostringstream s;
    s << std::setprecision(21) << v;
    if (std::isfinite(v) && v != 0) {
        const auto p = quarvel::calc::partes_x87(v);
        s << " (" << std::hex << p.mantissa << std::dec << " * 2^" << p.expoente << ")";
    }
    return s.str();
}

::testing::AssertionResult mesmos_bits(long double esperado, const EstendidoSoftware& obtido) {
    if (EstendidoSoftware(esperado).mesmos_bits(obtido)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "hardware " << mostrar(esperado) << ", software "
                                         << mostrar(static_cast<long double>(obtido));
}

bool mesmo_double(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every operation of the rules on one pair, hardware against software.
::testing::AssertionResult conferir_par(long double a, long double b) {
    const EstendidoSoftware sa(a), sb(b);
    // volatile: each result goes through memory, rounded as stored.
    volatile long double soma = a + b, diferenca = a - b, produto = a * b, quociente = a / b;
    struct {
        const char* nome;
        long double hw;
        EstendidoSoftware sw;
    } casos[] = {
        {"+", soma, sa + sb},      {"-", diferenca, sa - sb},          {"*", produto, sa * sb},
        {"/", quociente, sa / sb}, {"piso", std::floor(a), sa.piso()}, {"-a", -a, -sa}};
    for (const auto& c : casos) {
        auto r = mesmos_bits(c.hw, c.sw);
        if (!r) return r << " em " << mostrar(a) << " " << c.nome << " " << mostrar(b);
    }
    const bool cmp_hw[] = {a == b, a != b, a<b, a <= b, a> b, a >= b};
    const bool cmp_sw[] = {sa == sb, sa != sb, sa<sb, sa <= sb, sa> sb, sa >= sb};
    for (int i = 0; i < 6; ++i)
        if (cmp_hw[i] != cmp_sw[i])
            return ::testing::AssertionFailure()
                   << "comparação " << i << " em " << mostrar(a) << " e " << mostrar(b);
    if (!mesmo_double(static_cast<double>(a), static_cast<double>(sa)))
        return ::testing::AssertionFailure() << "para double: " << mostrar(a);
    if (!(static_cast<long double>(sa) == a || (std::isnan(a) && sa.eh_nan())))
        return ::testing::AssertionFailure() << "ida e volta: " << mostrar(a);
    if (std::isfinite(a) && a != 0) {
        const auto ph = quarvel::calc::partes_x87(a);
        const auto ps = sa.partes();
        if (ph.negativo != ps.negativo || ph.mantissa != ps.mantissa || ph.expoente != ps.expoente)
            return ::testing::AssertionFailure() << "partes: " << mostrar(a);
    }
    if (a >= 0 && a < 0x1p64L &&
        static_cast<unsigned long long>(a) != static_cast<unsigned long long>(sa))
        return ::testing::AssertionFailure() << "inteiro: " << mostrar(a);
    return ::testing::AssertionSuccess();
}

TEST(EstendidoSoftware, IgualAoHardwareNosCasosDeBorda) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double maior = std::numeric_limits<long double>::max();
    const long double normal = std::numeric_limits<long double>::min();
    const long double menor = std::numeric_limits<long double>::denorm_min();
    const long double valores[] = {0.0L,
                                   -0.0L,
                                   1.0L,
                                   -1.0L,
                                   0.5L,
                                   2.675L,
                                   1e18L,
                                   0x1p64L - 1,
                                   0x1p63L + 0.5L,
                                   18446744073709551615.5L,
                                   1.0L + 0x1p-63L,
                                   1.0L - 0x1p-64L,
                                   0x1p-53L,
                                   1.5L * 0x1p-1074L,
                                   0x1p-1075L,
                                   0x1p1024L,
                                   0x1.fffffffffffffp1023L + 0x1p970L,
                                   maior,
                                   -maior,
                                   normal,
                                   normal / 3,
                                   menor,
                                   menor * 3,
                                   inf,
                                   -inf,
                                   std::numeric_limits<long double>::quiet_NaN(),
                                   1e4000L,
                                   1e-4000L,
                                   -2.5L,
                                   -0.3L};
    for (long double a : valores)
        for (long double b : valores)
            EXPECT_TRUE(conferir_par(a, b));
}

TEST(EstendidoSoftware, IgualAoHardwareEmMilhoesDeOperandos) {
    quarvel::teste::GeradorEstendido g(20261208);
    int falhas = 0;
    for (int i = 0; i < quarvel::teste::rodadas(1000000) && falhas < 10; ++i) {
        const long double a = g.valor();
        const long double b = g.vizinho(a);
        const auto r = conferir_par(a, b);
        if (!r) {
            ADD_FAILURE() << r.message();
            ++falhas;
        }
    }
}

TEST(EstendidoSoftware, DeDoubleExato) {
    quarvel::teste::GeradorEstendido g(7);
    for (int i = 0; i < quarvel::teste::rodadas(1000000); ++i) {
        const double d = g.duplo();
        ASSERT_TRUE(mesmos_bits(static_cast<long double>(d), EstendidoSoftware(d))) << d;
    }
    for (double d :
         {0.0, -0.0, std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
          std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()})
        EXPECT_TRUE(mesmos_bits(static_cast<long double>(d), EstendidoSoftware(d))) << d;
}

// What the core does with the type: digits accumulated one at a time past
// 19, scaled by powers of ten, and the four partial sums of doubles.
TEST(EstendidoSoftware, IgualAoHardwareNosCaminhosDoNucleo) {
    quarvel::teste::GeradorEstendido g(99);
    for (int i = 0; i < quarvel::teste::rodadas(20000); ++i) {
        long double h = 0;
        EstendidoSoftware s;
        const int digitos = g.entre(1, 40);
        for (int k = 0; k < digitos; ++k) {
            const int d = g.entre(0, 9);
            h = h * 10 + d;
            s = s * 10 + d;
        }
        ASSERT_TRUE(mesmos_bits(h, s));
        long double ph = 1, bh = 10;
        EstendidoSoftware ps = 1, bs = 10;
        for (int n = g.entre(0, 6000); n > 0; n >>= 1) {
            if (n & 1) {
                ph *= bh;
                ps *= bs;
            }
            bh *= bh;
            bs *= bs;
        }
        ASSERT_TRUE(mesmos_bits(ph, ps));
        ASSERT_TRUE(mesmos_bits(h / ph, s / ps));
        ASSERT_TRUE(mesmos_bits(h * ph, s * ps));
    }
    long double hs[4] = {};
    EstendidoSoftware ss[4];
    for (int i = 0; i < quarvel::teste::rodadas(200000); ++i) {
        const double d =
            i % 3 == 0 ? g.duplo() : std::ldexp(g.entre(-99999, 99999), -g.entre(0, 60));
        if (!std::isfinite(d)) continue;
        hs[i % 4] += d;
        ss[i % 4] += d;
    }
    ASSERT_TRUE(mesmos_bits(((hs[0] + hs[1]) + hs[2]) + hs[3], ((ss[0] + ss[1]) + ss[2]) + ss[3]));
}

#endif

} // namespace
