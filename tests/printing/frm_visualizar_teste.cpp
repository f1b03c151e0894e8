#include "printing/frm_visualizar.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QPrinterInfo>
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
#include "printing/documento_impressao.h"
#include "printing/mensagens.h"

namespace qp = quarvel::printing;
using Escala = qp::TestPrintPreviewDlg::Escala;

namespace {

class Previa : public ::testing::Test {
  protected:
    // A preview of a tape of n lines, shown at a fixed size.
    std::unique_ptr<qp::TestPrintPreviewDlg> abrir(int n, const QString& cabecalho = {}) {
        doc.preparar(apoio::fita(n, cabecalho, {}, QStringLiteral("Quarvel")));
        auto d = std::make_unique<qp::TestPrintPreviewDlg>(doc);
        d->setWindowState(Qt::WindowNoState);
        d->resize(800, 600);
        d->show();
        QApplication::processEvents();
        return d;
    }
    void executar(qp::TestPrintPreviewDlg& d, const char* nome) {
        QAction* a = d.comando(QString::fromLatin1(nome));
        ASSERT_NE(a, nullptr) << nome;
        a->trigger();
    }
    void clicar(qp::TestPrintPreviewDlg& d, Qt::MouseButton b) {
        const QPointF pos(50, 50);
        QMouseEvent e(QEvent::MouseButtonPress, pos, d.visao()->mapToGlobal(pos), b, b,
                      Qt::NoModifier);
        QApplication::sendEvent(d.visao(), &e);
    }
    QScrollBar* barra_v(qp::TestPrintPreviewDlg& d) {
        return d.findChild<QAbstractScrollArea*>(QStringLiteral("PageView"))->verticalScrollBar();
    }
    qp::DocumentoImpressao doc;
};

TEST_F(Previa, BotoesDaBarraComecamACincoPixelsDaBorda) {
    auto d = abrir(3);
    QList<QToolButton*> botoes = d->findChildren<QToolButton*>();
    botoes.erase(std::remove_if(botoes.begin(), botoes.end(),
                                [](QToolButton* b) { return !b->isVisible(); }),
                 botoes.end());
    ASSERT_FALSE(botoes.isEmpty());
    int esquerda = INT_MAX;
    for (QToolButton* b : botoes)
        esquerda = std::min(esquerda, b->mapTo(d.get(), QPoint(0, 0)).x());
    EXPECT_EQ(esquerda, 5);
}

TEST_F(Previa, JanelaEComandos) {
    auto d = abrir(3);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Print Preview"));
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
        QAction* a = d->comando(QString::fromLatin1(c.nome));
        ASSERT_NE(a, nullptr) << c.nome;
        EXPECT_EQ(a->shortcut(), c.atalho) << c.nome;
        if (c.dica) {
            EXPECT_EQ(a->toolTip(), QString::fromLatin1(c.dica));
            EXPECT_EQ(a->statusTip(), QString::fromLatin1(c.ajuda));
        }
    }
    // The print hint names the current printer, if there is one.
    const QPrinterInfo atual = QPrinterInfo::defaultPrinter();
    QAction* print = d->comando(QStringLiteral("PrintCmd"));
    if (atual.isNull()) {
        EXPECT_EQ(print->toolTip(), QStringLiteral("Print"));
        EXPECT_EQ(print->statusTip(), QStringLiteral("Print the document"));
    } else {
        EXPECT_EQ(print->toolTip(), QStringLiteral("Print (%1)").arg(atual.printerName()));
        EXPECT_EQ(print->statusTip(),
                  QStringLiteral("Print the document on %1").arg(atual.printerName()));
    }

    QStringList itens;
    for (QAction* a : d->menu_zoom()->actions())
        itens << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(itens, QStringList({"Página Inteira", "Largura Página", "-", "25%", "50%", "100%",
                                  "200%", "400%"}));
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
    auto d = abrir(5);
    d->zoom(qp::kZoomLarguraPagina); // "Largura Página" with the initial 100 % held
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
    d->refazer_layout(); // a new layout in another mode resets the held zoom
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
    entrar(d->findChild<QToolButton*>(QStringLiteral("FirstCmdButton")));
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  Go to first page"));
    entrar(d->findChild<QToolButton*>(QStringLiteral("CloseCmdButton")));
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  Close Print Preview"));
    entrar(d->visao());
    EXPECT_EQ(d->texto_ajuda(), QStringLiteral("  "));
}

TEST_F(Previa, ImprimirDaJanelaMantemAPagina) {
    QTemporaryDir dir;
    auto d = abrir(400, QStringLiteral("$TITLE$"));
    const QString arquivo = dir.filePath(QStringLiteral("previa.pdf"));
    d->impressora().setOutputFormat(QPrinter::PdfFormat);
    d->impressora().setOutputFileName(arquivo);
    executar(*d, "NextCmd");
    QSignalSpy falhas(d.get(), &qp::TestPrintPreviewDlg::falha_impressao);
    executar(*d, "PrintCmd");
    EXPECT_EQ(falhas.count(), 0);
    EXPECT_EQ(d->pagina_atual(), 2);
    EXPECT_EQ(d->texto_pagina(), QStringLiteral(" Page: 2"));

    const QStringList paginas = apoio::paginas_pdf(arquivo);
    ASSERT_EQ(paginas.size(), d->paginas());
    EXPECT_EQ(apoio::linhas(paginas[0]).value(0), QStringLiteral("Quarvel"));
    EXPECT_TRUE(apoio::info_pdf(arquivo).contains(QRegularExpression("Title:\\s+Quarvel\\n")));

    if (const QString png = qEnvironmentVariable("QUARVEL_PREVIA_PNG"); !png.isEmpty())
        d->grab().save(png);
}

TEST_F(Previa, FalhaDeImpressaoViraSinal) {
    auto d = abrir(3);
    d->impressora().setOutputFormat(QPrinter::PdfFormat);
    d->impressora().setOutputFileName(QStringLiteral("/nao/existe/previa.pdf"));
    QSignalSpy falhas(d.get(), &qp::TestPrintPreviewDlg::falha_impressao);
    executar(*d, "PrintCmd");
    ASSERT_EQ(falhas.count(), 1);
    EXPECT_FALSE(falhas.at(0).at(0).toString().isEmpty());
    EXPECT_EQ(d->pagina_atual(), 1);
}

} // namespace
