// The exact magnitude test: at the doubles on either side of its bounds, and
// against the extended-precision logarithms it stands for.
#include "calc/grandeza.h"

#include "calc/estendido.h"

#include "tests/calc/gerador_estendido.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using quarvel::calc::Grandeza;
using quarvel::calc::grandeza_produto;
using quarvel::calc::grandeza_quociente;

namespace {

// The doubles just below and just above 10^(37 + 2^-48) and 10^(-37 - 2^-48).
constexpr double kAbaixoDoAlto = 0x1.e17b843576960p+122;
constexpr double kAcimaDoAlto = 0x1.e17b843576961p+122;
constexpr double kAbaixoDoBaixo = 0x1.1039d428a8b67p-123;
constexpr double kAcimaDoBaixo = 0x1.1039d428a8b68p-123;

TEST(Grandeza, DecideNosDoublesVizinhosDosLimites) {
    struct Caso {
        double a, b;
        Grandeza produto;
    } casos[] = {
        {1e37, 1, Grandeza::Dentro},
        {1e36, 10, Grandeza::Dentro},
        {1e37, 10, Grandeza::Acima},
        {1e-37, 1, Grandeza::Dentro},
        {1e-38, 1, Grandeza::Abaixo},
        {kAbaixoDoAlto, 1, Grandeza::Dentro},
        {kAcimaDoAlto, 1, Grandeza::Acima},
        {kAcimaDoAlto / 1024, 1024, Grandeza::Acima},
        {-kAcimaDoAlto, -0.5, Grandeza::Dentro},
        {kAbaixoDoBaixo, 1, Grandeza::Abaixo},
        {kAcimaDoBaixo, 1, Grandeza::Dentro},
        {kAcimaDoBaixo * 8, 0.125, Grandeza::Dentro},
        {DBL_MAX, DBL_MAX, Grandeza::Acima},
        {DBL_TRUE_MIN, DBL_TRUE_MIN, Grandeza::Abaixo},
        {DBL_TRUE_MIN, DBL_MAX, Grandeza::Dentro},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::Message() << c.a << " e " << c.b);
        EXPECT_EQ(grandeza_produto(c.a, c.b), c.produto);
        // The same product as a quotient by the reciprocal, where it is exact.
        if (std::fabs(c.b) == 1 || std::fabs(c.b) == 1024 || std::fabs(c.b) == 0.5 ||
            std::fabs(c.b) == 0.125) {
            EXPECT_EQ(grandeza_quociente(c.a, 1 / c.b), c.produto);
        }
    }
    // 3 kAcimaDoAlto rounds up, so the quotient by 3 lies above it: not exact,
    // still decided.
    EXPECT_EQ(grandeza_quociente(kAcimaDoAlto * 3, 3), Grandeza::Acima);
    EXPECT_EQ(grandeza_quociente(1, 1e37), Grandeza::Dentro);
    EXPECT_EQ(grandeza_quociente(1, 1e38), Grandeza::Abaixo);
    EXPECT_EQ(grandeza_quociente(1e300, 1e-300), Grandeza::Acima);
}

#if QUARVEL_LONG_DOUBLE_X87

// The rule as it was first written: natural logarithms in extended
// precision, their decimal quotient stored as a double, then compared.
constexpr long double kLn10 = 2.302585092994045684017991454684364208L;

struct PelosLogaritmos {
    Grandeza g;
    bool perto; // within 10^-15 of a bound: the logarithms' own error may decide
};

PelosLogaritmos pelos_logaritmos(long double soma_ln) {
    const long double m = soma_ln / kLn10;
    const long double limite = 37.0L + 0x1p-48L;
    const bool perto = std::fabs(std::fabs(m) - limite) < 1e-15L;
    const double md = static_cast<double>(m);
    return {md < -37.0 ? Grandeza::Abaixo : md > 37.0 ? Grandeza::Acima : Grandeza::Dentro, perto};
}

// Products and quotients drawn around the bounds, where a decision is close,
// and everywhere else.
TEST(Grandeza, ConcordaComOsLogaritmosEstendidos) {
    quarvel::teste::GeradorEstendido g(37);
    int perto = 0;
    for (int i = 0; i < quarvel::teste::rodadas(2000000); ++i) {
        const double a =
            std::ldexp(1.0 + static_cast<double>(g.bits() >> 12) * 0x1p-52, g.entre(-1000, 1000));
        double alvo;
        switch (i % 4) {
        case 0:
            alvo = 1e37;
            break;
        case 1:
            alvo = 1e-37;
            break;
        default:
            alvo = std::ldexp(1.0, g.entre(-1000, 1000));
            break;
        }
        const double perturbacao =
            1 + static_cast<double>(g.entre(-100000, 100000)) * 1e-19 * g.entre(1, 1000);
        const double b = alvo / a * perturbacao;
        if (b == 0 || !std::isfinite(b)) continue;
        const long double la = std::log(static_cast<long double>(a));
        const long double lb = std::log(static_cast<long double>(std::fabs(b)));
        const auto produto = pelos_logaritmos(la + lb);
        const double c = a * b; // a quotient near the bound as well
        const auto quociente =
            pelos_logaritmos(std::log(static_cast<long double>(std::fabs(c))) - lb);
        if (produto.perto || quociente.perto) {
            ++perto;
            continue;
        }
        ASSERT_EQ(grandeza_produto(a, b), produto.g) << a << " * " << b;
        ASSERT_EQ(grandeza_quociente(c, b), quociente.g) << c << " / " << b;
    }
    // Close calls are rare even when sought.
    EXPECT_LT(perto, 20000);
    RecordProperty("perto", perto);
}

#endif

} // namespace
