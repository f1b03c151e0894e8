// Calculation files and the unsaved-changes question: the document commands
// over their narrow context, the dialogs answered from a script.
#include "tests/documents/comandos_apoio.h"

#include <functional>

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
