#include "printing/frm_visualizar.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "apoio_pdf.h"
#include "printing/dialogos_impressao.h"
#include "printing/documento_impressao.h"
#include "printing/mensagens.h"
#include "tests/printing/previa_apoio.h"

namespace qp = quarvel::printing;
using qp::Escala;

namespace {

// A preview shown, and seen through its controls.
struct Aberta : qp::VistaPrevia {
    explicit Aberta(std::unique_ptr<qp::TestPrintPreviewDlg> d)
        : VistaPrevia(*d), janela(std::move(d)) {}
    std::unique_ptr<qp::TestPrintPreviewDlg> janela;
};

class Previa : public ::testing::Test {
  protected:
    // A preview of a tape of n lines, shown at a fixed size.
    std::unique_ptr<Aberta> abrir(int n, const QString& cabecalho = {},
                                  const QPageLayout& pagina = {},
                                  qp::TestPrintPreviewDlg::Impressao imprimir = {}) {
        doc.preparar(apoio::fita(n, cabecalho, {}, QStringLiteral("Quarvel")));
        auto d = std::make_unique<Aberta>(
            std::make_unique<qp::TestPrintPreviewDlg>(doc, nullptr, pagina, imprimir));
        d->janela->setWindowState(Qt::WindowNoState);
        d->janela->resize(800, 600);
        d->janela->show();
        QApplication::processEvents();
        return d;
    }
    void executar(Aberta& d, const char* nome) { d.executar(nome); }
    void clicar(Aberta& d, Qt::MouseButton b) {
        const QPointF pos(50, 50);
        QMouseEvent e(QEvent::MouseButtonPress, pos, d.visao()->mapToGlobal(pos), b, b,
                      Qt::NoModifier);
        QApplication::sendEvent(d.visao(), &e);
    }
    QScrollBar* barra_v(Aberta& d) { return d.barra_v(); }
    // The preview laid its pages out on this paper: the document measured it.
    bool papel_e(QPageSize::PageSizeId id) const {
        const qp::Dispositivo& d = doc.dispositivo();
        const QSize papel = QPageLayout(QPageSize(id), QPageLayout::Portrait, QMarginsF())
                                .fullRectPixels(static_cast<int>(d.dpi_x))
                                .size();
        return QSize(qRound(d.papel_largura), qRound(d.papel_altura)) == papel;
    }
    qp::DocumentoImpressao doc;
};

TEST_F(Previa, BotoesDaBarraComecamACincoPixelsDaBorda) {
    auto d = abrir(3);
    QList<QToolButton*> botoes = d->janela->findChildren<QToolButton*>();
    botoes.erase(std::remove_if(botoes.begin(), botoes.end(),
                                [](QToolButton* b) { return !b->isVisible(); }),
                 botoes.end());
    ASSERT_FALSE(botoes.isEmpty());
    int esquerda = INT_MAX;
    for (QToolButton* b : botoes)
        esquerda = std::min(esquerda, b->mapTo(d->janela.get(), QPoint(0, 0)).x());
    EXPECT_EQ(esquerda, 5);
}

TEST_F(Previa, JanelaEComandos) {
    auto d = abrir(3);
    EXPECT_EQ(d->janela->windowTitle(), QStringLiteral("Print Preview"));
    struct Comando {
        const char* nome;
        QKeySequence atalho;
        const char* dica;
        const char* ajuda;
    };
    const Comando comandos[] = {
        {"FirstCmd", QKeySequence(QStringLiteral("Alt+F")), "First", "Go to first page"},
        {"PrevCmd", QKeySequence(QStringLiteral("Alt+P")), "Previous", "Go to previous page"},
        {"NextCmd", QKeySequence(QStringLiteral("Alt+N")), "Next", "Go to next page"},
        {"LastCmd", QKeySequence(QStringLiteral("Alt+L")), "Last", "Go to last page"},
        {"ZoomCmd", QKeySequence(QStringLiteral("Alt+Z")), "Zoom", "Zoom In/Out"},
        {"PrintCmd", QKeySequence(QStringLiteral("Ctrl+P")), nullptr, nullptr},
        {"CloseCmd", QKeySequence(QStringLiteral("Alt+C")), "Close", "Close Print Preview"},
    };
    for (const Comando& c : comandos) {
        QAction* a = d->comando(c.nome);
        ASSERT_NE(a, nullptr) << c.nome;
        EXPECT_EQ(a->shortcut(), c.atalho) << c.nome;
        if (c.dica) {
            EXPECT_EQ(a->toolTip(), QString::fromLatin1(c.dica));
            EXPECT_EQ(a->statusTip(), QString::fromLatin1(c.ajuda));
        }
    }
    // The print hint names no printer: the window asks the server nothing.
    QAction* print = d->comando("PrintCmd");
    EXPECT_EQ(print->toolTip(), QStringLiteral("Print"));
    EXPECT_EQ(print->statusTip(), QStringLiteral("Print the document"));
}

TEST_F(Previa, NavegacaoRespeitaOsLimites) {
    auto d = abrir(400); // several pages
    ASSERT_GE(d->paginas(), 3);
    const int ultima = d->paginas();
    EXPECT_EQ(d->pagina_atual(), 1);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 1"));
    executar(*d, "PrevCmd");
    EXPECT_EQ(d->pagina_atual(), 1);
    executar(*d, "NextCmd");
    EXPECT_EQ(d->pagina_atual(), 2);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 2"));
    executar(*d, "LastCmd");
    EXPECT_EQ(d->pagina_atual(), ultima);
    executar(*d, "NextCmd");
    EXPECT_EQ(d->pagina_atual(), ultima);
    executar(*d, "PrevCmd");
    EXPECT_EQ(d->pagina_atual(), ultima - 1);
    executar(*d, "FirstCmd");
    EXPECT_EQ(d->pagina_atual(), 1);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 1"));
}

TEST_F(Previa, DocumentoDeUmaPaginaFicaNaPagina1) {
    auto d = abrir(1);
    EXPECT_EQ(d->paginas(), 1);
    for (const char* c : {"NextCmd", "PrevCmd", "FirstCmd", "LastCmd"}) {
        executar(*d, c);
        EXPECT_EQ(d->pagina_atual(), 1) << c;
        EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 1"));
    }
}

TEST_F(Previa, CliquesDoMouse) {
    auto d = abrir(5);
    EXPECT_EQ(d->modo_escala(), Escala::pagina_inteira);
    for (int esperado : {100, 200, 400, 400}) {
        clicar(*d, Qt::LeftButton);
        EXPECT_EQ(d->modo_escala(), Escala::percentual);
        EXPECT_EQ(d->percentual(), esperado);
    }
    d->zoom(50);
    for (int esperado : {25, 25}) {
        clicar(*d, Qt::RightButton);
        EXPECT_EQ(d->percentual(), esperado);
    }
    clicar(*d, Qt::MiddleButton); // any other button zooms out too
    EXPECT_EQ(d->percentual(), 25);
}

TEST_F(Previa, LarguraDaPaginaDobraOPercentualGuardado) {
    auto d = abrir(5, {}, {}, [](QWidget*) {}); // a print that prints nothing
    d->zoom(qp::kZoomLarguraPagina);            // "Largura Página" with the initial 100 % held
    EXPECT_EQ(d->modo_escala(), Escala::largura_pagina);
    clicar(*d, Qt::LeftButton);
    EXPECT_EQ(d->modo_escala(), Escala::percentual);
    EXPECT_EQ(d->percentual(), 200);

    d->zoom(25);
    d->zoom(qp::kZoomLarguraPagina);
    EXPECT_EQ(d->percentual(), 25); // held while page width is shown
    clicar(*d, Qt::LeftButton);
    EXPECT_EQ(d->percentual(), 50);

    executar(*d, "ZoomCmd");
    EXPECT_EQ(d->modo_escala(), Escala::pagina_inteira);
    // Print lays the pages out again: a new layout in another mode resets
    // the held zoom.
    executar(*d, "PrintCmd");
    EXPECT_EQ(d->percentual(), 100);
}

TEST_F(Previa, MenuDeZoomPorCodigo) {
    auto d = abrir(5);
    QMenu* m = d->menu_zoom();
    EXPECT_EQ(m->actions().at(0)->data().toInt(), qp::kZoomPaginaInteira);
    EXPECT_EQ(m->actions().at(1)->data().toInt(), qp::kZoomLarguraPagina);
    m->actions().at(4)->trigger(); // 50%
    EXPECT_EQ(d->modo_escala(), Escala::percentual);
    EXPECT_EQ(d->percentual(), 50);
    m->actions().at(1)->trigger();
    EXPECT_EQ(d->modo_escala(), Escala::largura_pagina);
    m->actions().at(0)->trigger();
    EXPECT_EQ(d->modo_escala(), Escala::pagina_inteira);
}

TEST_F(Previa, TamanhoDaPaginaDesenhada) {
    auto d = abrir(5);
    const QWidget* v = d->visao();
    const int W = v->width(), H = v->height();
    const double proporcao = doc.dispositivo().papel_largura / doc.dispositivo().papel_altura;

    QRect r = d->retangulo_pagina();
    EXPECT_TRUE(r.width() == W - 26 || r.height() == H - 26);
    EXPECT_LE(r.width(), W - 26);
    EXPECT_LE(r.height(), H - 26);
    EXPECT_NEAR(double(r.width()) / r.height(), proporcao, 0.01);
    EXPECT_NEAR(r.center().x(), W / 2.0, 1.5); // centred when smaller

    d->zoom(qp::kZoomLarguraPagina);
    r = d->retangulo_pagina();
    EXPECT_EQ(r.width(), d->visao()->width() - 26);
    EXPECT_NEAR(double(r.width()) / r.height(), proporcao, 0.01);
    EXPECT_EQ(r.top(), 12);

    d->zoom(200);
    r = d->retangulo_pagina();
    const double mm_largura = doc.dispositivo().papel_largura / doc.dispositivo().dpi_x * 25.4;
    EXPECT_NEAR(r.width(), mm_largura / 25.4 * d->visao()->logicalDpiX() * 2, 1.0);
    EXPECT_EQ(r.topLeft(), QPoint(12, 12));
}

TEST_F(Previa, BarraVerticalPassaPaginasNaPaginaInteira) {
    auto d = abrir(400);
    QScrollBar* b = barra_v(*d);
    EXPECT_EQ(b->minimum(), 1);
    EXPECT_EQ(b->maximum(), d->paginas());
    b->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(d->pagina_atual(), 2);
    b->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(d->pagina_atual(), 3);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 3"));
    b->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(d->pagina_atual(), d->paginas());

    // Dragging the thumb shows the page under it and the view follows.
    b->setSliderDown(true);
    b->setSliderPosition(2);
    EXPECT_EQ(d->dica_arraste(), QStringLiteral("Page: 2"));
    EXPECT_EQ(d->pagina_atual(), 2);
    b->setSliderDown(false);
    EXPECT_TRUE(d->dica_arraste().isEmpty());

    executar(*d, "NextCmd");
    EXPECT_EQ(b->value(), 3); // the thumb follows the page
}

TEST_F(Previa, RodaDoMouse) {
    auto d = abrir(400);
    auto rodar = [&](int delta) {
        const QPointF pos(40, 40);
        QWheelEvent e(pos, d->visao()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(d->visao(), &e);
    };
    rodar(-120);
    EXPECT_EQ(d->pagina_atual(), 1); // no effect on the whole page

    d->zoom(200);
    QScrollBar* b = barra_v(*d);
    ASSERT_GT(b->maximum(), 400);
    EXPECT_EQ(b->value(), 0);
    rodar(-240);
    EXPECT_EQ(b->value(), 240);
    rodar(120);
    EXPECT_EQ(b->value(), 120);
    EXPECT_EQ(b->singleStep(), d->visao()->height() / 10);
    EXPECT_EQ(b->pageStep(), d->visao()->height() / 2);
    EXPECT_EQ(d->pagina_atual(), 1);
}

TEST_F(Previa, AjudaDoControleSobOPonteiro) {
    auto d = abrir(2);
    auto entrar = [&](QWidget* w) {
        QEvent e(QEvent::Enter);
        QApplication::sendEvent(w, &e);
    };
    entrar(d->janela->findChild<QToolButton*>(QStringLiteral("FirstCmdButton")));
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  Go to first page"));
    entrar(d->janela->findChild<QToolButton*>(QStringLiteral("CloseCmdButton")));
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  Close Print Preview"));
    entrar(d->visao());
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  "));
}

// Print runs the print command with the preview as the owner of its dialog;
// here it prints into a PDF on Carta paper, the preview keeping its page.
TEST_F(Previa, ImprimirDaJanelaMantemAPagina) {
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("previa.pdf"));
    QWidget* dona = nullptr;
    QString erro;
    bool ok = false;
    auto imprimir = [&](QWidget* janela) {
        dona = janela;
        qp::EscolhaImpressao escolha;
        escolha.arquivo_pdf = arquivo;
        escolha.papel = QPageSize(QPageSize::Letter);
        ok = doc.imprimir(escolha, &erro);
    };
    auto d = abrir(400, QStringLiteral("$TITLE$"), {}, imprimir);
    const int paginas_a4 = d->paginas();
    executar(*d, "NextCmd");
    executar(*d, "PrintCmd");
    EXPECT_EQ(dona, d->janela.get());
    ASSERT_TRUE(ok) << erro.toStdString();
    EXPECT_EQ(d->pagina_atual(), 2);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 2"));
    EXPECT_EQ(d->paginas(), paginas_a4); // laid out on its own A4 again

    const QStringList paginas = apoio::paginas_pdf(arquivo);
    EXPECT_GT(paginas.size(), d->paginas()); // Carta is shorter than A4
    EXPECT_EQ(apoio::linhas(paginas.value(0)).value(0), QStringLiteral("Quarvel"));
    EXPECT_TRUE(apoio::info_pdf(arquivo).contains(QRegularExpression("Title:\\s+Quarvel\\n")));

    if (const QString png = qEnvironmentVariable("QUARVEL_PREVIA_PNG"); !png.isEmpty())
        d->janela->grab().save(png);
}

// The page comes from the caller (the default printer's paper once the
// server named it), A4 without one.
TEST_F(Previa, PaginaDadaOuA4) {
    auto a4 = abrir(400);
    EXPECT_TRUE(papel_e(QPageSize::A4));
    const int paginas_a4 = a4->paginas();
    a4.reset();
    qp::EscolhaImpressao carta;
    carta.papel = QPageSize(QPageSize::Letter);
    auto d = abrir(400, {}, carta.pagina());
    EXPECT_TRUE(papel_e(QPageSize::Letter));
    EXPECT_GT(d->paginas(), paginas_a4);
    // Without a print command, Print does nothing and keeps the page.
    executar(*d, "LastCmd");
    executar(*d, "PrintCmd");
    EXPECT_EQ(d->pagina_atual(), d->paginas());
}

} // namespace
