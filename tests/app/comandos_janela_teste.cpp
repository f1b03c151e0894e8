// The window's side of the document, backup and print commands: each action
// and shortcut reaches its command, the title follows the document's file,
// and the file named on the command line opens when the window is shown. The
// commands themselves are tested over their narrow contexts in
// tests/documents and tests/printing.
#include "tests/apoio/arquivos.h"
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <functional>

namespace quarvel::app {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

const QString kTitulo = QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - %1");

TEST_F(JanelaTeste, CadaAcaoChegaAoSeuComando) {
    adicionar(QStringLiteral("5")); // the rules of Export and the print commands
    struct Caso {
        const char* comando;
        std::function<bool()> chegou; // what only that command asks
    };
    const Caso casos[] = {
        {"abrir", [this] { return dlg->extensoes_abrir == QStringList{"qvl"}; }},
        {"salvar_como", [this] { return dlg->extensoes_salvar == QStringList{"qvl"}; }},
        {"abrir_txt", [this] { return dlg->extensoes_abrir == QStringList{"txt"}; }},
        {"save_txt", [this] { return dlg->extensoes_salvar == QStringList{"txt"}; }},
        {"backup", [this] { return dlg->backups.empty(); }},
        {"visualizar", [this] { return dlg->previas == 1; }},
        {"imprimir", [this] { return dlg->impressoes == 1; }},
        {"novo",
         [this] {
             return dlg->perguntas == QStringList{"Deseja salvar as alterações em NovoCalculo.qvl"};
         }},
    };
    for (const Caso& c : casos) {
        dlg->extensoes_abrir.clear();
        dlg->extensoes_salvar.clear();
        dlg->backups = {QString()};
        dlg->previas = dlg->impressoes = 0;
        dlg->perguntas.clear();
        // Open asks about the changes first; New stops there.
        dlg->respostas = {std::string(c.comando) == "novo" ? Dialogos::Resposta::Cancelar
                                                           : Dialogos::Resposta::Nao};
        executar(c.comando);
        EXPECT_TRUE(c.chegou()) << c.comando;
    }
    EXPECT_EQ(linhas(), QStringList{"5,00"}); // every question cancelled
}

TEST_F(JanelaTeste, CtrlSSalvaETituloSegueOArquivo) {
    EXPECT_EQ(janela->windowTitle(), kTitulo.arg(QStringLiteral("NovoCalculo.qvl")));
    adicionar(QStringLiteral("150"));
    const QString arquivo = caminho("malote1.qvl");
    dlg->arquivos_salvar = {arquivo};
    tecla(campo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(ler_arquivo(arquivo).endsWith("\r\n\r\n150\r\n"));
    EXPECT_EQ(janela->windowTitle(), kTitulo.arg(QStringLiteral("malote1.qvl")));
    // The window's file is that one now: Ctrl+S saves there without asking.
    adicionar(QStringLiteral("50"));
    dlg->extensoes_salvar.clear();
    tecla(campo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dlg->extensoes_salvar.isEmpty());
    EXPECT_TRUE(ler_arquivo(arquivo).endsWith("\r\n\r\n150\r\n50\r\n"));
    dlg->respostas = {Dialogos::Resposta::Nao};
    tecla(campo(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(janela->windowTitle(), kTitulo.arg(QStringLiteral("NovoCalculo.qvl")));
}

// A backup's tick and the backup switch as the window wires them.
TEST_F(JanelaTeste, ChaveETiqueDoBackupChegamAoComando) {
    adicionar(QStringLiteral("2"));
    filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("malote"));
    filho<QCheckBox>("d01")->click();
    ASSERT_NE(temporizador_backup(), nullptr);
    EXPECT_TRUE(temporizador_backup()->isActive());
    filho<QComboBox>("qtdetempo")->setCurrentIndex(3);
    emit filho<QComboBox>("qtdetempo")->activated(3);
    EXPECT_EQ(temporizador_backup()->interval(), 4 * 60000);
    tique_backup();
    const QString backup = caminho("Backup/malote.qvlbackup");
    esperar_que([&] { return ler_arquivo(backup) == "2,00\r\n"; });
    EXPECT_EQ(ler_arquivo(backup), QByteArray("2,00\r\n"));
    filho<QCheckBox>("d01")->click();
    EXPECT_FALSE(temporizador_backup()->isActive());
}

// The settings fields take only what a calculation file holds (their
// validators, tested in tests/documents/configuracao_teste.cpp).
TEST_F(JanelaTeste, CamposDaConfiguracaoTemSeusValidadores) {
    for (const char* nome : {"cabecalho", "rodape", "nome_arquivo"}) {
        auto* c = filho<QLineEdit>(nome);
        c->setFocus();
        QTest::keyClicks(c, QStringLiteral("Loja"));
        QGuiApplication::clipboard()->setText(QStringLiteral(" Centro\nSul"));
        c->paste();
        EXPECT_EQ(c->text(), QStringLiteral("Loja")) << nome;
    }
}

class JanelaComBackup : public JanelaTeste {
  protected:
    QString arquivo_inicial() override {
        const QString a = pasta.filePath(QStringLiteral("inicial.qvlbackup"));
        escrever_arquivo(a, "150,00\r\n");
        return a;
    }
};

TEST_F(JanelaComBackup, BackupDaLinhaDeComandoAbreSemNome) {
    esperar_que([&] { return modelo_fita().tamanho() == 1; });
    EXPECT_EQ(modelo_fita().tamanho(), std::size_t(1));
    EXPECT_EQ(janela->windowTitle(), kTitulo.arg(QStringLiteral("NovoCalculo.qvl")));
    // No file of its own: Save asks where.
    executar("salvar_padrao");
    EXPECT_EQ(dlg->extensoes_salvar, QStringList{"qvl"});
}

class JanelaComArquivo : public JanelaTeste {
  protected:
    QString arquivo_inicial() override {
        const QString a = pasta.filePath(QStringLiteral("inicial.qvl"));
        // INICIO and FIM count the file's lines from 0: the values are 6 to 8.
        escrever_arquivo(a, "[CONFIG]\r\nCABECALHO=Loja Centro\r\n[LER]\r\nINICIO=6\r\nFIM=8\r\n"
                            "\r\n150\r\n1234,56\r\n20,5\r\n");
        return a;
    }
};

TEST_F(JanelaComArquivo, ArquivoDaLinhaDeComandoAbreAoMostrar) {
    esperar_que([&] { return modelo_fita().tamanho() == 3; });
    EXPECT_EQ(modelo_fita().tamanho(), std::size_t(3));
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join('\n').toStdString();
    EXPECT_EQ(janela->windowTitle(), kTitulo.arg(QStringLiteral("inicial.qvl")));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.405,06"));
}

} // namespace
} // namespace quarvel::app
