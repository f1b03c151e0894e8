// Calculation files and the unsaved-changes question: the document commands
// over their narrow context, the dialogs answered from a script.
#include "tests/documents/comandos_apoio.h"

#include "espera/frm_loading.h"

#include <QFile>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quarvel::documents {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

using DocumentoTeste = ComandosTeste;

const QByteArray kExemplo =
    "[CONFIG]\r\nCABECALHO=Loja Centro\r\nRODAPE=Conferido por:\r\nBACKUP=1\r\nQTDETEMPO=2\r\n"
    "TEXTO_BACKUP=malote1\r\n[LER]\r\nINICIO=10\r\nFIM=12\r\n\r\n150\r\n1234,56\r\n20,5\r\n";

TEST_F(DocumentoTeste, SalvarSemNomePedeONomeEDepoisGravaNoMesmo) {
    for (const char* v : {"150", "1.234,56", "20,5"})
        adicionar(QString::fromLatin1(v));
    cabecalho->setText(QStringLiteral("Loja Centro"));
    rodape->setText(QStringLiteral("Conferido por:"));
    nome_arquivo->setText(QStringLiteral("malote1"));
    qtdetempo->setCurrentIndex(2);
    d01->setChecked(true);
    const QString arquivo = caminho("malote1.qvl");
    dlg->arquivos_salvar = {arquivo};
    comandos_documento.salvar_padrao();
    EXPECT_EQ(ler_arquivo(arquivo), kExemplo);
    EXPECT_EQ(nomes, QStringList{"malote1.qvl"});
    adicionar(QStringLiteral("1"));
    comandos_documento.salvar_padrao(); // no dialog this time
    EXPECT_TRUE(dlg->arquivos_salvar.empty());
    EXPECT_TRUE(ler_arquivo(arquivo).endsWith("20,5\r\n1\r\n"));
}

TEST_F(DocumentoTeste, AbrirCarregaValoresEConfiguracao) {
    const QString arquivo = caminho("exemplo.qvl");
    escrever_arquivo(arquivo, kExemplo);
    nome_arquivo->setText(QStringLiteral("x")); // nothing typed that would ask
    nome_arquivo->clear();
    dlg->arquivos_abrir = {arquivo};
    comandos_documento.abrir();
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    EXPECT_EQ(linhas(), (QStringList{"150,00", "1.234,56", "20,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.405,06"));
    EXPECT_EQ(cabecalho->text(), QStringLiteral("Loja Centro"));
    EXPECT_EQ(qtdetempo->currentIndex(), 2);
    EXPECT_TRUE(d01->isChecked());
    EXPECT_EQ(comandos_backup.temporizador().interval(), 3 * 60000);
    EXPECT_EQ(nomes, QStringList{"exemplo.qvl"});
    // Saved again unchanged, the bytes are the same.
    comandos_documento.salvar_padrao();
    EXPECT_EQ(ler_arquivo(arquivo), kExemplo);
}

// A calculation file with the given backup settings and one value.
QByteArray com_backup(const char* config) {
    const QByteArray ini = "[CONFIG]\r\n" + QByteArray(config) + "[LER]\r\nINICIO=";
    // The INI part: the [CONFIG] lines, [LER], INICIO, FIM; then the blank line.
    const int linhas = 1 + QByteArray(config).count('\n') + 3;
    return ini + QByteArray::number(linhas + 1) + "\r\nFIM=" + QByteArray::number(linhas + 1) +
           "\r\n\r\n5\r\n";
}

struct AberturaBackup {
    const char* nome;
    int intervalo_antes; // index shown before the file is opened; -1 none
    bool chave_antes;
    const char* config;
    bool chave_depois;
    int minutos_timer; // 0: the timer stopped
    int intervalo_depois;
    const char* aviso; // nullptr: none
    friend void PrintTo(const AberturaBackup& a, std::ostream* os) { *os << a.nome; }
};

class AbrirComBackup : public ComandosTeste,
                       public ::testing::WithParamInterface<AberturaBackup> {};

TEST_P(AbrirComBackup, AplicaAChaveDepoisOIntervaloSemPerguntarNemMudarODocumento) {
    const AberturaBackup& a = GetParam();
    if (a.intervalo_antes < 0) {
        // Only a file without an interval leaves the box with no selection.
        escrever_arquivo(caminho("sem_intervalo.qvl"), com_backup("BACKUP=0\r\n"));
        dlg->arquivos_abrir = {caminho("sem_intervalo.qvl")};
        comandos_documento.abrir();
        ASSERT_EQ(qtdetempo->currentIndex(), -1);
    } else {
        qtdetempo->setCurrentIndex(a.intervalo_antes);
    }
    if (a.chave_antes) {
        nome_arquivo->setText(QStringLiteral("antes"));
        d01->setChecked(true);
        ASSERT_TRUE(comandos_backup.temporizador().isActive());
    }
    dlg->avisos.clear();
    dlg->respostas = {Resposta::Nao};
    escrever_arquivo(caminho("aberto.qvl"), com_backup(a.config));
    dlg->arquivos_abrir = {caminho("aberto.qvl")};
    comandos_documento.abrir();
    EXPECT_EQ(comandos_documento.arquivo_atual(), caminho("aberto.qvl"));
    EXPECT_EQ(dlg->avisos, a.aviso ? QStringList{QString::fromUtf8(a.aviso)} : QStringList{});
    EXPECT_EQ(d01->isChecked(), a.chave_depois);
    EXPECT_EQ(comandos_backup.temporizador().isActive(), a.minutos_timer > 0);
    if (a.minutos_timer > 0) {
        EXPECT_EQ(comandos_backup.temporizador().interval(), a.minutos_timer * 60000);
    }
    EXPECT_EQ(qtdetempo->currentIndex(), a.intervalo_depois);
    if (a.aviso) return; // the switch went back off: the window differs from the file
    // The box shows the interval that runs, which the file did not have.
    if (!QByteArray(a.config).contains("QTDETEMPO")) return;
    dlg->perguntas.clear();
    EXPECT_TRUE(comandos_documento.confirmar_alteracoes()); // as closing asks
    EXPECT_TRUE(dlg->perguntas.isEmpty()) << dlg->perguntas.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Configuracoes, AbrirComBackup,
    ::testing::Values(AberturaBackup{"SemIntervaloUsaOMostrado", 1, false,
                                     "BACKUP=1\r\nTEXTO_BACKUP=malote\r\n", true, 2, 1, nullptr},
                      AberturaBackup{"SemIntervaloNemMostradoUsaUmMinuto", -1, false,
                                     "BACKUP=1\r\nTEXTO_BACKUP=malote\r\n", true, 1, 0, nullptr},
                      AberturaBackup{"IntervaloDoArquivo", 0, false,
                                     "BACKUP=1\r\nQTDETEMPO=3\r\nTEXTO_BACKUP=malote\r\n", true, 4,
                                     3, nullptr},
                      AberturaBackup{"DesligaOQueEstavaLigado", 2, true,
                                     "BACKUP=0\r\nQTDETEMPO=2\r\n", false, 0, 2, nullptr},
                      AberturaBackup{"LigadaSemNomeAvisaEDesliga", 0, false,
                                     "BACKUP=1\r\nQTDETEMPO=0\r\n", false, 0, 0,
                                     "Arquivo Não Definido !"}),
    [](const ::testing::TestParamInfo<AberturaBackup>& i) { return std::string(i.param.nome); });

TEST_F(DocumentoTeste, ArquivoDanificadoNaoMudaNada) {
    adicionar(QStringLiteral("7"));
    cabecalho->setText(QStringLiteral("antes"));
    const QString arquivo = caminho("ruim.qvl");
    const QByteArray ruins[] = {
        "[CONFIG]\r\nCABECALHO=x\r\n[LER]\r\nINICIO=4\r\nFIM=9\r\n\r\n1\r\n",
        "[CONFIG]\r\nCABECALHO=x\r\n[LER]\r\nINICIO=5\r\nFIM=5\r\n\r\nabc\r\n",
        "[CONFIG]\r\nCABECALHO=x\r\n\r\n1\r\n",
    };
    for (const QByteArray& b : ruins) {
        escrever_arquivo(arquivo, b);
        dlg->avisos.clear();
        dlg->respostas = {Resposta::Nao};
        dlg->arquivos_abrir = {arquivo};
        comandos_documento.abrir();
        ASSERT_EQ(dlg->avisos.size(), 1) << b.toStdString();
        EXPECT_TRUE(dlg->avisos[0].startsWith(
            QStringLiteral("O arquivo %1 não pôde ser aberto: ").arg(arquivo)))
            << dlg->avisos[0].toStdString();
        EXPECT_EQ(linhas(), QStringList{"7,00"});
        EXPECT_EQ(cabecalho->text(), QStringLiteral("antes"));
        EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
    }
}

// A save into the file itself cut short (killed, a power failure) leaves the
// synced copy of the old document beside it: opening the file says so and
// offers the copy; a file that holds neither version whole is refused, and
// the refusal names the copy.
struct Interrompido {
    const char* nome;
    const char* arquivo; // what the file holds now
    bool com_copia;
    bool abrir_copia;   // the answer to the question
    const char* linhas; // the tape opened, "," between lines; nullptr: nothing
    bool aviso;         // the file is refused
    friend void PrintTo(const Interrompido& c, std::ostream* os) { *os << c.nome; }
};

const char kAntigo[] = "[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=6\r\n\r\n821\r\n822\r\n";
const char kNovo[] = "[CONFIG]\r\nCABECALHO=a\r\n[LER]\r\nINICIO=6\r\nFIM=7\r\n\r\n821\r\n823\r\n";
// The new bytes over the old ones up to a torn block; the rest still old.
const char kCortado[] =
    "[CONFIG]\r\nCABECALHO=a\r\n[LER]\r\nINICIO=6\r\nFIM=7\r\n\r\n821\r\n8\r\n822\r\n";

class AberturaInterrompida : public ComandosTeste,
                             public ::testing::WithParamInterface<Interrompido> {};

TEST_P(AberturaInterrompida, OfereceACopiaOuRecusaNomeandoA) {
    const Interrompido& c = GetParam();
    const QString arquivo = caminho("malote.qvl");
    const QString copia = caminho("malote.copia-Ab12Cd.qvl");
    escrever_arquivo(arquivo, c.arquivo);
    if (c.com_copia) escrever_arquivo(copia, kAntigo);
    dlg->recuperar = {c.abrir_copia};
    dlg->arquivos_abrir = {arquivo};
    comandos_documento.abrir();
    if (c.com_copia) {
        EXPECT_EQ(dlg->perguntas_recuperacao,
                  QStringList{QStringLiteral("O salvamento de %1 foi interrompido. Abrir a cópia "
                                             "anterior (%2)?")
                                  .arg(arquivo, copia)});
    } else {
        EXPECT_TRUE(dlg->perguntas_recuperacao.isEmpty());
    }
    if (c.aviso) {
        ASSERT_EQ(dlg->avisos.size(), 1);
        EXPECT_TRUE(dlg->avisos[0].startsWith(
            QStringLiteral("O arquivo %1 não pôde ser aberto: ").arg(arquivo)));
        if (c.com_copia) {
            EXPECT_TRUE(
                dlg->avisos[0].endsWith(QStringLiteral("; a cópia anterior está em %1").arg(copia)))
                << dlg->avisos[0].toStdString();
        }
        EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
    } else {
        EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
        EXPECT_EQ(comandos_documento.arquivo_atual(), c.abrir_copia ? copia : arquivo);
    }
    EXPECT_EQ(linhas().join(','), QString::fromUtf8(c.linhas ? c.linhas : ""));
    // Nothing is deleted: the user decides what to keep.
    EXPECT_EQ(QFile::exists(copia), c.com_copia);
}

INSTANTIATE_TEST_SUITE_P(
    Copias, AberturaInterrompida,
    ::testing::Values(
        Interrompido{"CopiaAberta", kCortado, true, true, "821,00,822,00", false},
        Interrompido{"ArquivoInteiroComoEsta", kNovo, true, false, "821,00,823,00", false},
        Interrompido{"ArquivoCortadoRecusado", kCortado, true, false, nullptr, true},
        Interrompido{"CortadoSemCopia", kCortado, false, false, nullptr, true},
        Interrompido{"SemCopiaNaoPergunta", kNovo, false, false, "821,00,823,00", false}),
    [](const auto& i) { return std::string(i.param.nome); });

// A save into a pipe whose reader stops or trickles runs away from the
// window, behind the waiting window: the window's timers keep firing, and the
// save ends within the one deadline of the whole save, or when the user
// gives up with Alt+F4, with a message.
struct PipeLento {
    const char* nome;
    bool conta_gotas; // reads 4 KiB every 200 ms; otherwise reads nothing
    bool alt_f4;
    const char* motivo;
    friend void PrintTo(const PipeLento& c, std::ostream* os) { *os << c.nome; }
};

class SalvarNoPipe : public ComandosTeste, public ::testing::WithParamInterface<PipeLento> {};

TEST_P(SalvarNoPipe, AJanelaSegueVivaEAGravacaoTerminaNoPrazo) {
    const PipeLento& c = GetParam();
    const QString pipe = caminho("saida.qvl");
    const QByteArray nome = QFile::encodeName(pipe);
    ASSERT_EQ(::mkfifo(nome.constData(), 0600), 0);
    const int fd = ::open(nome.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    // A tape of about 250 KB, more than a pipe holds.
    std::vector<std::string> b(30000, "123456"), l(30000, "123.456,00");
    fita.trocar(std::move(b), std::move(l));
    if (!c.alt_f4) qputenv("QUARVEL_PRAZO_GRAVACAO_MS", "1500");
    std::atomic<bool> fim{false};
    std::thread leitor([&] {
        char bloco[4096];
        while (!fim && c.conta_gotas) {
            [[maybe_unused]] const ssize_t n = ::read(fd, bloco, sizeof bloco);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    int batidas = 0;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        ++batidas;
        if (c.alt_f4 && batidas == 5)
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* espera = qobject_cast<FormLoading*>(w); espera && espera->isVisible())
                    QTest::keyClick(espera, Qt::Key_F4, Qt::AltModifier);
    });
    relogio.start(50);
    dlg->arquivos_salvar = {pipe};
    comandos_documento.salvar_como();
    relogio.stop();
    fim = true;
    leitor.join();
    ::close(fd);
    qunsetenv("QUARVEL_PRAZO_GRAVACAO_MS");
    EXPECT_GE(batidas, 5) << "the window's event loop stood still during the save";
    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_EQ(dlg->avisos[0], QStringLiteral("Não foi possível salvar o arquivo %1: %2")
                                  .arg(pipe, QString::fromUtf8(c.motivo)));
    EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Prazo, SalvarNoPipe,
    ::testing::Values(
        PipeLento{"LeitorParado", false, false,
                  "O programa que lê não recebeu os dados em 2 s; a gravação foi interrompida"},
        PipeLento{"LeitorContaGotas", true, false,
                  "O programa que lê não recebeu os dados em 2 s; a gravação foi interrompida"},
        PipeLento{"AltF4Desiste", false, true, "A gravação foi cancelada"}),
    [](const auto& i) { return std::string(i.param.nome); });

TEST_F(DocumentoTeste, PerguntaAntesDeNovoSoQuandoHaAlteracoes) {
    comandos_documento.novo();
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    struct Caso {
        const char* descricao;
        std::function<void()> mudar;
    };
    const Caso casos[] = {
        {"entrada", [this] { entrada->setText(QStringLiteral("5")); }},
        {"intervalo", [this] { qtdetempo->setCurrentIndex(1); }},
        {"cabecalho", [this] { cabecalho->setText(QStringLiteral("a")); }},
        {"nome", [this] { nome_arquivo->setText(QStringLiteral("a")); }},
        {"fita", [this] { adicionar(QStringLiteral("1")); }},
    };
    for (const Caso& c : casos) {
        dlg->perguntas.clear();
        c.mudar();
        dlg->respostas = {Resposta::Nao};
        comandos_documento.novo();
        EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"})
            << c.descricao;
        EXPECT_TRUE(linhas().isEmpty());
    }
}

// New clears the tape with limpar_valor, and with it the search and the
// in-place mark.
TEST_F(DocumentoTeste, NovoEsqueceABuscaEOValorModificado) {
    adicionar(QStringLiteral("5"));
    adicionar(QStringLiteral("7"));
    dlg->valores = {QStringLiteral("5")};
    comandos_fita.buscar();
    dlg->valores = {QStringLiteral("8")};
    comandos_fita.novo_valor();
    ASSERT_TRUE(estado.alterado);
    dlg->respostas = {Resposta::Nao};
    comandos_documento.novo();
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_FALSE(estado.alterado);
    adicionar(QStringLiteral("5"));
    EXPECT_FALSE(comandos_fita.busca_ativa());
}

TEST_F(DocumentoTeste, CancelarOuSalvarComoCanceladoInterrompeONovo) {
    adicionar(QStringLiteral("1"));
    dlg->respostas = {Resposta::Cancelar};
    comandos_documento.novo();
    EXPECT_EQ(linhas(), QStringList{"1,00"});
    dlg->respostas = {Resposta::Sim}; // then the Save As dialog is cancelled
    comandos_documento.novo();
    EXPECT_EQ(linhas(), QStringList{"1,00"});
    // Sim with a name saves and then clears.
    dlg->respostas = {Resposta::Sim};
    dlg->arquivos_salvar = {caminho("salvo.qvl")};
    comandos_documento.novo();
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_TRUE(ler_arquivo(caminho("salvo.qvl")).endsWith("\r\n\r\n1\r\n"));
}

TEST_F(DocumentoTeste, DocumentoComNomeVeValoresNaoSoContagem) {
    const QString arquivo = caminho("doc.qvl");
    adicionar(QStringLiteral("1"));
    adicionar(QStringLiteral("2"));
    dlg->arquivos_salvar = {arquivo};
    comandos_documento.salvar_padrao();
    // Text in the entry field alone does not ask for a titled document.
    entrada->setText(QStringLiteral("9"));
    dlg->respostas = {Resposta::Cancelar};
    comandos_documento.novo();
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    // Delete one, add another: the count is the same but the values are not.
    adicionar(QStringLiteral("1"));
    adicionar(QStringLiteral("2"));
    dlg->respostas = {Resposta::Sim};
    dlg->arquivos_salvar = {arquivo};
    comandos_documento.salvar_padrao();
    comandos_fita.deletar_valor();
    adicionar(QStringLiteral("3"));
    dlg->perguntas.clear();
    dlg->respostas = {Resposta::Cancelar};
    comandos_documento.novo();
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em doc.qvl"});
    EXPECT_EQ(linhas(), (QStringList{"1,00", "3,00"}));
}

TEST_F(DocumentoTeste, FalhaAoSalvarAvisaEMantemOArquivoAntigo) {
    const QString arquivo = caminho("semPasta/x.qvl");
    adicionar(QStringLiteral("1"));
    dlg->arquivos_salvar = {arquivo};
    comandos_documento.salvar_padrao();
    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(
        QStringLiteral("Não foi possível salvar o arquivo %1: ").arg(arquivo)));
    EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
    EXPECT_TRUE(nomes.isEmpty()); // the title stays
    EXPECT_EQ(comandos_documento.nome(), QStringLiteral("NovoCalculo.qvl"));
}

TEST_F(DocumentoTeste, CadaDialogoDeArquivoPedeASuaExtensao) {
    // A name typed without one gets it, when opening as when saving.
    comandos_documento.abrir();
    comandos_texto.abrir_txt();
    comandos_documento.salvar_como();
    adicionar(QStringLiteral("1"));
    comandos_texto.save_txt();
    EXPECT_EQ(dlg->extensoes_abrir, (QStringList{"qvl", "txt"}));
    EXPECT_EQ(dlg->extensoes_salvar, (QStringList{"qvl", "txt"}));
}

// A backup opens as a calculation never saved: its lines, the settings of a
// new one, and the question on the next New.
TEST_F(DocumentoTeste, BackupAbreComoCalculoNovoNaoSalvo) {
    const QString calculo = caminho("exemplo.qvl");
    escrever_arquivo(calculo, kExemplo);
    dlg->arquivos_abrir = {calculo};
    comandos_documento.abrir();
    const QString arquivo_backup = caminho("malote.QVLBACKUP");
    escrever_arquivo(arquivo_backup, "1.234,56\r\n600,00\r\n");
    dlg->arquivos_abrir = {arquivo_backup};
    comandos_documento.abrir();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_EQ(linhas(), (QStringList{"1.234,56", "600,00"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.834,56"));
    EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
    EXPECT_EQ(nomes.last(), QStringLiteral("NovoCalculo.qvl"));
    EXPECT_TRUE(cabecalho->text().isEmpty());
    EXPECT_FALSE(d01->isChecked());
    EXPECT_FALSE(comandos_backup.temporizador().isActive());
    dlg->respostas = {Resposta::Nao};
    comandos_documento.novo();
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"});
    // A backup with a line that is no amount is refused like an import.
    adicionar(QStringLiteral("7"));
    escrever_arquivo(arquivo_backup, "1\r\nabc\r\n");
    dlg->respostas = {Resposta::Nao};
    dlg->arquivos_abrir = {arquivo_backup};
    comandos_documento.abrir();
    EXPECT_EQ(dlg->avisos, QStringList{"A linha 2 de malote.QVLBACKUP não contém um valor: abc"});
    EXPECT_EQ(linhas(), QStringList{"7,00"});
}

// The file named on the command line: a backup opens without a name, a
// calculation file with its own.
TEST_F(DocumentoTeste, ArquivoInicialAbreComoAbrir) {
    escrever_arquivo(caminho("inicial.qvlbackup"), "150,00\r\n");
    comandos_documento.abrir_inicial(caminho("inicial.qvlbackup"));
    EXPECT_EQ(linhas(), QStringList{"150,00"});
    EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
    EXPECT_EQ(comandos_documento.nome(), QStringLiteral("NovoCalculo.qvl"));
    escrever_arquivo(caminho("inicial.qvl"), kExemplo);
    comandos_documento.abrir_inicial(caminho("inicial.qvl"));
    EXPECT_EQ(fita.tamanho(), 3u);
    EXPECT_EQ(comandos_documento.nome(), QStringLiteral("inicial.qvl"));
}

// Undo back to the saved tape: the document counts as saved again; redone,
// it differs from the file again.
TEST_F(DocumentoTeste, DesfazerAteAFitaSalvaNaoPergunta) {
    const std::pair<const char*, std::function<void()>> casos[] = {
        {"add_valor", [this] { comandos_fita.add_valor(); }},
        {"deletar_valor", [this] { comandos_fita.deletar_valor(); }},
        {"novo_valor",
         [this] {
             dlg->valores = {QStringLiteral("2")};
             comandos_fita.novo_valor();
         }},
        {"limpar_valor", [this] { comandos_fita.limpar_valor(); }},
    };
    for (const auto& [comando, executar] : casos) {
        SCOPED_TRACE(comando);
        dlg->respostas = {Resposta::Nao};
        comandos_documento.novo();
        adicionar(QStringLiteral("1"));
        adicionar(QStringLiteral("5"));
        dlg->arquivos_salvar = {caminho("salvo.qvl")};
        comandos_documento.salvar_padrao();
        executar();
        historico.undo();
        // Open asks first when there are changes; with no file chosen it
        // changes nothing.
        dlg->perguntas.clear();
        dlg->respostas = {Resposta::Cancelar};
        comandos_documento.abrir();
        EXPECT_TRUE(dlg->perguntas.isEmpty())
            << dlg->perguntas.join(QLatin1Char('|')).toStdString();
        // Redone, the tape differs again from the file.
        historico.redo();
        comandos_documento.abrir();
        EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em salvo.qvl"});
    }
}

TEST_F(DocumentoTeste, NovoEAbrirComecamOutraHistoria) {
    adicionar(QStringLiteral("1"));
    dlg->respostas = {Resposta::Nao};
    comandos_documento.novo();
    EXPECT_FALSE(historico.canUndo());
    adicionar(QStringLiteral("2"));
    dlg->arquivos_salvar = {caminho("x.qvl")};
    comandos_documento.salvar_padrao();
    EXPECT_TRUE(historico.canUndo()); // saving keeps the history
    dlg->arquivos_abrir = {caminho("x.qvl")};
    comandos_documento.abrir();
    EXPECT_FALSE(historico.canUndo());
    EXPECT_FALSE(historico.canRedo());
}

} // namespace
} // namespace quarvel::documents
