// Printing against a real print server: a private cupsd with a paused PDF
// queue. Each test starts its own scheduler and reads what reached the queue:
// the jobs, their attributes and the spooled documents.
#include <QPrinter>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <functional>

#include "apoio_pdf.h"
#include "documents/frm_loading.h"
#include "printing/documento_impressao.h"
#include "printing/frm_visualizar.h"
#include "servidor_cups.h"
#include "tests/printing/impressao_apoio.h"

namespace qp = quarvel::printing;

namespace {

const QString kFila = QString::fromLatin1(apoio::ServidorCups::fila);
const QString kPrefixo = QStringLiteral("Não foi possível imprimir: ");

// Body lines per page on the queue's paper, as the print command lays it out.
int linhas_por_pagina_na_fila() {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPrinterName(kFila);
    qp::DocumentoImpressao doc;
    doc.preparar(apoio::fita(1));
    doc.paginar(impressora);
    return doc.linhas_por_pagina();
}

// A tape of this many lines fills three pages: two full ones, then the last
// tape line, the empty line and the total line.
int linhas_para_tres_paginas() {
    return 2 * linhas_por_pagina_na_fila() + 1;
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

// Whatever part of the document or number of copies the print dialog hands
// over, the whole tape goes to the server once.
struct Escolha {
    const char* nome;
    QPrinter::PrintRange faixa;
    int de, ate, copias;
    QStringList opcoes;
};

void PrintTo(const Escolha& e, std::ostream* os) {
    *os << e.nome;
}

class EscolhaDoDialogo : public Comando, public ::testing::WithParamInterface<Escolha> {};

TEST_P(EscolhaDoDialogo, AindaImprimeTodasAsPaginasUmaVez) {
    const Escolha& e = GetParam();
    fita_de_tres_paginas();
    dlg->faixa = e.faixa;
    dlg->pagina_de = e.de;
    dlg->pagina_ate = e.ate;
    dlg->copias = e.copias;
    dlg->opcoes_cups = e.opcoes;
    comandos.imprimir();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    EXPECT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel 1.0"), 3));
}

const QString pr = QStringLiteral("page-ranges");

INSTANTIATE_TEST_SUITE_P(
    Dialogo, EscolhaDoDialogo,
    ::testing::Values(
        // "Páginas de 1 a 1": Qt sets the range and asks the server for it.
        Escolha{"PaginasDe1a1", QPrinter::PageRange, 1, 1, 1, {pr, QStringLiteral("1-1")}},
        Escolha{"CampoPaginas", QPrinter::AllPages, 0, 0, 1, {pr, QStringLiteral("1,3")}},
        Escolha{"SoPaginasPares",
                QPrinter::AllPages,
                0,
                0,
                1,
                {QStringLiteral("page-set"), QStringLiteral("even")}},
        Escolha{"PaginaAtual", QPrinter::CurrentPage, 0, 0, 1, {}},
        Escolha{"Selecao", QPrinter::Selection, 0, 0, 1, {}},
        Escolha{"DuasCopias",
                QPrinter::AllPages,
                0,
                0,
                2,
                {QStringLiteral("copies"), QStringLiteral("2"), QStringLiteral("Collate"),
                 QStringLiteral("True")}}),
    [](const ::testing::TestParamInfo<Escolha>& i) { return std::string(i.param.nome); });

TEST_F(Comando, OpcoesQueNaoEscolhemPaginasSeguemComOTrabalho) {
    fita_de_tres_paginas();
    dlg->opcoes_cups = {QStringLiteral("number-up"), QStringLiteral("2"), pr, QStringLiteral("2")};
    comandos.imprimir();
    ASSERT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel 1.0"), 3));
    const auto a = cups.atributos(cups.trabalhos().front().id);
    EXPECT_EQ(a.value(QStringLiteral("number-up")), QStringLiteral("2"));
    // The printer settings go along as Qt's own engine sends them.
    EXPECT_EQ(a.value(QStringLiteral("media")), QStringLiteral("A4"));
    EXPECT_EQ(a.value(QStringLiteral("sides")), QStringLiteral("one-sided"));
}

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
// The preview's Print: no dialog, the default printer.

class Previa : public ::testing::Test {
  protected:
    void SetUp() override {
        QString motivo;
        if (!cups.iniciar(&motivo)) GTEST_SKIP() << motivo.toStdString();
        doc.preparar(apoio::fita(linhas_para_tres_paginas(), {}, {}, QStringLiteral("Quarvel")));
        janela = std::make_unique<qp::TestPrintPreviewDlg>(doc);
        janela->setWindowState(Qt::WindowNoState);
        janela->resize(800, 600);
        janela->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        janela.reset();
        cups.parar();
    }
    void imprimir() {
        janela->comando(QStringLiteral("PrintCmd"))->trigger();
        QApplication::processEvents();
    }
    apoio::ServidorCups cups;
    qp::DocumentoImpressao doc;
    std::unique_ptr<qp::TestPrintPreviewDlg> janela;
};

TEST_F(Previa, ImprimeTodasAsPaginasComOTituloQuarvel) {
    EXPECT_EQ(janela->impressora().printerName(), kFila);
    EXPECT_EQ(janela->paginas(), 3);
    janela->comando(QStringLiteral("LastCmd"))->trigger();
    QSignalSpy falhas(janela.get(), &qp::TestPrintPreviewDlg::falha_impressao);
    imprimir();
    EXPECT_TRUE(falhas.isEmpty());
    EXPECT_TRUE(um_trabalho_inteiro(cups, QStringLiteral("Quarvel"), 3));
    EXPECT_EQ(janela->pagina_atual(), 3);
}

TEST_F(Previa, FilaQueRecusaAvisaComOMotivo) {
    ASSERT_TRUE(cups.recusar());
    QSignalSpy falhas(janela.get(), &qp::TestPrintPreviewDlg::falha_impressao);
    imprimir();
    ASSERT_EQ(falhas.size(), 1);
    EXPECT_TRUE(falhas[0][0].toString().contains(kFila)) << falhas[0][0].toString().toStdString();
    EXPECT_TRUE(cups.trabalhos().empty());
    EXPECT_EQ(janela->paginas(), 3);
}

} // namespace
