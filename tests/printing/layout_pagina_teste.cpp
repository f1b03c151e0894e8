#include "printing/layout_pagina.h"

#include <gtest/gtest.h>
#include <string>

namespace qp = quarvel::printing;

namespace {

// A4 at 1200 dpi, printable to the edges.
qp::Dispositivo a4(double dpi = 1200) {
    qp::Dispositivo d;
    d.dpi_x = d.dpi_y = dpi;
    d.papel_largura = d.imprimivel_largura = qp::mm_para_px(210, dpi);
    d.papel_altura = d.imprimivel_altura = qp::mm_para_px(297, dpi);
    return d;
}

double px(double mm, double dpi = 1200) {
    return qp::mm_para_px(mm, dpi);
}

TEST(Geometria, MargensMedidasDaBordaDoPapel) {
    const qp::Geometria g = qp::calcular_geometria(a4());
    EXPECT_NEAR(g.esquerda, px(25), 1e-6);
    EXPECT_NEAR(g.direita, px(210 - 15), 1e-6);
    EXPECT_NEAR(g.topo, px(25), 1e-6);
    EXPECT_NEAR(g.base, px(297 - 25), 1e-6);
    EXPECT_NEAR(g.regua_cabecalho, px(15), 1e-6);
    EXPECT_NEAR(g.regua_rodape, px(297 - 20), 1e-6);
    EXPECT_NEAR(g.recuo_esquerdo, px(2), 1e-6);
    EXPECT_NEAR(g.margem_interna, px(0.5), 1e-6);
}

TEST(Geometria, DescontaAAreaNaoImprimivelSemFicarNegativa) {
    qp::Dispositivo d = a4(600);
    // 5 mm unprintable at the left and top, 20 mm at the right, 30 mm at the bottom.
    d.imprimivel_x = px(5, 600);
    d.imprimivel_y = px(5, 600);
    d.imprimivel_largura = px(210 - 5 - 20, 600);
    d.imprimivel_altura = px(297 - 5 - 30, 600);
    const qp::Geometria g = qp::calcular_geometria(d);
    EXPECT_NEAR(g.esquerda, px(20, 600), 1e-6);
    EXPECT_NEAR(g.topo, px(20, 600), 1e-6);
    EXPECT_NEAR(g.regua_cabecalho, px(10, 600), 1e-6);
    // The right margin (15) is inside the 20 mm offset: the body runs to the edge.
    EXPECT_NEAR(g.direita, d.imprimivel_largura, 1e-6);
    // Both bottom distances (25 and 20) are inside the 30 mm offset.
    EXPECT_NEAR(g.base, d.imprimivel_altura, 1e-6);
    EXPECT_NEAR(g.regua_rodape, d.imprimivel_altura, 1e-6);
}

TEST(Geometria, PapelMenorQueAsMargensNaoInverteAsAreas) {
    qp::Dispositivo d = a4(300);
    d.papel_largura = d.imprimivel_largura = px(30, 300);
    d.papel_altura = d.imprimivel_altura = px(40, 300);
    const qp::Geometria g = qp::calcular_geometria(d);
    EXPECT_GE(g.largura_corpo(), 0);
    EXPECT_GE(g.altura_corpo(), 0);
    EXPECT_EQ(qp::linhas_por_pagina(g, 10), 1);
}

struct CasoPaginacao {
    double altura_mm; // line height
    int esperado;     // lines per page on A4 (247 mm of body)
};

class LinhasPorPagina : public ::testing::TestWithParam<CasoPaginacao> {};

TEST_P(LinhasPorPagina, A4) {
    const qp::Geometria g = qp::calcular_geometria(a4());
    EXPECT_EQ(qp::linhas_por_pagina(g, px(GetParam().altura_mm)), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Alturas, LinhasPorPagina,
                         ::testing::Values(CasoPaginacao{247.0 / 50, 50}, // exact fit
                                           CasoPaginacao{247.0 / 50 + 0.001, 49},
                                           CasoPaginacao{4.0, 61}, CasoPaginacao{10.0, 24},
                                           CasoPaginacao{300.0, 1}),
                         [](const ::testing::TestParamInfo<CasoPaginacao>& i) {
                             return "Cabem" + std::to_string(i.param.esperado);
                         });

TEST(Paginacao, ContaEDistribuiAsLinhas) {
    EXPECT_EQ(qp::contar_paginas(0, 60), 1);
    EXPECT_EQ(qp::contar_paginas(60, 60), 1);
    EXPECT_EQ(qp::contar_paginas(61, 60), 2);
    EXPECT_EQ(qp::contar_paginas(50002, 72), 695);
    EXPECT_EQ(qp::primeira_linha(3, 60), 120);
    EXPECT_EQ(qp::linhas_na_pagina(1, 61, 60), 60);
    EXPECT_EQ(qp::linhas_na_pagina(2, 61, 60), 1); // the total line alone
    EXPECT_EQ(qp::linhas_na_pagina(3, 61, 60), 0);
    EXPECT_EQ(qp::linhas_na_pagina(0, 61, 60), 0);
}

TEST(Quebra, PrefixoQueCabeParaNaUltimaLetraQueCabe) {
    auto largura = [](int k) { return 10.0 * k; };
    EXPECT_EQ(qp::prefixo_que_cabe(20, 95, largura), 9);
    EXPECT_EQ(qp::prefixo_que_cabe(20, 100, largura), 10);
    EXPECT_EQ(qp::prefixo_que_cabe(5, 1000, largura), 5);
    // Not even one character fits: one still goes, so wrapping always advances.
    EXPECT_EQ(qp::prefixo_que_cabe(5, 3, largura), 1);
    EXPECT_EQ(qp::prefixo_que_cabe(0, 3, largura), 0);
}

TEST(Faixas, PosicoesDoTextoEDasFaixas) {
    const qp::Geometria g = qp::calcular_geometria(a4());
    const double esq = px(25 + 2), dir = px(210 - 15 - 2);
    EXPECT_NEAR(qp::x_item(qp::Alinhamento::esquerda, 500, g), esq, 1e-6);
    EXPECT_NEAR(qp::x_item(qp::Alinhamento::direita, 500, g), dir - 500, 1e-6);
    EXPECT_NEAR(qp::x_item(qp::Alinhamento::centro, 500, g), (esq + dir) / 2 - 250, 1e-6);

    // Header band of one line ends on the rule; footer band starts on it.
    const double altura = 200, ascendente = 160, mi = px(0.5);
    EXPECT_NEAR(qp::base_cabecalho(g, altura, ascendente, 1, 1),
                px(15) - (altura + 2 * mi) + mi + ascendente, 1e-6);
    EXPECT_NEAR(qp::base_rodape(g, altura, ascendente, 1), px(277) + mi + ascendente, 1e-6);
    EXPECT_NEAR(qp::base_rodape(g, altura, ascendente, 2) -
                    qp::base_rodape(g, altura, ascendente, 1),
                altura + 2 * mi, 1e-6);
}

} // namespace
