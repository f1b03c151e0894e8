// The tape and its view: each change announced by the model itself in one
// signal, the current line kept in range, mouse clicks, and the painting of
// the current line.
#include "calc/dinheiro.h"
#include "tape/visao_fita.h"

#include <QImage>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using quarvel::calc::ErroConversao;
using quarvel::tape::FitaModelo;
using quarvel::tape::VisaoFita;

namespace {

class VisaoFitaTeste : public ::testing::Test {
  protected:
    void SetUp() override { visao.resize(217, 256); }

    void acrescentar(const std::string& bruto, std::size_t vezes = 1) {
        fita.acrescentar_varios(bruto, vezes);
    }
    QPoint centro_da_linha(int linha) {
        return visao.visualRect(visao.modelo().index(linha - 1)).center();
    }

    FitaModelo fita;
    VisaoFita visao{fita};
};

TEST_F(VisaoFitaTeste, ComportamentoDeSomenteLeitura) {
    EXPECT_EQ(visao.objectName(), "valores");
    EXPECT_EQ(visao.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(visao.selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_EQ(visao.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(visao.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(visao.linhas_de_uma_altura());
}

TEST_F(VisaoFitaTeste, BlocoAcrescentadoEhUmaInsercao) {
    acrescentar("1", 3);
    QSignalSpy antes(&visao.modelo(), &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy depois(&visao.modelo(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&visao.modelo(), &QAbstractItemModel::modelReset);
    acrescentar("12,5", 5000);
    ASSERT_EQ(depois.count(), 1);
    EXPECT_EQ(antes.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(depois.at(0).at(1).toInt(), 3);
    EXPECT_EQ(depois.at(0).at(2).toInt(), 5002);
    EXPECT_EQ(visao.modelo().rowCount(), 5003);
    EXPECT_EQ(visao.modelo().index(5002).data().toString(), "12,50");
}

TEST_F(VisaoFitaTeste, RemocaoTrocaEAlteracao) {
    acrescentar("1");
    acrescentar("2");
    acrescentar("3");
    QSignalSpy removidas(&fita, &QAbstractItemModel::rowsRemoved);
    QSignalSpy alterada(&fita, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&fita, &QAbstractItemModel::modelReset);
    QSignalSpy mudou(&fita, &FitaModelo::alterada);

    fita.remover(1);
    EXPECT_EQ(removidas.count(), 1);
    EXPECT_EQ(fita.rowCount(), 2);
    EXPECT_EQ(fita.index(1).data().toString(), "3,00");

    fita.substituir(0, "30");
    EXPECT_EQ(alterada.count(), 1);
    EXPECT_EQ(fita.index(0).data().toString(), "30,00");

    fita.trocar({"4", "5"}, {"4,00", "5,00"});
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(fita.index(1).data().toString(), "5,00");

    fita.limpar();
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(fita.rowCount(), 0);
    EXPECT_EQ(mudou.count(), 4);
}

TEST_F(VisaoFitaTeste, ModeloSoMostraOQueFoiAnunciado) {
    // A refused change throws before the views hear of it.
    acrescentar("1", 49999);
    QSignalSpy antes(&fita, &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy removendo(&fita, &QAbstractItemModel::rowsAboutToBeRemoved);
    QSignalSpy mudou(&fita, &FitaModelo::alterada);
    EXPECT_THROW(fita.acrescentar_varios("1", 2), std::length_error);
    EXPECT_THROW(fita.acrescentar("1.234"), ErroConversao);
    EXPECT_THROW(fita.substituir(0, "abc"), ErroConversao);
    EXPECT_THROW(fita.remover(49999), std::out_of_range);
    EXPECT_THROW(fita.trocar({"1"}, {}), std::invalid_argument);
    EXPECT_EQ(antes.count(), 0);
    EXPECT_EQ(removendo.count(), 0);
    EXPECT_EQ(mudou.count(), 0);
    EXPECT_EQ(fita.rowCount(), 49999);
    EXPECT_EQ(visao.contagem(), 49999);
    EXPECT_EQ(fita.index(0).data().toString(), "1,00");
}

TEST(VisaoFitaSemFita, AFitaQueSaiAntesDaVisaoNaoADerruba) {
    auto fita = std::make_unique<FitaModelo>();
    VisaoFita visao(*fita);
    fita->acrescentar_varios("1", 3);
    visao.definir_linha_atual(3);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    fita.reset();
    EXPECT_EQ(visao.contagem(), 0);
    visao.resize(300, 200);
    visao.definir_linha_atual(2);
    visao.viewport()->grab();
    QApplication::processEvents();
    EXPECT_EQ(visao.linha_atual(), 1);
}

TEST_F(VisaoFitaTeste, LinhaAtualFicaNoIntervalo) {
    EXPECT_EQ(visao.linha_atual(), 1);
    visao.definir_linha_atual(5); // empty tape
    EXPECT_EQ(visao.linha_atual(), 1);
    acrescentar("1", 10);
    const struct {
        int pedida, esperada;
    } casos[] = {{0, 1}, {-3, 1}, {1, 1}, {7, 7}, {10, 10}, {11, 10}, {50000, 10}};
    for (auto c : casos) {
        visao.definir_linha_atual(c.pedida);
        EXPECT_EQ(visao.linha_atual(), c.esperada) << c.pedida;
    }
}

TEST_F(VisaoFitaTeste, LinhaAtualAcompanhaAFitaQueEncolhe) {
    acrescentar("1", 5);
    visao.definir_linha_atual(5);
    fita.remover(4);
    EXPECT_EQ(visao.linha_atual(), 4);
    fita.limpar();
    EXPECT_EQ(visao.linha_atual(), 1);
}

TEST_F(VisaoFitaTeste, LinhaAtualRolaParaAVista) {
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    acrescentar("1", 1000);
    visao.definir_linha_atual(1000);
    QApplication::processEvents();
    const QRect r = visao.visualRect(visao.modelo().index(999));
    EXPECT_TRUE(visao.viewport()->rect().contains(r)) << r.y();
    visao.definir_linha_atual(1);
    EXPECT_TRUE(visao.viewport()->rect().contains(visao.visualRect(visao.modelo().index(0))));
}

TEST_F(VisaoFitaTeste, CliqueTornaALinhaAtual) {
    acrescentar("1", 5);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    QSignalSpy clique(&visao, &VisaoFita::linha_clicada);
    QSignalSpy duplo(&visao, &VisaoFita::linha_duplo_clique);
    QTest::mouseClick(visao.viewport(), Qt::LeftButton, {}, centro_da_linha(3));
    EXPECT_EQ(visao.linha_atual(), 3);
    ASSERT_EQ(clique.count(), 1);
    EXPECT_EQ(clique.at(0).at(0).toInt(), 3);
    EXPECT_EQ(duplo.count(), 0);

    QTest::mouseDClick(visao.viewport(), Qt::LeftButton, {}, centro_da_linha(2));
    ASSERT_EQ(duplo.count(), 1);
    EXPECT_EQ(duplo.at(0).at(0).toInt(), 2);
    EXPECT_EQ(visao.linha_atual(), 2);
}

TEST_F(VisaoFitaTeste, CliqueAbaixoDaUltimaLinhaVaiParaAUltima) {
    acrescentar("1", 3);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    QSignalSpy clique(&visao, &VisaoFita::linha_clicada);
    QTest::mouseClick(visao.viewport(), Qt::LeftButton, {}, QPoint(50, 240));
    EXPECT_EQ(visao.linha_atual(), 3);
    EXPECT_EQ(clique.count(), 1);
}

TEST_F(VisaoFitaTeste, DuploCliqueNaFitaVaziaNaoEmite) {
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    QSignalSpy duplo(&visao, &VisaoFita::linha_duplo_clique);
    QTest::mouseDClick(visao.viewport(), Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(duplo.count(), 0);
}

TEST_F(VisaoFitaTeste, CliqueNaoTomaOFoco) {
    acrescentar("1", 3);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    QTest::mouseClick(visao.viewport(), Qt::LeftButton, {}, centro_da_linha(2));
    EXPECT_FALSE(visao.hasFocus());
}

TEST_F(VisaoFitaTeste, LinhaAtualPintadaDeAmarelo) {
    acrescentar("1", 3);
    visao.definir_linha_atual(2);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    const QImage img = visao.viewport()->grab().toImage();
    const int x = visao.viewport()->width() - 10; // right of the text, inside the line
    EXPECT_EQ(img.pixelColor(x, centro_da_linha(2).y()), QColor(255, 255, 0));
    EXPECT_EQ(img.pixelColor(x, centro_da_linha(1).y()), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(x, centro_da_linha(3).y()), QColor(Qt::white));
}

TEST_F(VisaoFitaTeste, SoALinhaLongaQuebraEmDuas) {
    visao.resize(160, 256);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    acrescentar("1");
    auto altura = [this](int linha) {
        return visao.visualRect(visao.modelo().index(linha)).height();
    };
    const int simples = altura(0);
    acrescentar("1,5E15"); // 1.500.000.000.000.000,00: wider than the view
    acrescentar("2");
    visao.definir_linha_atual(3);
    QApplication::processEvents();
    EXPECT_EQ(altura(0), simples);
    EXPECT_GT(altura(1), simples * 3 / 2);
    EXPECT_EQ(altura(2), simples); // the current line's highlight too
    // Each line starts where the one above ends.
    EXPECT_EQ(visao.visualRect(visao.modelo().index(2)).top(),
              visao.visualRect(visao.modelo().index(1)).bottom() + 1);
    // One row again for all once the long line is gone.
    fita.remover(1);
    QApplication::processEvents();
    EXPECT_EQ(altura(0), simples);
    EXPECT_EQ(altura(1), simples);
}

// Every way a long line comes and goes: while it is on the tape the rows are
// measured one by one, and once it is gone one size serves them all again.
struct CasoLinhaLonga {
    const char* nome;
    int longa; // 0-based row of the long line while it is there
    std::function<void(FitaModelo&)> entra;
    std::function<void(FitaModelo&)> sai;
};

void PrintTo(const CasoLinhaLonga& c, std::ostream* os) {
    *os << c.nome;
}

const std::string kLonga = "1,5E15"; // 1.500.000.000.000.000,00: wider than the view

std::vector<std::string> linhas_de(const std::vector<std::string>& brutos) {
    std::vector<std::string> linhas;
    for (const auto& b : brutos)
        linhas.push_back(quarvel::calc::linha_fita(b));
    return linhas;
}

class LinhaLongaTeste : public VisaoFitaTeste,
                        public ::testing::WithParamInterface<CasoLinhaLonga> {
  protected:
    int altura(int linha) { return visao.visualRect(visao.modelo().index(linha)).height(); }

    // Each row as tall as its text and right below the one above.
    void conferir_linhas(int simples, int longa) {
        for (int i = 0; i < fita.rowCount(); ++i) {
            if (i == longa) {
                EXPECT_GT(altura(i), simples * 3 / 2) << i;
            } else {
                EXPECT_EQ(altura(i), simples) << i;
            }
            if (i > 0) {
                EXPECT_EQ(visao.visualRect(visao.modelo().index(i)).top(),
                          visao.visualRect(visao.modelo().index(i - 1)).bottom() + 1)
                    << i;
            }
        }
    }
};

TEST_P(LinhaLongaTeste, DesligaOTamanhoUnicoEReligaDepois) {
    visao.resize(160, 256);
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    acrescentar("1");
    acrescentar("2");
    acrescentar("3");
    visao.definir_linha_atual(3);
    QApplication::processEvents();
    const int simples = altura(0);
    ASSERT_TRUE(visao.linhas_de_uma_altura());

    GetParam().entra(fita);
    QApplication::processEvents();
    EXPECT_FALSE(visao.linhas_de_uma_altura());
    conferir_linhas(simples, GetParam().longa);

    GetParam().sai(fita);
    QApplication::processEvents();
    EXPECT_TRUE(visao.linhas_de_uma_altura());
    conferir_linhas(simples, -1);
    // A line added after it is one row like the others.
    acrescentar("4");
    visao.definir_linha_atual(visao.contagem());
    QApplication::processEvents();
    EXPECT_TRUE(visao.linhas_de_uma_altura());
    conferir_linhas(simples, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Fita, LinhaLongaTeste,
    ::testing::Values(CasoLinhaLonga{"Acrescentada", 3,
                                     [](FitaModelo& f) { f.acrescentar(kLonga); },
                                     [](FitaModelo& f) { f.remover(3); }},
                      CasoLinhaLonga{"Inserida", 1, [](FitaModelo& f) { f.inserir(1, kLonga); },
                                     [](FitaModelo& f) { f.remover(1); }},
                      CasoLinhaLonga{"Substituida", 1,
                                     [](FitaModelo& f) { f.substituir(1, kLonga); },
                                     [](FitaModelo& f) { f.substituir(1, "2"); }},
                      CasoLinhaLonga{"Cortada", 3, [](FitaModelo& f) { f.acrescentar(kLonga); },
                                     [](FitaModelo& f) { f.cortar(3); }},
                      CasoLinhaLonga{"Trocada", 0,
                                     [](FitaModelo& f) {
                                         const std::vector<std::string> b{kLonga, "2", "3"};
                                         f.trocar(b, linhas_de(b));
                                     },
                                     [](FitaModelo& f) {
                                         const std::vector<std::string> b{"1", "2", "3"};
                                         f.trocar(b, linhas_de(b));
                                     }},
                      CasoLinhaLonga{"Limpa", 2, [](FitaModelo& f) { f.substituir(2, kLonga); },
                                     [](FitaModelo& f) { f.limpar(); }}),
    [](const ::testing::TestParamInfo<CasoLinhaLonga>& i) { return std::string(i.param.nome); });

// What Enter and Del on a long tape make the view paint again: the lines
// that changed and the strip a one-line scroll exposes, never the whole view.
class PinturaFitaTeste : public VisaoFitaTeste {
  protected:
    // Rows of the view painted while `passo` runs and its events settle.
    int linhas_pintadas(const std::function<void()>& passo) {
        QApplication::processEvents();
        Contador contador;
        visao.viewport()->installEventFilter(&contador);
        passo();
        QApplication::processEvents();
        visao.viewport()->removeEventFilter(&contador);
        return contador.area / (visao.viewport()->width() * visao.altura_linha());
    }

  private:
    struct Contador : QObject {
        long area = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                    area += static_cast<long>(r.width()) * r.height();
            return false;
        }
    };
};

TEST_F(PinturaFitaTeste, EnterEDelNumaFitaLongaPintamSoAsLinhasQueMudam) {
    acrescentar("600", 49999); // one short of the most a tape holds
    visao.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&visao));
    visao.definir_linha_atual(49999);
    const int na_vista = visao.viewport()->height() / visao.altura_linha();
    ASSERT_GT(na_vista, 10);
    // Enter: the new line scrolls in, the old current line loses its yellow.
    EXPECT_LE(linhas_pintadas([this] {
                  acrescentar("600");
                  visao.definir_linha_atual(visao.contagem());
              }),
              4);
    // Del of the last line: the view scrolls back by one.
    EXPECT_LE(linhas_pintadas([this] { fita.remover(49999); }), 4);
    EXPECT_EQ(visao.linha_atual(), 49999);
    // Moving the current line within the view: the two lines only.
    EXPECT_LE(linhas_pintadas([this] { visao.definir_linha_atual(49997); }), 3);
}

TEST_F(VisaoFitaTeste, CalhaCresceComONumeroDeLinhas) {
    acrescentar("1", 9);
    const int pequena = visao.largura_calha();
    acrescentar("1", 50000 - 9);
    EXPECT_GT(visao.largura_calha(), pequena);
    EXPECT_EQ(visao.modelo().rowCount(), 50000);
}

} // namespace
