// Undo and redo of the tape commands through the window's actions and keys.
#include "tests/app/janela_apoio.h"

#include <QFile>
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
        QApplication::setActiveWindow(janela.get());
        tecla(campo(), Qt::Key_Backspace, Qt::AltModifier);
    }
    void refazer() {
        QApplication::setActiveWindow(janela.get());
        tecla(campo(), Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
    }
    void preencher(std::initializer_list<const char*> valores) {
        for (const char* v : valores)
            adicionar(QString::fromLatin1(v));
    }
    void gravar_texto(const char* nome, const QByteArray& bytes) {
        QFile f(caminho(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
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
         {fita({"1,00", "2,00"}), 2}},
        {"repetir_valor",
         [this] {
             preencher({"1"});
             campo()->setText(QStringLiteral("12,5"));
             dlg->repeticoes = {3};
         },
         {fita({"1,00", "12,50", "12,50", "12,50"}), 4},
         {fita({"1,00"}), 1}},
        {"deletar_valor",
         [this] {
             preencher({"1", "2", "3"});
             tecla(campo(), Qt::Key_Up); // line 2
         },
         {fita({"1,00", "3,00"}), 1},
         {fita({"1,00", "2,00", "3,00"}), 2}},
        {"novo_valor",
         [this] {
             preencher({"1", "2"});
             dlg->valores = {QStringLiteral("10*3")};
         },
         {fita({"1,00", "30,00"}), 2},
         {fita({"1,00", "2,00"}), 2}},
        {"limpar_valor",
         [this] {
             preencher({"1", "2"});
         },
         {{}, 1},
         {fita({"1,00", "2,00"}), 2}},
        {"abrir_txt",
         [this] {
             preencher({"1"});
             gravar_texto("valores.txt", "7\r\n8\r\n");
             dlg->arquivos_abrir = {caminho("valores.txt")};
         },
         {fita({"7,00", "8,00"}), 1},
         {fita({"1,00"}), 1}},
    };
    for (const CasoDesfazer& c : casos) {
        SCOPED_TRACE(c.comando);
        dlg->respostas = {Resposta::Nao};
        executar("novo");
        EXPECT_FALSE(ativo("desfazer"));
        c.preparar();
        executar(c.comando);
        ASSERT_EQ(linhas(), c.feito.linhas);
        EXPECT_EQ(janela->linha_atual(), c.feito.linha_atual);
        const QString total_feito = total();
        EXPECT_TRUE(ativo("desfazer"));
        EXPECT_FALSE(ativo("refazer"));

        // From the entry field, which keeps what is typed in it.
        campo()->clear();
        QTest::keyClicks(campo(), QStringLiteral("99"));
        desfazer();
        EXPECT_EQ(campo()->text(), QStringLiteral("99"));
        EXPECT_EQ(linhas(), c.desfeito.linhas);
        EXPECT_EQ(janela->linha_atual(), c.desfeito.linha_atual);
        EXPECT_TRUE(ativo("refazer"));

        refazer();
        EXPECT_EQ(linhas(), c.feito.linhas);
        EXPECT_EQ(janela->linha_atual(), c.feito.linha_atual);
        EXPECT_EQ(total(), total_feito);
        EXPECT_FALSE(ativo("refazer"));
        campo()->clear();
    }
}

TEST_F(Desfazer, DesfazerAteAFitaSalvaNaoPergunta) {
    const std::pair<const char*, std::function<void(DialogosRoteiro&)>> comandos[] = {
        {"add_valor", [](DialogosRoteiro&) {}},
        {"deletar_valor", [](DialogosRoteiro&) {}},
        {"novo_valor", [](DialogosRoteiro& d) { d.valores = {QStringLiteral("2")}; }},
        {"limpar_valor", [](DialogosRoteiro&) {}},
    };
    for (const auto& [comando, responder] : comandos) {
        SCOPED_TRACE(comando);
        dlg->respostas = {Resposta::Nao};
        executar("novo");
        preencher({"1", "5"});
        dlg->arquivos_salvar = {caminho("salvo.qvl")};
        executar("salvar_padrao");
        responder(*dlg);
        executar(comando);
        executar("desfazer");
        // Open asks first when there are changes; with no file chosen it
        // changes nothing.
        dlg->perguntas.clear();
        dlg->respostas = {Resposta::Cancelar};
        executar("abrir");
        EXPECT_TRUE(dlg->perguntas.isEmpty())
            << dlg->perguntas.join(QLatin1Char('|')).toStdString();
        // Redone, the tape differs again from the file.
        executar("refazer");
        executar("abrir");
        EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em salvo.qvl"});
    }
}

TEST_F(Desfazer, NovoEAbrirComecamOutraHistoria) {
    preencher({"1"});
    dlg->respostas = {Resposta::Nao};
    executar("novo");
    EXPECT_FALSE(ativo("desfazer"));
    preencher({"2"});
    dlg->arquivos_salvar = {caminho("x.qvl")};
    executar("salvar_padrao");
    EXPECT_TRUE(ativo("desfazer")); // saving keeps the history
    dlg->arquivos_abrir = {caminho("x.qvl")};
    executar("abrir");
    EXPECT_FALSE(ativo("desfazer"));
    EXPECT_FALSE(ativo("refazer"));
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
