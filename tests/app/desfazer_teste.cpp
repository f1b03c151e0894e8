// Undo and redo of the tape commands through the window's actions and keys.
// How New, Open and Save meet the history is tested with the document
// commands (tests/documents/comandos_documento_teste.cpp).
#include "tests/apoio/arquivos.h"
#include "tests/app/janela_apoio.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <functional>

namespace quarvel::app {
namespace {

using Resposta = Dialogos::Resposta;

class Desfazer : public JanelaTeste {
  protected:
    // The shortcuts act while the window is active, as it is again once the
    // loading window of an import has gone.
    void desfazer() {
        ASSERT_TRUE(testes::ativar(janela.get()));
        tecla(campo(), Qt::Key_Backspace, Qt::AltModifier);
    }
    void refazer() {
        ASSERT_TRUE(testes::ativar(janela.get()));
        tecla(campo(), Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
    }
    void preencher(std::initializer_list<const char*> valores) {
        for (const char* v : valores)
            adicionar(QString::fromLatin1(v));
    }
};

struct Passo {
    QStringList linhas;
    int linha_atual;
};

struct CasoDesfazer {
    const char* comando;
    std::function<void()> preparar; // the tape before, the answers
    Passo feito;
    Passo desfeito;
    const char* passo; // the step as the undo and redo items name it
};

QStringList fita(std::initializer_list<const char*> linhas) {
    QStringList r;
    for (const char* l : linhas)
        r << QString::fromLatin1(l);
    return r;
}

TEST_F(Desfazer, CadaComandoDaFitaEUmPassoQueSeDesfazERefaz) {
    const CasoDesfazer casos[] = {
        {"add_valor",
         [this] {
             preencher({"1", "2"});
             campo()->setText(QStringLiteral("3"));
         },
         {fita({"1,00", "2,00", "3,00"}), 3},
         {fita({"1,00", "2,00"}), 2},
         "Adicionar 3,00"},
        {"repetir_valor",
         [this] {
             preencher({"1"});
             campo()->setText(QStringLiteral("12,5"));
             dlg->repeticoes = {3};
         },
         {fita({"1,00", "12,50", "12,50", "12,50"}), 4},
         {fita({"1,00"}), 1},
         "Repetir 12,50 × 3"},
        {"repetir_valor",
         [this] {
             campo()->setText(QStringLiteral("1000"));
             dlg->repeticoes = {1200};
         },
         {QStringList(1200, QStringLiteral("1.000,00")), 1200},
         {{}, 1},
         "Repetir 1.000,00 × 1.200"},
        {"deletar_valor",
         [this] {
             preencher({"1", "2", "3"});
             tecla(campo(), Qt::Key_Up); // line 2
         },
         {fita({"1,00", "3,00"}), 1},
         {fita({"1,00", "2,00", "3,00"}), 2},
         "Deletar 2,00"},
        {"novo_valor",
         [this] {
             preencher({"1", "2"});
             dlg->valores = {QStringLiteral("10*3")};
         },
         {fita({"1,00", "30,00"}), 2},
         {fita({"1,00", "2,00"}), 2},
         "Modificar 2,00 para 30,00"},
        {"limpar_valor",
         [this] {
             preencher({"1", "2"});
         },
         {{}, 1},
         {fita({"1,00", "2,00"}), 2},
         "Limpar Tudo"},
        {"abrir_txt",
         [this] {
             preencher({"1"});
             testes::escrever_arquivo(caminho("valores.txt"), "7\r\n8\r\n");
             dlg->arquivos_abrir = {caminho("valores.txt")};
         },
         {fita({"7,00", "8,00"}), 1},
         {fita({"1,00"}), 1},
         "Importar Arquivo de Texto"},
        {"backup",
         [this] {
             preencher({"1"});
             QDir().mkpath(caminho("Backup"));
             testes::escrever_arquivo(caminho("Backup/malote.qvlbackup"), "5,00\r\n6,00\r\n");
             dlg->backups = {QStringLiteral("malote.qvlbackup")};
         },
         {fita({"5,00", "6,00"}), 1},
         {fita({"1,00"}), 1},
         "Restaurar Backup"},
    };
    const QString desfazer_na_fita = QStringLiteral("Desfazer na Fita");
    const QString refazer_na_fita = QStringLiteral("Refazer na Fita");
    for (const CasoDesfazer& c : casos) {
        SCOPED_TRACE(c.comando);
        dlg->respostas = {Resposta::Nao};
        executar("novo");
        EXPECT_FALSE(ativo("desfazer"));
        EXPECT_EQ(acao("desfazer")->text(), desfazer_na_fita);
        c.preparar();
        executar(c.comando);
        ASSERT_EQ(linhas(), c.feito.linhas);
        EXPECT_EQ(linha_atual(), c.feito.linha_atual);
        const QString total_feito = total();
        const QString passo = QString::fromUtf8(c.passo);
        EXPECT_TRUE(ativo("desfazer"));
        EXPECT_EQ(acao("desfazer")->text(), desfazer_na_fita + QStringLiteral(": ") + passo);
        EXPECT_FALSE(ativo("refazer"));
        EXPECT_EQ(acao("refazer")->text(), refazer_na_fita);

        // From the entry field, which keeps what is typed in it.
        campo()->clear();
        QTest::keyClicks(campo(), QStringLiteral("99"));
        desfazer();
        EXPECT_EQ(campo()->text(), QStringLiteral("99"));
        EXPECT_EQ(linhas(), c.desfeito.linhas);
        EXPECT_EQ(linha_atual(), c.desfeito.linha_atual);
        EXPECT_TRUE(ativo("refazer"));
        EXPECT_EQ(acao("refazer")->text(), refazer_na_fita + QStringLiteral(": ") + passo);

        refazer();
        EXPECT_EQ(linhas(), c.feito.linhas);
        EXPECT_EQ(linha_atual(), c.feito.linha_atual);
        EXPECT_EQ(total(), total_feito);
        EXPECT_FALSE(ativo("refazer"));
        EXPECT_EQ(acao("refazer")->text(), refazer_na_fita);
        EXPECT_EQ(acao("desfazer")->text(), desfazer_na_fita + QStringLiteral(": ") + passo);
        campo()->clear();
    }
}

TEST_F(Desfazer, NoTopoDoMenuEdicoesSeguidosDeSeparador) {
    QMenu* edicoes = nullptr;
    for (QAction* m : janela->menuBar()->actions())
        if (m->text() == QStringLiteral("&Edições")) edicoes = m->menu();
    ASSERT_NE(edicoes, nullptr);
    const auto itens = edicoes->actions();
    ASSERT_GE(itens.size(), 4);
    EXPECT_EQ(itens[0]->text(), QStringLiteral("Desfazer na Fita"));
    EXPECT_EQ(itens[0]->shortcut(), QKeySequence(QStringLiteral("Alt+Backspace")));
    EXPECT_EQ(itens[1]->text(), QStringLiteral("Refazer na Fita"));
    EXPECT_EQ(itens[1]->shortcut(), QKeySequence(QStringLiteral("Alt+Shift+Backspace")));
    EXPECT_TRUE(itens[2]->isSeparator());
    EXPECT_EQ(itens[3], acao("limpar_valor"));
}

} // namespace
} // namespace quarvel::app
