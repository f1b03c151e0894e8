#include "printing/opcoes_cups.h"

#include <gtest/gtest.h>

namespace qp = quarvel::printing;

namespace {

struct Caso {
    const char* nome;
    qp::OpcoesCups do_dialogo;
    qp::OpcoesCups esperado; // after the printer's own media and sides
};

void PrintTo(const Caso& c, std::ostream* os) {
    *os << c.nome;
}

class OpcoesDoTrabalho : public ::testing::TestWithParam<Caso> {};

TEST_P(OpcoesDoTrabalho, SoFicaOQueNaoEscolhePaginasNemCopias) {
    const qp::OpcoesCups base = {{"media", "A4"}, {"sides", "one-sided"}};
    qp::OpcoesCups esperado = base;
    for (const auto& o : GetParam().esperado)
        esperado.push_back(o);
    esperado.emplace_back("copies", "1");
    EXPECT_EQ(qp::opcoes_do_trabalho(base, GetParam().do_dialogo), esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogo, OpcoesDoTrabalho,
    ::testing::Values(
        Caso{"Nenhuma", {}, {}}, Caso{"IntervaloDePaginas", {{"page-ranges", "1-1"}}, {}},
        Caso{"ConjuntoDePaginas", {{"page-set", "odd"}}, {}},
        Caso{"CopiasEAgrupamento",
             {{"copies", "3"}, {"Collate", "True"}, {"multiple-document-handling", "x"}},
             {}},
        Caso{"NomesEmMaiusculas", {{"PAGE-RANGES", "2"}, {"Copies", "2"}}, {}},
        Caso{"PaginasPorFolhaEOutras",
             {{"number-up", "2"}, {"page-ranges", "1"}, {"job-priority", "60"}},
             {{"number-up", "2"}, {"job-priority", "60"}}}),
    [](const ::testing::TestParamInfo<Caso>& i) { return std::string(i.param.nome); });

TEST(OpcoesDoTrabalho, ODialogoSubstituiOPapelNoMesmoLugar) {
    const auto r =
        qp::opcoes_do_trabalho({{"media", "A4"}, {"landscape", ""}}, {{"MEDIA", "Letter"}});
    EXPECT_EQ(r, (qp::OpcoesCups{{"media", "Letter"}, {"landscape", ""}, {"copies", "1"}}));
}

TEST(OpcoesDoTrabalho, FilaDoDestino) {
    EXPECT_EQ(qp::fila_do_destino("Quarvel_PDF"), "Quarvel_PDF");
    EXPECT_EQ(qp::fila_do_destino("Quarvel_PDF/rascunho"), "Quarvel_PDF");
    EXPECT_EQ(qp::fila_do_destino(""), "");
}

} // namespace
