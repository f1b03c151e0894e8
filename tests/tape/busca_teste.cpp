// Finding an amount by its value, and the further occurrences after it.
#include "tape/busca.h"

#include <gtest/gtest.h>

using quarvel::tape::Busca;
using quarvel::tape::localizar;

namespace {

const std::vector<std::string> kFita = {"10", "20", "10"};

TEST(Localizar, ComparaNumerosENaoTextos) {
    const std::vector<std::string> brutos = {
        "3,33333333333333", "1234,5", "-5", "0", "1234", "1E20"};
    struct Caso {
        long double valor;
        int indice; // -1: not found
    };
    const Caso casos[] = {
        {3.33L, -1},  // the line shows 3,33, the raw value is longer
        {1234.5L, 1}, // typed 1.234,5
        {-5.0L, 2},   // typed -5 or 0-5
        {0.0L, 3},    // zero is found, though it turns find-next off
        {1234.0L, 4}, // typed 1.234
        {1e20L, 5},   // the exponent form reads like any other
        {23.0L, -1},  // 2*3 is searched as 23, not evaluated
    };
    for (const Caso& c : casos) {
        const auto i = localizar(brutos, c.valor, 0);
        if (c.indice < 0)
            EXPECT_FALSE(i.has_value()) << static_cast<double>(c.valor);
        else
            EXPECT_EQ(i, std::optional<std::size_t>(c.indice)) << static_cast<double>(c.valor);
    }
}

TEST(Localizar, ComecaNoIndiceDadoEPassaDoFimSemAchar) {
    EXPECT_EQ(localizar(kFita, 10, 0), std::optional<std::size_t>(0));
    EXPECT_EQ(localizar(kFita, 10, 1), std::optional<std::size_t>(2));
    EXPECT_FALSE(localizar(kFita, 10, 3).has_value());
    EXPECT_FALSE(localizar(kFita, 10, 99).has_value());
    EXPECT_FALSE(localizar({}, 0, 0).has_value());
}

TEST(Localizar, BrutoQueNaoLeEstritoNuncaCasa) {
    EXPECT_FALSE(localizar({"1.234", "abc", ""}, 0, 0).has_value());
    EXPECT_FALSE(localizar({"1.234"}, 1234, 0).has_value());
}

TEST(Busca, BuscarEProximoAteOFim) {
    Busca b;
    EXPECT_FALSE(b.ativa());
    EXPECT_EQ(b.buscar(kFita, 10), 1);
    EXPECT_EQ(b.buscar_proximo(kFita), 3);
    EXPECT_EQ(b.buscar_proximo(kFita), std::nullopt); // "Fim da Pesquisa !"
    EXPECT_EQ(b.posicao, 3);                          // and again the same
    EXPECT_EQ(b.buscar_proximo(kFita), std::nullopt);
}

TEST(Busca, SemAcharGuardaOValorEAPosicaoAnterior) {
    Busca b;
    b.buscar(kFita, 10);
    EXPECT_EQ(b.buscar(kFita, 30), std::nullopt);
    EXPECT_EQ(b.valor, 30);
    EXPECT_TRUE(b.ativa()); // find-next stays on
    EXPECT_EQ(b.posicao, 1);
    // Find-next resumes after the last match, whichever search made it.
    EXPECT_EQ(b.buscar_proximo({"30", "30", "30"}), 2);
}

TEST(Busca, ZeroAchaMasNaoAtivaOProximo) {
    Busca b;
    EXPECT_EQ(b.buscar({"5", "0"}, 0), 2);
    EXPECT_FALSE(b.ativa());
}

TEST(Busca, PosicaoAlemDaFitaQueEncolheuNaoAcha) {
    Busca b;
    b.buscar(kFita, 10);
    b.buscar_proximo(kFita);
    ASSERT_EQ(b.posicao, 3);
    EXPECT_EQ(b.buscar_proximo({"10"}), std::nullopt);
    EXPECT_EQ(b.posicao, 3);
}

} // namespace
