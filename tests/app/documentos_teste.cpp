// Calculation files, the unsaved-changes question, text import and export
// and printing, driven through the window's commands.
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>

namespace quarvel::app {
namespace {

using Resposta = Dialogos::Resposta;

void gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kExemplo =
    "[CONFIG]\r\nCABECALHO=Loja Centro\r\nRODAPE=Conferido por:\r\nBACKUP=1\r\nQTDETEMPO=2\r\n"
    "TEXTO_BACKUP=malote1\r\n[LER]\r\nINICIO=10\r\nFIM=12\r\n\r\n150\r\n1234,56\r\n20,5\r\n";

TEST_F(JanelaTeste, SalvarSemNomePedeONomeEDepoisGravaNoMesmo) {
    for (const char* v : {"150", "1.234,56", "20,5"})
        adicionar(QString::fromLatin1(v));
    filho<QLineEdit>("cabecalho")->setText(QStringLiteral("Loja Centro"));
    filho<QLineEdit>("rodape")->setText(QStringLiteral("Conferido por:"));
    filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("malote1"));
    filho<QComboBox>("qtdetempo")->setCurrentIndex(2);
    filho<QCheckBox>("d01")->setChecked(true);
    const QString arquivo = caminho("malote1.qvl");
    dlg->arquivos_salvar = {arquivo};
    tecla(campo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ler(arquivo), kExemplo);
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - malote1.qvl"));
    adicionar(QStringLiteral("1"));
    tecla(campo(), Qt::Key_S, Qt::ControlModifier); // no dialog this time
    EXPECT_TRUE(dlg->arquivos_salvar.empty());
    EXPECT_TRUE(ler(arquivo).endsWith("20,5\r\n1\r\n"));
}

TEST_F(JanelaTeste, AbrirCarregaValoresEConfiguracao) {
    const QString arquivo = caminho("exemplo.qvl");
    gravar(arquivo, kExemplo);
    filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("x")); // nothing typed that would ask
    filho<QLineEdit>("nome_arquivo")->clear();
    dlg->arquivos_abrir = {arquivo};
    executar("abrir");
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    EXPECT_EQ(linhas(), (QStringList{"150,00", "1.234,56", "20,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.405,06"));
    EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("Loja Centro"));
    EXPECT_EQ(filho<QComboBox>("qtdetempo")->currentIndex(), 2);
    EXPECT_TRUE(filho<QCheckBox>("d01")->isChecked());
    EXPECT_EQ(janela->temporizador_backup().interval(), 3 * 60000);
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - exemplo.qvl"));
    // Saved again unchanged, the bytes are the same.
    executar("salvar_padrao");
    EXPECT_EQ(ler(arquivo), kExemplo);
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

class AbrirComBackup : public JanelaTeste, public ::testing::WithParamInterface<AberturaBackup> {};

TEST_P(AbrirComBackup, AplicaAChaveDepoisOIntervaloSemPerguntarNemMudarODocumento) {
    const AberturaBackup& a = GetParam();
    if (a.intervalo_antes < 0) {
        // Only a file without an interval leaves the box with no selection.
        gravar(caminho("sem_intervalo.qvl"), com_backup("BACKUP=0\r\n"));
        dlg->arquivos_abrir = {caminho("sem_intervalo.qvl")};
        executar("abrir");
        ASSERT_EQ(filho<QComboBox>("qtdetempo")->currentIndex(), -1);
    } else {
        filho<QComboBox>("qtdetempo")->setCurrentIndex(a.intervalo_antes);
    }
    if (a.chave_antes) {
        filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("antes"));
        filho<QCheckBox>("d01")->setChecked(true);
        ASSERT_TRUE(janela->temporizador_backup().isActive());
    }
    dlg->avisos.clear();
    dlg->respostas = {Resposta::Nao};
    gravar(caminho("aberto.qvl"), com_backup(a.config));
    dlg->arquivos_abrir = {caminho("aberto.qvl")};
    executar("abrir");
    EXPECT_EQ(janela->arquivo_atual(), caminho("aberto.qvl"));
    EXPECT_EQ(dlg->avisos, a.aviso ? QStringList{QString::fromUtf8(a.aviso)} : QStringList{});
    EXPECT_EQ(filho<QCheckBox>("d01")->isChecked(), a.chave_depois);
    EXPECT_EQ(janela->temporizador_backup().isActive(), a.minutos_timer > 0);
    if (a.minutos_timer > 0) {
        EXPECT_EQ(janela->temporizador_backup().interval(), a.minutos_timer * 60000);
    }
    EXPECT_EQ(filho<QComboBox>("qtdetempo")->currentIndex(), a.intervalo_depois);
    if (a.aviso) return; // the switch went back off: the window differs from the file
    // The box shows the interval that runs, which the file did not have.
    if (!QByteArray(a.config).contains("QTDETEMPO")) return;
    dlg->perguntas.clear();
    janela->close();
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

TEST_F(JanelaTeste, ArquivoDanificadoNaoMudaNada) {
    adicionar(QStringLiteral("7"));
    filho<QLineEdit>("cabecalho")->setText(QStringLiteral("antes"));
    const QString arquivo = caminho("ruim.qvl");
    const QByteArray ruins[] = {
        "[CONFIG]\r\nCABECALHO=x\r\n[LER]\r\nINICIO=4\r\nFIM=9\r\n\r\n1\r\n",
        "[CONFIG]\r\nCABECALHO=x\r\n[LER]\r\nINICIO=5\r\nFIM=5\r\n\r\nabc\r\n",
        "[CONFIG]\r\nCABECALHO=x\r\n\r\n1\r\n",
    };
    for (const QByteArray& b : ruins) {
        gravar(arquivo, b);
        dlg->avisos.clear();
        dlg->respostas = {Resposta::Nao};
        dlg->arquivos_abrir = {arquivo};
        executar("abrir");
        ASSERT_EQ(dlg->avisos.size(), 1) << b.toStdString();
        EXPECT_TRUE(dlg->avisos[0].startsWith(
            QStringLiteral("O arquivo %1 não pôde ser aberto: ").arg(arquivo)))
            << dlg->avisos[0].toStdString();
        EXPECT_EQ(linhas(), QStringList{"7,00"});
        EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("antes"));
        EXPECT_TRUE(janela->arquivo_atual().isEmpty());
    }
}

TEST_F(JanelaTeste, PerguntaAntesDeNovoSoQuandoHaAlteracoes) {
    executar("novo");
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    struct Caso {
        const char* descricao;
        std::function<void()> mudar;
    };
    const Caso casos[] = {
        {"entrada", [this] { campo()->setText(QStringLiteral("5")); }},
        {"intervalo", [this] { filho<QComboBox>("qtdetempo")->setCurrentIndex(1); }},
        {"cabecalho", [this] { filho<QLineEdit>("cabecalho")->setText(QStringLiteral("a")); }},
        {"nome", [this] { filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("a")); }},
        {"fita", [this] { adicionar(QStringLiteral("1")); }},
    };
    for (const Caso& c : casos) {
        dlg->perguntas.clear();
        c.mudar();
        dlg->respostas = {Resposta::Nao};
        executar("novo");
        EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"})
            << c.descricao;
        EXPECT_TRUE(linhas().isEmpty());
    }
}

// New clears the tape with limpar_valor, and with it the search and the
// in-place mark.
TEST_F(JanelaTeste, NovoEsqueceABuscaEOValorModificado) {
    adicionar(QStringLiteral("5"));
    adicionar(QStringLiteral("7"));
    dlg->valores = {QStringLiteral("5")};
    executar("buscar");
    dlg->valores = {QStringLiteral("8")};
    executar("novo_valor");
    ASSERT_TRUE(janela->alterado());
    dlg->respostas = {Resposta::Nao};
    executar("novo");
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_FALSE(janela->alterado());
    adicionar(QStringLiteral("5"));
    EXPECT_FALSE(ativo("buscar_prox"));
}

TEST_F(JanelaTeste, CancelarOuSalvarComoCanceladoInterrompeONovo) {
    adicionar(QStringLiteral("1"));
    dlg->respostas = {Resposta::Cancelar};
    executar("novo");
    EXPECT_EQ(linhas(), QStringList{"1,00"});
    dlg->respostas = {Resposta::Sim}; // then the Save As dialog is cancelled
    executar("novo");
    EXPECT_EQ(linhas(), QStringList{"1,00"});
    // Sim with a name saves and then clears.
    dlg->respostas = {Resposta::Sim};
    dlg->arquivos_salvar = {caminho("salvo.qvl")};
    executar("novo");
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_TRUE(ler(caminho("salvo.qvl")).endsWith("\r\n\r\n1\r\n"));
}

TEST_F(JanelaTeste, DocumentoComNomeVeValoresNaoSoContagem) {
    const QString arquivo = caminho("doc.qvl");
    adicionar(QStringLiteral("1"));
    adicionar(QStringLiteral("2"));
    dlg->arquivos_salvar = {arquivo};
    executar("salvar_padrao");
    // Text in the entry field alone does not ask for a titled document.
    campo()->setText(QStringLiteral("9"));
    dlg->respostas = {Resposta::Cancelar};
    executar("novo");
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    // Delete one, add another: the count is the same but the values are not.
    adicionar(QStringLiteral("1"));
    adicionar(QStringLiteral("2"));
    dlg->respostas = {Resposta::Sim};
    dlg->arquivos_salvar = {arquivo};
    executar("salvar_padrao");
    executar("deletar_valor");
    adicionar(QStringLiteral("3"));
    dlg->perguntas.clear();
    dlg->respostas = {Resposta::Cancelar};
    executar("novo");
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em doc.qvl"});
    EXPECT_EQ(linhas(), (QStringList{"1,00", "3,00"}));
}

TEST_F(JanelaTeste, FalhaAoSalvarAvisaEMantemOArquivoAntigo) {
    const QString arquivo = caminho("semPasta/x.qvl");
    adicionar(QStringLiteral("1"));
    dlg->arquivos_salvar = {arquivo};
    executar("salvar_padrao");
    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(
        QStringLiteral("Não foi possível salvar o arquivo %1: ").arg(arquivo)));
    EXPECT_TRUE(janela->arquivo_atual().isEmpty());
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - NovoCalculo.qvl"));
}

TEST_F(JanelaTeste, ImportarPulaLinhasEmBrancoERecusaLinhasSemValor) {
    adicionar(QStringLiteral("7"));
    const QString bom = caminho("bom.txt");
    gravar(bom, "R$ 1.234,56\r\n1,2,3\r\n5-\r\n-5\r\nTotal: 3\r\n\r\n");
    dlg->arquivos_abrir = {bom};
    executar("abrir_txt");
    EXPECT_EQ(brutos(), (QStringList{"1234,56", "12,3", "5", "-5", "3"}));
    EXPECT_TRUE(dlg->avisos.isEmpty());
    const QString ruim = caminho("ruim.txt");
    gravar(ruim, "1\r\nabc\r\n");
    dlg->arquivos_abrir = {ruim};
    executar("abrir_txt");
    EXPECT_EQ(dlg->avisos, QStringList{"A linha 2 de ruim.txt não contém um valor: abc"});
    EXPECT_EQ(brutos(), (QStringList{"1234,56", "12,3", "5", "-5", "3"}));
}

TEST_F(JanelaTeste, ExportarEImportarDevolvemOsValoresComoMostrados) {
    for (const char* v : {"10/3", "1.234,5"})
        adicionar(QString::fromLatin1(v));
    const QString arquivo = caminho("fita.txt");
    dlg->arquivos_salvar = {arquivo};
    executar("save_txt");
    EXPECT_EQ(ler(arquivo), QByteArray("3,33\r\n1.234,50\r\n"));
    dlg->arquivos_abrir = {arquivo};
    executar("abrir_txt");
    EXPECT_EQ(brutos(), (QStringList{"3,33", "1234,5"}));
    EXPECT_TRUE(janela->arquivo_atual().isEmpty());
}

TEST_F(JanelaTeste, CadaDialogoDeArquivoPedeASuaExtensao) {
    // A name typed without one gets it, when opening as when saving.
    executar("abrir");
    executar("abrir_txt");
    executar("salvar_como");
    adicionar(QStringLiteral("1"));
    executar("save_txt");
    EXPECT_EQ(dlg->extensoes_abrir, (QStringList{"qvl", "txt"}));
    EXPECT_EQ(dlg->extensoes_salvar, (QStringList{"qvl", "txt"}));
}

TEST_F(JanelaTeste, ImprimirParaPdfEVisualizar) {
    adicionar(QStringLiteral("5"));
    dlg->aceitar_impressao = true;
    dlg->impressao_pdf = caminho("fita.pdf");
    executar("imprimir");
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_TRUE(ler(dlg->impressao_pdf).startsWith("%PDF"));
    executar("visualizar");
    EXPECT_EQ(dlg->previas, 1);
    EXPECT_EQ(linhas(), QStringList{"5,00"}); // the tape keeps its lines without "R$ "
}

// A backup opens as a calculation never saved: its lines, the settings of a
// new one, and the question on the next New.
TEST_F(JanelaTeste, BackupAbreComoCalculoNovoNaoSalvo) {
    const QString calculo = caminho("exemplo.qvl");
    gravar(calculo, kExemplo);
    dlg->arquivos_abrir = {calculo};
    executar("abrir");
    const QString backup = caminho("malote.QVLBACKUP");
    gravar(backup, "1.234,56\r\n600,00\r\n");
    dlg->arquivos_abrir = {backup};
    executar("abrir");
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_EQ(linhas(), (QStringList{"1.234,56", "600,00"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.834,56"));
    EXPECT_TRUE(janela->arquivo_atual().isEmpty());
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - NovoCalculo.qvl"));
    EXPECT_TRUE(filho<QLineEdit>("cabecalho")->text().isEmpty());
    EXPECT_FALSE(filho<QCheckBox>("d01")->isChecked());
    EXPECT_FALSE(janela->temporizador_backup().isActive());
    dlg->respostas = {Resposta::Nao};
    executar("novo");
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"});
    // A backup with a line that is no amount is refused like an import.
    adicionar(QStringLiteral("7"));
    gravar(backup, "1\r\nabc\r\n");
    dlg->respostas = {Resposta::Nao};
    dlg->arquivos_abrir = {backup};
    executar("abrir");
    EXPECT_EQ(dlg->avisos, QStringList{"A linha 2 de malote.QVLBACKUP não contém um valor: abc"});
    EXPECT_EQ(linhas(), QStringList{"7,00"});
}

class JanelaComBackup : public JanelaTeste {
  protected:
    QString arquivo_inicial() override {
        const QString a = pasta.filePath(QStringLiteral("inicial.qvlbackup"));
        QFile f(a);
        if (f.open(QIODevice::WriteOnly)) f.write("150,00\r\n");
        return a;
    }
};

TEST_F(JanelaComBackup, BackupDaLinhaDeComandoAbreSemNome) {
    QTRY_COMPARE_WITH_TIMEOUT(janela->fita().tamanho(), std::size_t(1), 5000);
    EXPECT_TRUE(janela->arquivo_atual().isEmpty());
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - NovoCalculo.qvl"));
}

class JanelaComArquivo : public JanelaTeste {
  protected:
    QString arquivo_inicial() override {
        const QString a = pasta.filePath(QStringLiteral("inicial.qvl"));
        QFile f(a);
        if (f.open(QIODevice::WriteOnly)) f.write(kExemplo);
        return a;
    }
};

TEST_F(JanelaComArquivo, ArquivoDaLinhaDeComandoAbreAoMostrar) {
    QTRY_COMPARE_WITH_TIMEOUT(janela->fita().tamanho(), std::size_t(3), 5000);
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - inicial.qvl"));
}

} // namespace
} // namespace quarvel::app
