#include "printing/ajuste_pagina.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "printing/mensagens.h"

namespace qp = quarvel::printing;
using qp::Escala;

namespace {

// A4 at 300 dpi (2480.3 x 3507.9 device pixels), or its landscape.
qp::Dispositivo a4(bool paisagem = false) {
    qp::Dispositivo d;
    d.dpi_x = d.dpi_y = 300;
    d.papel_largura = d.imprimivel_largura = qp::mm_para_px(paisagem ? 297 : 210, 300);
    d.papel_altura = d.imprimivel_altura = qp::mm_para_px(paisagem ? 210 : 297, 300);
    return d;
}

qp::Tela tela(int largura, int altura, double dpi_x = 96, double dpi_y = 96) {
    return {{largura, altura}, dpi_x, dpi_y};
}

template <typename T> std::string nome_do_caso(const ::testing::TestParamInfo<T>& i) {
    return i.param.nome;
}

// A failing case is told by its name, not by its bytes.
template <typename T> void imprimir_caso(const T& c, std::ostream* os) {
    *os << c.nome;
}

// ---- The page's drawn size ---------------------------------------------

struct CasoTamanho {
    const char* nome;
    qp::Dispositivo dispositivo;
    Escala modo;
    int percentual;
    qp::Tela tela;
    int largura, altura;
};

void PrintTo(const CasoTamanho& c, std::ostream* os) {
    imprimir_caso(c, os);
}

class TamanhoPagina : public ::testing::TestWithParam<CasoTamanho> {};

TEST_P(TamanhoPagina, DaEscalaEDaVisao) {
    const CasoTamanho& c = GetParam();
    const qp::Tamanho t = qp::tamanho_pagina(c.dispositivo, c.modo, c.percentual, c.tela);
    EXPECT_EQ(t.largura, c.largura);
    EXPECT_EQ(t.altura, c.altura);
}

qp::Dispositivo sem_papel() {
    qp::Dispositivo d;
    d.dpi_x = d.dpi_y = 0;
    return d;
}

const CasoTamanho kTamanhos[] = {
    // Whole page: the side with room to spare gives way to the proportions.
    {"inteira_retrato_em_tela_larga", a4(), Escala::pagina_inteira, 100, tela(800, 600), 406, 574},
    {"inteira_retrato_em_tela_estreita", a4(), Escala::pagina_inteira, 100, tela(300, 1000), 274,
     388},
    {"inteira_medidas_impares", a4(), Escala::pagina_inteira, 100, tela(801, 599), 405, 573},
    {"inteira_paisagem_em_tela_larga", a4(true), Escala::pagina_inteira, 100, tela(800, 600), 774,
     547},
    {"inteira_paisagem_em_tela_alta", a4(true), Escala::pagina_inteira, 100, tela(600, 800), 574,
     406},
    {"inteira_tela_enorme", a4(), Escala::pagina_inteira, 100, tela(20000, 15000), 10588, 14974},
    // A view barely larger than the space around the page, or smaller, or
    // with one side gone: a dot, never a page larger than the view.
    {"inteira_um_pixel_livre", a4(), Escala::pagina_inteira, 100, tela(27, 27), 1, 1},
    {"inteira_sem_espaco", a4(), Escala::pagina_inteira, 100, tela(26, 26), 1, 1},
    {"inteira_tela_baixa_demais", a4(), Escala::pagina_inteira, 100, tela(500, 20), 1, 1},
    {"inteira_tela_estreita_demais", a4(), Escala::pagina_inteira, 100, tela(10, 500), 1, 1},
    {"inteira_tela_vazia", a4(), Escala::pagina_inteira, 100, tela(0, 0), 1, 1},
    // Page width: the width fills, the height follows, the view's height
    // does not count; the held percentage neither.
    {"largura_retrato", a4(), Escala::largura_pagina, 400, tela(800, 600), 774, 1095},
    {"largura_paisagem", a4(true), Escala::largura_pagina, 100, tela(800, 600), 774, 547},
    {"largura_tela_baixa", a4(), Escala::largura_pagina, 100, tela(800, 30), 774, 1095},
    {"largura_tela_estreita_demais", a4(), Escala::largura_pagina, 100, tela(20, 600), 1, 1},
    // Percentage: the paper's real size on the screen, each axis by its
    // own resolution; the view's size does not count.
    {"percentual_25", a4(), Escala::percentual, 25, tela(800, 600, 96, 72), 198, 210},
    {"percentual_100", a4(), Escala::percentual, 100, tela(800, 600, 96, 72), 794, 842},
    {"percentual_400", a4(), Escala::percentual, 400, tela(100, 100, 96, 72), 3175, 3368},
    {"percentual_paisagem", a4(true), Escala::percentual, 100, tela(800, 600), 1123, 794},
    // A device that reports no paper and no resolution: A4's proportions
    // at 72 dpi.
    {"sem_papel_percentual", sem_papel(), Escala::percentual, 100, tela(800, 600), 280, 396},
    {"sem_papel_inteira", sem_papel(), Escala::pagina_inteira, 100, tela(800, 600), 406, 574},
};

INSTANTIATE_TEST_SUITE_P(AjustePagina, TamanhoPagina, ::testing::ValuesIn(kTamanhos),
                         nome_do_caso<CasoTamanho>);

// Whole page over a grid of view sizes: the page always fits with the space
// around it, keeps the paper's proportions, and fills one of the two sides.
TEST(AjustePagina, PaginaInteiraCabeEPreencheUmLado) {
    for (const bool paisagem : {false, true}) {
        const qp::Dispositivo d = a4(paisagem);
        const double proporcao = d.papel_largura / d.papel_altura;
        for (int W = 60; W <= 2000; W += 97) {
            for (int H = 60; H <= 2000; H += 89) {
                const qp::Tamanho t =
                    qp::tamanho_pagina(d, Escala::pagina_inteira, 100, tela(W, H));
                const std::string onde = std::to_string(W) + "x" + std::to_string(H);
                EXPECT_LE(t.largura, W - qp::kEspacoEmVolta) << onde;
                EXPECT_LE(t.altura, H - qp::kEspacoEmVolta) << onde;
                EXPECT_TRUE(t.largura == W - qp::kEspacoEmVolta ||
                            t.altura == H - qp::kEspacoEmVolta)
                    << onde;
                EXPECT_NEAR(double(t.largura) / t.altura, proporcao, 1.0 / t.altura + 1e-9) << onde;
            }
        }
    }
}

// ---- Where the page sits ---------------------------------------------------

struct CasoInicio {
    const char* nome;
    int pagina, visao, rolagem;
    int inicio;
};

void PrintTo(const CasoInicio& c, std::ostream* os) {
    imprimir_caso(c, os);
}

class InicioPagina : public ::testing::TestWithParam<CasoInicio> {};

TEST_P(InicioPagina, CentradaOuAFolgaMenosARolagem) {
    const CasoInicio& c = GetParam();
    EXPECT_EQ(qp::inicio_pagina(c.pagina, c.visao, c.rolagem), c.inicio);
}

const CasoInicio kInicios[] = {
    {"cabe_com_folga_centra", 100, 125, 0, 12},
    {"centrada_ignora_a_rolagem", 100, 125, 50, 12},
    {"centrada_medida_impar", 101, 200, 0, 49},
    {"sem_folga_nos_dois_lados_fica_na_folga", 100, 124, 0, 12},
    {"maior_que_a_visao_rola", 1000, 500, 300, -288},
    {"no_fim_da_rolagem", 1000, 500, 526, -514},
};

INSTANTIATE_TEST_SUITE_P(AjustePagina, InicioPagina, ::testing::ValuesIn(kInicios),
                         nome_do_caso<CasoInicio>);

// The vertical bar holds a page number in whole-page mode and the
// horizontal one exists only in percentage: neither may move the page then.
TEST(AjustePagina, RolagemContaSoNosEixosQueRolamPixels) {
    const qp::Tamanho grande{1000, 1500}, visao{500, 400};
    struct Caso {
        Escala modo;
        int x, y;
    };
    const Caso casos[] = {
        {Escala::pagina_inteira, 12, 12},
        {Escala::largura_pagina, 12, 12 - 30},
        {Escala::percentual, 12 - 20, 12 - 30},
    };
    for (const Caso& c : casos) {
        const qp::Retangulo r = qp::retangulo_pagina(c.modo, grande, visao, 20, 30);
        EXPECT_EQ(r.x, c.x) << int(c.modo);
        EXPECT_EQ(r.y, c.y) << int(c.modo);
        EXPECT_EQ(r.largura, 1000);
        EXPECT_EQ(r.altura, 1500);
    }
}

TEST(AjustePagina, SombraEncostaNaDireitaENaBaseDeslocada) {
    const qp::Retangulo p{12, 20, 100, 200};
    const qp::Retangulo d = qp::sombra_direita(p), b = qp::sombra_base(p);
    // Just past the page's right edge, shifted down, as tall as the page.
    EXPECT_EQ(d.x, 112);
    EXPECT_EQ(d.y, 22);
    EXPECT_EQ(d.largura, 2);
    EXPECT_EQ(d.altura, 200);
    // Just below the page, shifted right: the two meet at the corner.
    EXPECT_EQ(b.x, 14);
    EXPECT_EQ(b.y, 220);
    EXPECT_EQ(b.largura, 100);
    EXPECT_EQ(b.altura, 2);
    EXPECT_EQ(b.x + b.largura, d.x + d.largura);
    EXPECT_EQ(d.y + d.altura, b.y + b.altura);
}

// ---- Scrolling -------------------------------------------------------------

TEST(AjustePagina, AlcanceDaRolagemMostraPaginaFolgasESombra) {
    struct Caso {
        int pagina, visao, alcance;
    };
    const Caso casos[] = {{1000, 500, 526}, {474, 500, 0}, {475, 500, 1}, {0, 0, 26}};
    for (const Caso& c : casos)
        EXPECT_EQ(qp::alcance_rolagem(c.pagina, c.visao), c.alcance) << c.pagina << "/" << c.visao;
    // At the end of the range the shadow's far edge is a gap from the view's.
    const int fim =
        qp::inicio_pagina(1000, 500, qp::alcance_rolagem(1000, 500)) + 1000 + qp::kSombraPagina;
    EXPECT_EQ(fim, 500 - qp::kFolgaPagina);
}

TEST(AjustePagina, PassosDaBarraUmDecimoEMetadeNuncaZero) {
    struct Caso {
        int visao, seta, barra;
    };
    const Caso casos[] = {{500, 50, 250}, {501, 50, 250}, {9, 1, 4}, {1, 1, 1}, {0, 1, 1}};
    for (const Caso& c : casos) {
        EXPECT_EQ(qp::passo_seta(c.visao), c.seta) << c.visao;
        EXPECT_EQ(qp::passo_barra(c.visao), c.barra) << c.visao;
    }
}

TEST(AjustePagina, RodaRolaPorEntalheInteiroGuardandoOResto) {
    qp::RodaMouse roda;
    struct Passo {
        int angulo, pixels;
    };
    const Passo passos[] = {
        {-120, -120}, {-240, -240}, {120, 120}, // whole notches
        {60, 0},      {60, 120},                // a touchpad's halves make one
        {-90, 0},     {-90, -120},              // the rest carries: -180 is one notch and -60
        {60, 0},                                // -60 + 60 cancels
        {119, 0},     {1, 120},
    };
    for (const Passo& p : passos)
        EXPECT_EQ(roda.rolar(p.angulo), p.pixels) << p.angulo;
}

// ---- Zoom by the mouse -----------------------------------------------------

struct CasoClique {
    const char* nome;
    Escala modo;
    int percentual;
    bool esquerdo;
    int depois;
};

void PrintTo(const CasoClique& c, std::ostream* os) {
    imprimir_caso(c, os);
}

class CliqueNaPagina : public ::testing::TestWithParam<CasoClique> {};

TEST_P(CliqueNaPagina, DobraOuReduzDentroDosLimites) {
    const CasoClique& c = GetParam();
    EXPECT_EQ(qp::percentual_apos_clique(c.modo, c.percentual, c.esquerdo), c.depois);
}

const CasoClique kCliques[] = {
    {"esquerdo_na_pagina_inteira_vai_a_100", Escala::pagina_inteira, 25, true, 100},
    {"esquerdo_na_largura_dobra_o_guardado", Escala::largura_pagina, 100, true, 200},
    {"esquerdo_dobra", Escala::percentual, 200, true, 400},
    {"esquerdo_para_no_maximo", Escala::percentual, 400, true, 400},
    {"esquerdo_fora_da_tabela_para_no_maximo", Escala::percentual, 300, true, 400},
    {"direito_reduz_a_metade", Escala::percentual, 50, false, 25},
    {"direito_para_no_minimo", Escala::percentual, 25, false, 25},
    {"direito_fora_da_tabela_para_no_minimo", Escala::percentual, 30, false, 25},
    {"direito_na_pagina_inteira_reduz_o_guardado", Escala::pagina_inteira, 100, false, 50},
};

INSTANTIATE_TEST_SUITE_P(AjustePagina, CliqueNaPagina, ::testing::ValuesIn(kCliques),
                         nome_do_caso<CasoClique>);

// ---- The document on the drawn page -------------------------------------

TEST(AjustePagina, ConteudoComecaNaAreaImprimivelEmEscala) {
    qp::Dispositivo d;
    d.papel_largura = 1000;
    d.papel_altura = 1400;
    d.imprimivel_x = 50;
    d.imprimivel_y = 40;
    const auto m = qp::mapear_conteudo(d, {12, 20, 500, 700});
    ASSERT_TRUE(m.has_value());
    EXPECT_DOUBLE_EQ(m->escala_x, 0.5);
    EXPECT_DOUBLE_EQ(m->escala_y, 0.5);
    EXPECT_DOUBLE_EQ(m->x, 12 + 25);
    EXPECT_DOUBLE_EQ(m->y, 20 + 20);

    d.papel_altura = 0;
    EXPECT_FALSE(qp::mapear_conteudo(d, {12, 20, 500, 700}).has_value());
}

TEST(AjustePagina, DicaDoArrasteJuntoAoCantoSemSairDaJanela) {
    EXPECT_EQ(qp::x_dica(500, 60), 500 - 60 - qp::kRecuoDica);
    EXPECT_EQ(qp::x_dica(50, 60), 0);
}

} // namespace
