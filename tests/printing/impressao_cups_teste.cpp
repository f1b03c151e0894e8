// Printing against a real print server: a private cupsd with a paused PDF
// queue. Each test starts its own scheduler and reads what reached the queue:
// the jobs, their attributes and the spooled documents.
#include <QBuffer>
#include <QPdfWriter>
#include <QThread>
#include <QTimer>
#include <functional>

#include "apoio_pdf.h"
#include "espera/frm_loading.h"
#include "printing/documento_impressao.h"
#include "printing/frm_visualizar.h"
#include "servidor_cups.h"
#include "tests/printing/impressao_apoio.h"
#include "tests/printing/previa_apoio.h"

namespace qp = quarvel::printing;

namespace {

const QString kFila = QString::fromLatin1(apoio::ServidorCups::fila);
const QString kPrefixo = QStringLiteral("Não foi possível imprimir: ");

// Body lines per page on this paper (the queue's is A4), as the print
// command lays it out.
int linhas_por_pagina(const QPageLayout& pagina = qp::EscolhaImpressao{}.pagina()) {
    QBuffer nada;
    QPdfWriter medida(&nada);
    medida.setPageLayout(pagina);
    medida.setResolution(qp::kResolucaoImpressao);
    qp::DocumentoImpressao doc;
    doc.preparar(apoio::fita(1));
    doc.paginar(medida);
    return doc.linhas_por_pagina();
}

// A tape of this many lines fills three pages: two full ones, then the last
// tape line, the empty line and the total line.
int linhas_para_tres_paginas() {
    return 2 * linhas_por_pagina() + 1;
}

// The queue holds exactly one job with this title, whose document has this
// many pages and whose attributes pick no pages and no extra copies.
::testing::AssertionResult um_trabalho_inteiro(const apoio::ServidorCups& cups,
                                               const QString& titulo, int paginas) {
    const auto lista = cups.trabalhos();
    if (lista.size() != 1)
        return ::testing::AssertionFailure() << lista.size() << " trabalhos na fila";
    const auto& t = lista.front();
    if (t.titulo != titulo)
        return ::testing::AssertionFailure() << "título \"" << t.titulo.toStdString() << '"';
    if (t.documento.isEmpty())
        return ::testing::AssertionFailure() << "o documento não ficou no spool";
    const int no_spool = apoio::paginas_do_pdf(t.documento);
    if (no_spool != paginas)
        return ::testing::AssertionFailure() << no_spool << " páginas no documento";
    const auto a = cups.atributos(t.id);
    for (const char* nome : {"page-ranges", "page-set"})
        if (a.contains(QString::fromLatin1(nome)))
            return ::testing::AssertionFailure()
                   << nome << '=' << a.value(QString::fromLatin1(nome)).toStdString();
    if (a.value(QStringLiteral("copies"), QStringLiteral("1")) != QStringLiteral("1"))
        return ::testing::AssertionFailure()
               << "copies=" << a.value(QStringLiteral("copies")).toStdString();
    return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------
// The print command, behind the application's waiting window.

class Comando : public qp::ImpressaoTeste {
  protected:
    Comando()
        : ImpressaoTeste(
              [this](const std::function<bool()>& pronto, const std::function<void()>& cancelar) {
                  quarvel::documents::FormLoading::esperar(&dono, pronto, cancelar);
              }) {}
    void SetUp() override {
        QString motivo;
        if (!cups.iniciar(&motivo)) GTEST_SKIP() << motivo.toStdString();
        ImpressaoTeste::SetUp();
        dlg->aceitar_impressao = true;
        dlg->nome_impressora = kFila;
    }
    void TearDown() override { cups.parar(); }
    void fita_de_tres_paginas() {
        n = linhas_para_tres_paginas();
        conteudo = apoio::fita(n);
    }
    apoio::ServidorCups cups;
    int n = 0;
};

TEST_F(Comando, ImprimeAFitaInteiraNumTrabalho) {
    fita_de_tres_paginas();
    comandos.imprimir();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    EXPECT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel 1.0"), 3))
        << cups.log_erros().toStdString();
}

// The dialog is given the server's destinations, the default one marked,
// with the queue's paper.
TEST_F(Comando, ODialogoRecebeOsDestinosDoServidor) {
    conteudo = apoio::fita(1);
    dlg->aceitar_impressao = false;
    comandos.imprimir();
    ASSERT_EQ(dlg->destinos_oferecidos.size(), 1u);
    const qp::DestinoImpressao& d = dlg->destinos_oferecidos.front();
    EXPECT_EQ(QString::fromStdString(d.fila), kFila);
    EXPECT_TRUE(d.instancia.empty());
    EXPECT_TRUE(d.padrao);
    EXPECT_TRUE(qp::papel_do_servidor(d.papel).isEquivalentTo(QPageSize(QPageSize::A4))) << d.papel;
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    EXPECT_TRUE(cups.trabalhos().empty());
}

// Whatever paper, orientation or default copies of the queue, the whole tape
// goes to the server once, on the paper chosen.
struct Escolha {
    const char* nome;
    QPageSize::PageSizeId papel;
    QPageLayout::Orientation orientacao;
    QStringList opcoes_da_fila; // lpadmin -o, set on the queue beforehand
    const char* media;          // as the job carries it
};

void PrintTo(const Escolha& e, std::ostream* os) {
    *os << e.nome;
}

class EscolhaDoDialogo : public Comando, public ::testing::WithParamInterface<Escolha> {};

TEST_P(EscolhaDoDialogo, ImprimeTodasAsPaginasUmaVezNoPapelEscolhido) {
    const Escolha& e = GetParam();
    for (const QString& o : e.opcoes_da_fila) {
        QString saida;
        ASSERT_TRUE(cups.rodar(QStringLiteral("lpadmin"),
                               {QStringLiteral("-p"), kFila, QStringLiteral("-o"), o}, &saida))
            << saida.toStdString();
    }
    qp::EscolhaImpressao escolha;
    escolha.papel = QPageSize(e.papel);
    escolha.orientacao = e.orientacao;
    const int por_pagina = linhas_por_pagina(escolha.pagina());
    conteudo = apoio::fita(2 * por_pagina + 1);
    dlg->papel = escolha.papel;
    dlg->orientacao = e.orientacao;
    comandos.imprimir();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    ASSERT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel 1.0"), 3));
    const auto a = cups.atributos(cups.trabalhos().front().id);
    EXPECT_EQ(a.value(QStringLiteral("media")), QString::fromLatin1(e.media));
    // Orientation goes along as Qt's own engine sent it.
    EXPECT_EQ(a.contains(QStringLiteral("landscape")), e.orientacao == QPageLayout::Landscape);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogo, EscolhaDoDialogo,
    ::testing::Values(Escolha{"A4Retrato", QPageSize::A4, QPageLayout::Portrait, {}, "A4"},
                      Escolha{
                          "CartaPaisagem", QPageSize::Letter, QPageLayout::Landscape, {}, "Letter"},
                      Escolha{"FilaComDuasCopias",
                              QPageSize::A4,
                              QPageLayout::Portrait,
                              {QStringLiteral("copies-default=2")},
                              "A4"}),
    [](const ::testing::TestParamInfo<Escolha>& i) { return std::string(i.param.nome); });

TEST_F(Comando, FilaQueRecusaMostraOMotivoEOProgramaContinua) {
    fita_de_tres_paginas();
    ASSERT_TRUE(cups.recusar());
    comandos.imprimir();
    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(kPrefixo)) << dlg->avisos[0].toStdString();
    EXPECT_TRUE(dlg->avisos[0].contains(kFila)) << dlg->avisos[0].toStdString();
    EXPECT_TRUE(cups.trabalhos().empty());
    // Nothing was lost: once the queue accepts again, the same tape prints.
    ASSERT_TRUE(cups.aceitar());
    comandos.imprimir();
    EXPECT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel 1.0"), 3));
}

// ---------------------------------------------------------------------------
// A print server that stops answering (SIGSTOP): the events keep running
// behind the loading window, the time limit ends the wait with its message,
// and no document reaches the queue.

enum class Parada {
    AntesDoDialogo,  // the printers are asked for before the dialog opens
    DepoisDoDialogo, // the job is being handed over
    Cancelada,       // the user closes the loading window instead of waiting
};

struct ServidorParadoCaso {
    const char* nome;
    Parada parada;
    bool aviso; // "O servidor de impressão não respondeu." is shown
    friend void PrintTo(const ServidorParadoCaso& c, std::ostream* os) { *os << c.nome; }
};

class ServidorParado : public Comando, public ::testing::WithParamInterface<ServidorParadoCaso> {
  protected:
    void SetUp() override {
        Comando::SetUp();
        if (IsSkipped()) return;
        // Long enough to see the waiting window, short for a test; the
        // cancel case would wait the full 30 s if its cancel did nothing.
        if (GetParam().parada != Parada::Cancelada) qputenv("QUARVEL_PRAZO_IMPRESSAO_MS", "1500");
    }
    void TearDown() override {
        qunsetenv("QUARVEL_PRAZO_IMPRESSAO_MS");
        Comando::TearDown();
    }
};

TEST_P(ServidorParado, AJanelaSegueEONadaChegaAFila) {
    const ServidorParadoCaso& c = GetParam();
    conteudo = apoio::fita(30);
    if (c.parada == Parada::DepoisDoDialogo)
        dlg->ao_configurar = [this] { cups.congelar(); };
    else
        cups.congelar();

    // Ticks while the command runs: the event loop never stopped.
    int tiques = 0;
    bool espera_vista = false;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        ++tiques;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QStringLiteral("form_loading") || !w->isVisible()) continue;
            espera_vista = true;
            if (c.parada == Parada::Cancelada) w->close(); // Alt+F4 from the window manager
        }
    });
    relogio.start(100);
    comandos.imprimir();
    relogio.stop();

    EXPECT_GT(tiques, 3);
    EXPECT_TRUE(espera_vista);
    EXPECT_EQ(dlg->impressoes, c.parada == Parada::DepoisDoDialogo ? 1 : 0);
    EXPECT_EQ(dlg->avisos,
              c.aviso ? QStringList{QStringLiteral("O servidor de impressão não respondeu.")}
                      : QStringList{});
    // Answering again, the server holds no document to print.
    cups.descongelar();
    QThread::msleep(500);
    for (const auto& t : cups.trabalhos())
        EXPECT_TRUE(t.documento.isEmpty()) << "trabalho " << t.id;
}

INSTANTIATE_TEST_SUITE_P(
    Parado, ServidorParado,
    ::testing::Values(ServidorParadoCaso{"AntesDoDialogo", Parada::AntesDoDialogo, true},
                      ServidorParadoCaso{"DepoisDoDialogo", Parada::DepoisDoDialogo, true},
                      ServidorParadoCaso{"CanceladoNaEspera", Parada::Cancelada, false}),
    [](const ::testing::TestParamInfo<ServidorParadoCaso>& i) {
        return std::string(i.param.nome);
    });

// The printer or the whole server gone between the dialog and the job: the
// reason comes in Portuguese, never the system's "No such file or directory".
TEST_F(Comando, ImpressoraOuServidorQueSumiramTemMotivoEmPortugues) {
    conteudo = apoio::fita(1);
    const struct {
        const char* nome;
        std::function<void()> sumir;
        QString motivo;
    } casos[] = {
        {"fila removida",
         [this] {
             cups.rodar(QStringLiteral("lpadmin"), {QStringLiteral("-x"), kFila});
         },
         QStringLiteral("a impressora %1 não existe mais no servidor de impressão").arg(kFila)},
        {"servidor parado", [this] { cups.parar(); },
         QStringLiteral("o servidor de impressão não está disponível")},
    };
    for (const auto& c : casos) {
        // Each case on a scheduler of its own, its queue in place.
        cups.parar();
        QString motivo;
        ASSERT_TRUE(cups.iniciar(&motivo)) << motivo.toStdString();
        dlg->avisos.clear();
        dlg->ao_configurar = c.sumir;
        comandos.imprimir();
        EXPECT_EQ(dlg->avisos, QStringList{kPrefixo + c.motivo}) << c.nome;
    }
}

// ---------------------------------------------------------------------------
// The preview's Print: the print command's own question, dialog and
// hand-over, with the preview as the owner.

class Previa : public Comando {
  protected:
    // Opens the real preview as the command would, runs `enquanto` while it
    // is shown, and closes it.
    void visualizar(const std::function<void(qp::TestPrintPreviewDlg&)>& enquanto) {
        dlg->ao_visualizar = [&](QWidget* dona, qp::DocumentoImpressao& doc,
                                 const QPageLayout& pagina,
                                 const std::function<void(QWidget*)>& imprimir) {
            qp::TestPrintPreviewDlg janela(doc, dona, pagina, imprimir);
            janela.setWindowState(Qt::WindowNoState);
            janela.resize(800, 600);
            janela.show();
            QApplication::processEvents();
            enquanto(janela);
        };
        comandos.visualizar();
    }
    static void imprimir(qp::TestPrintPreviewDlg& janela) {
        qp::VistaPrevia(janela).executar("PrintCmd");
        QApplication::processEvents();
    }
};

TEST_F(Previa, ImprimeTodasAsPaginasComOTituloQuarvel) {
    fita_de_tres_paginas();
    int paginas = 0, pagina = 0;
    visualizar([&](qp::TestPrintPreviewDlg& janela) {
        const qp::VistaPrevia vista(janela);
        vista.executar("LastCmd");
        imprimir(janela);
        paginas = vista.paginas();
        pagina = vista.pagina_atual();
    });
    EXPECT_EQ(paginas, 3);
    EXPECT_EQ(pagina, 3);
    EXPECT_EQ(dlg->impressoes, 1);
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    EXPECT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel"), 3));
}

TEST_F(Previa, FilaQueRecusaAvisaComOMotivo) {
    fita_de_tres_paginas();
    ASSERT_TRUE(cups.recusar());
    int paginas = 0;
    visualizar([&](qp::TestPrintPreviewDlg& janela) {
        imprimir(janela);
        paginas = qp::VistaPrevia(janela).paginas();
    });
    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(kPrefixo)) << dlg->avisos[0].toStdString();
    EXPECT_TRUE(dlg->avisos[0].contains(kFila)) << dlg->avisos[0].toStdString();
    EXPECT_TRUE(cups.trabalhos().empty());
    EXPECT_EQ(paginas, 3);
}

// Once the server has named its default paper, the preview lays out on it.
TEST_F(Previa, UsaOPapelDaImpressoraPadraoDepoisDaPergunta) {
    QString saida;
    ASSERT_TRUE(cups.rodar(
        QStringLiteral("lpadmin"),
        {QStringLiteral("-p"), kFila, QStringLiteral("-o"), QStringLiteral("media-default=Letter")},
        &saida))
        << saida.toStdString();
    conteudo = apoio::fita(3);
    comandos.visualizar();
    EXPECT_TRUE(dlg->pagina_previa.pageSize().isEquivalentTo(QPageSize(QPageSize::A4)));
    dlg->aceitar_impressao = false;
    comandos.imprimir();
    comandos.visualizar();
    EXPECT_TRUE(dlg->pagina_previa.pageSize().isEquivalentTo(QPageSize(QPageSize::Letter)))
        << dlg->pagina_previa.pageSize().key().toStdString();
}

// ---------------------------------------------------------------------------
// A server that takes the connection and never answers: the preview opens
// without asking it anything, and printing, from the window or from the
// preview, keeps the events running and ends with the message at the limit,
// or at once when the user closes the waiting window.

struct MudoCaso {
    const char* nome;
    bool da_previa; // Print in the preview, else the print command
    bool cancelar;  // Alt+F4 on the waiting window
    friend void PrintTo(const MudoCaso& c, std::ostream* os) { *os << c.nome; }
};

class ServidorMudo : public qp::ImpressaoTeste, public ::testing::WithParamInterface<MudoCaso> {
  protected:
    ServidorMudo()
        : ImpressaoTeste(
              [this](const std::function<bool()>& pronto, const std::function<void()>& cancelar) {
                  quarvel::documents::FormLoading::esperar(&dono, pronto, cancelar);
              }) {}
    void SetUp() override {
        QString motivo;
        ASSERT_TRUE(mudo.iniciar(&motivo)) << motivo.toStdString();
        // The cancel case would wait the full 30 s if its cancel did nothing.
        if (!GetParam().cancelar) qputenv("QUARVEL_PRAZO_IMPRESSAO_MS", "1500");
        ImpressaoTeste::SetUp();
        dlg->aceitar_impressao = true;
        dlg->nome_impressora = kFila;
    }
    void TearDown() override { qunsetenv("QUARVEL_PRAZO_IMPRESSAO_MS"); }
    apoio::ServidorMudo mudo;
};

TEST_P(ServidorMudo, AJanelaSegueEOComandoTermina) {
    const MudoCaso& c = GetParam();
    conteudo = apoio::fita(30);
    int tiques = 0;
    bool espera_vista = false;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        ++tiques;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QStringLiteral("form_loading") || !w->isVisible()) continue;
            espera_vista = true;
            if (c.cancelar) w->close(); // Alt+F4 from the window manager
        }
    });
    int conexoes_da_previa = -1;
    if (c.da_previa) {
        dlg->ao_visualizar = [&](QWidget* dona, qp::DocumentoImpressao& doc,
                                 const QPageLayout& pagina,
                                 const std::function<void(QWidget*)>& imprimir) {
            qp::TestPrintPreviewDlg janela(doc, dona, pagina, imprimir);
            janela.show();
            QApplication::processEvents();
            conexoes_da_previa = mudo.conexoes();
            relogio.start(100);
            qp::VistaPrevia(janela).executar("PrintCmd");
            relogio.stop();
        };
        comandos.visualizar();
        EXPECT_EQ(conexoes_da_previa, 0); // opening asked the server nothing
    } else {
        relogio.start(100);
        comandos.imprimir();
        relogio.stop();
    }
    EXPECT_GE(mudo.conexoes(), 1);
    EXPECT_GT(tiques, 3);
    EXPECT_TRUE(espera_vista);
    EXPECT_EQ(dlg->impressoes, 0); // no dialog without the server's answer
    EXPECT_EQ(dlg->avisos,
              c.cancelar ? QStringList{}
                         : QStringList{QStringLiteral("O servidor de impressão não respondeu.")});
    EXPECT_FALSE(comandos.ocupado());
}

INSTANTIATE_TEST_SUITE_P(Mudo, ServidorMudo,
                         ::testing::Values(MudoCaso{"Imprimir", false, false},
                                           MudoCaso{"ImprimirCancelado", false, true},
                                           MudoCaso{"ImprimirDaPrevia", true, false},
                                           MudoCaso{"ImprimirDaPreviaCancelado", true, true}),
                         [](const ::testing::TestParamInfo<MudoCaso>& i) {
                             return std::string(i.param.nome);
                         });

} // namespace
