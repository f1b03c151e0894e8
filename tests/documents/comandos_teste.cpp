// The document, text file and backup commands over their narrow context, no
// main window: the controls, the tape and the scripted documents' dialogs.
#include "documents/carregamento.h"
#include "documents/comandos_backup.h"
#include "documents/comandos_documento.h"
#include "documents/comandos_texto.h"
#include "tape/comandos_fita.h"
#include "tape/visao_fita.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/documents/roteiro_documento.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

class ComandosDocumentoTeste : public ::testing::Test {
  protected:
    ComandosDocumentoTeste() {
        for (const char* m : {"1", "2", "3", "4", "5"})
            qtdetempo->addItem(QString::fromLatin1(m));
        qtdetempo->setCurrentIndex(0);
        QObject::connect(d01, &QCheckBox::toggled, [this](bool b) { backup.chave_mudou(b); });
        qputenv("QUARVEL_PASTA_BACKUP", pasta.filePath(QStringLiteral("Backup")).toUtf8());
    }
    QString caminho(const char* nome) const { return pasta.filePath(QString::fromLatin1(nome)); }
    void gravar(const QString& arquivo, const QByteArray& bytes) {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir pasta;
    QWidget janela;
    tape::FitaModelo fita;
    tape::EstadoFita estado;
    QLineEdit* entrada = new QLineEdit(&janela);
    tape::VisaoFita* visao = new tape::VisaoFita(fita, &janela);
    QLineEdit* cabecalho = new QLineEdit(&janela);
    QLineEdit* rodape = new QLineEdit(&janela);
    QLineEdit* nome_arquivo = new QLineEdit(&janela);
    QCheckBox* d01 = new QCheckBox(&janela);
    QComboBox* qtdetempo = new QComboBox(&janela);
    CamposConfiguracao campos{*cabecalho, *rodape, *nome_arquivo, *d01, *qtdetempo};
    RoteiroDocumento dlg;
    int titulos = 0; // calls of arquivo_mudou
    Carregamento carregamento{dlg, &janela};
    ComandosTexto texto{ContextoTexto{fita, *entrada, *visao, carregamento, dlg, &janela}};
    ComandosBackup backup{ContextoBackup{fita, campos, texto, carregamento, dlg, &janela}};
    ComandosDocumento documento{ContextoDocumento{fita, estado, *entrada, *visao, campos, backup,
                                                  carregamento, dlg, &janela,
                                                  [this] { ++titulos; }}};
};

TEST_F(ComandosDocumentoTeste, AbrirAplicaOArquivoEPedeAExtensaoDoCalculo) {
    const QString arquivo = caminho("loja.qvl");
    gravar(arquivo, "[CONFIG]\r\nCABECALHO=Loja\r\nRODAPE=Fim\r\nBACKUP=1\r\nQTDETEMPO=9\r\n"
                    "TEXTO_BACKUP=malote\r\n[LER]\r\nINICIO=10\r\nFIM=11\r\n\r\n150\r\n2,5\r\n");
    dlg.arquivos_abrir = {arquivo};
    documento.abrir();
    EXPECT_EQ(dlg.extensoes_abrir, QStringList{"qvl"});
    EXPECT_TRUE(dlg.avisos.isEmpty()) << dlg.avisos.join('\n').toStdString();
    EXPECT_EQ(documento.arquivo_atual(), arquivo);
    EXPECT_EQ(documento.nome(), QStringLiteral("loja.qvl"));
    EXPECT_EQ(titulos, 1);
    EXPECT_EQ(fita.tamanho(), 2u);
    EXPECT_EQ(cabecalho->text(), QStringLiteral("Loja"));
    // An interval the box has not: none shown, and the switch runs a minute.
    EXPECT_TRUE(d01->isChecked());
    EXPECT_EQ(qtdetempo->currentIndex(), -1);
    EXPECT_TRUE(backup.temporizador().isActive());
    EXPECT_EQ(backup.temporizador().interval(), 60000);
    // Opened and not touched: New asks nothing.
    documento.novo();
    EXPECT_TRUE(dlg.perguntas.isEmpty());
    EXPECT_TRUE(fita.vazia());
    EXPECT_FALSE(d01->isChecked());
    EXPECT_FALSE(backup.temporizador().isActive());
    EXPECT_EQ(documento.nome(), QStringLiteral("NovoCalculo.qvl"));
}

TEST_F(ComandosDocumentoTeste, NovoPerguntaPeloNomeECancelarNaoMudaNada) {
    entrada->setText(QStringLiteral("12")); // typed, never added
    dlg.respostas = {DialogosDocumento::Resposta::Cancelar};
    documento.novo();
    EXPECT_EQ(dlg.perguntas, QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"});
    EXPECT_EQ(entrada->text(), QStringLiteral("12"));
    // Sim with the Save As dialog cancelled stops New too.
    dlg.respostas = {DialogosDocumento::Resposta::Sim};
    documento.novo();
    EXPECT_EQ(dlg.extensoes_salvar, QStringList{"qvl"});
    EXPECT_EQ(entrada->text(), QStringLiteral("12"));
}

TEST_F(ComandosDocumentoTeste, ImportarRecusadoAvisaComONomeSemPastaEDeixaAFita) {
    fita.acrescentar("7");
    gravar(caminho("dados.txt"), "10\r\nabc\r\n");
    dlg.arquivos_abrir = {caminho("dados.txt")};
    texto.abrir_txt();
    EXPECT_EQ(dlg.extensoes_abrir, QStringList{"txt"});
    EXPECT_EQ(dlg.avisos, QStringList{"A linha 2 de dados.txt não contém um valor: abc"});
    EXPECT_EQ(fita.brutos(), std::vector<std::string>{"7"});
}

TEST_F(ComandosDocumentoTeste, ArquivoQueNaoSeAbreAvisaComOMotivo) {
    dlg.arquivos_abrir = {caminho("nao_existe.qvl")};
    documento.abrir();
    ASSERT_EQ(dlg.avisos.size(), 1);
    EXPECT_TRUE(dlg.avisos[0].startsWith(
        QStringLiteral("O arquivo %1 não pôde ser aberto: ").arg(caminho("nao_existe.qvl"))))
        << dlg.avisos[0].toStdString();
    EXPECT_TRUE(documento.arquivo_atual().isEmpty());
    EXPECT_EQ(titulos, 0);
}

TEST_F(ComandosDocumentoTeste, ChaveSemNomeAvisaEDesligaDeNovo) {
    d01->setChecked(true);
    EXPECT_EQ(dlg.avisos, QStringList{"Arquivo Não Definido !"});
    EXPECT_FALSE(d01->isChecked());
    EXPECT_FALSE(backup.temporizador().isActive());
    nome_arquivo->setText(QStringLiteral("malote"));
    qtdetempo->setCurrentIndex(3);
    d01->setChecked(true);
    EXPECT_TRUE(backup.temporizador().isActive());
    EXPECT_EQ(backup.temporizador().interval(), 4 * 60000);
    fita.acrescentar("5");
    backup.tique();
    QFile f(pasta.filePath(QStringLiteral("Backup/malote.qvlbackup")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("5,00\r\n"));
}

} // namespace
} // namespace quarvel::documents
