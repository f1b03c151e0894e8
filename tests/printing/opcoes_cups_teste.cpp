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
    qp::DestinoImpressao d;
    d.fila = "Quarvel_PDF";
    EXPECT_EQ(qp::nome_do_destino(d), "Quarvel_PDF");
    d.instancia = "rascunho";
    EXPECT_EQ(qp::nome_do_destino(d), "Quarvel_PDF/rascunho");
}

// The size read from a media name; nullopt where the name carries none.
struct CasoPapel {
    const char* nome;
    const char* papel;
    std::optional<qp::MedidaPapel> medida;
};

void PrintTo(const CasoPapel& c, std::ostream* os) {
    *os << c.nome;
}

class MedidaDoPapel : public ::testing::TestWithParam<CasoPapel> {};

TEST_P(MedidaDoPapel, LidaDoNome) {
    const auto r = qp::medida_do_papel(GetParam().papel);
    ASSERT_EQ(r.has_value(), GetParam().medida.has_value());
    if (!r) return;
    EXPECT_DOUBLE_EQ(r->largura, GetParam().medida->largura);
    EXPECT_DOUBLE_EQ(r->altura, GetParam().medida->altura);
    EXPECT_EQ(r->polegadas, GetParam().medida->polegadas);
}

INSTANTIATE_TEST_SUITE_P(
    Servidor, MedidaDoPapel,
    ::testing::Values(CasoPapel{"A4", "iso_a4_210x297mm", qp::MedidaPapel{210, 297, false}},
                      CasoPapel{"Carta", "na_letter_8.5x11in", qp::MedidaPapel{8.5, 11, true}},
                      CasoPapel{"Personalizado", "custom_max_8x14in", qp::MedidaPapel{8, 14, true}},
                      CasoPapel{"NomeAntigo", "Letter", std::nullopt},
                      CasoPapel{"SemUnidade", "iso_a4_210x297", std::nullopt},
                      CasoPapel{"Expoente", "x_1e3x2mm", std::nullopt},
                      CasoPapel{"Negativo", "x_-210x297mm", std::nullopt},
                      CasoPapel{"Zero", "x_0x297mm", std::nullopt},
                      CasoPapel{"Vazio", "", std::nullopt}),
    [](const ::testing::TestParamInfo<CasoPapel>& i) { return std::string(i.param.nome); });

} // namespace
