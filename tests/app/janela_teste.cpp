// The main window as the user meets it: start-up state, menus, tool bar,
// status bar, and the keys the window handles for all its controls.
#include "tape/teclado.h"
#include "tests/app/janela_apoio.h"

#include "tape/visao_fita.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextLayout>
#include <QToolBar>

namespace quarvel::app {
namespace {

TEST_F(JanelaTeste, AbreComTituloRelogioEMostradoresIniciais) {
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - NovoCalculo.qvl"));
    const QString relogio = filho<QLabel>("relogio")->text();
    EXPECT_TRUE(relogio.contains(QStringLiteral(" - "))) << relogio.toStdString();
    EXPECT_EQ(total(), QStringLiteral("0,00"));
    EXPECT_EQ(extenso(), QStringLiteral("ZERO"));
    EXPECT_EQ(QApplication::focusWidget(), campo());
    EXPECT_EQ(janela->centralWidget()->size().width(), 664);
}

TEST_F(JanelaTeste, MenusTrazemLegendasEAtalhos) {
    struct Item {
        const char* comando;
        const char* legenda;
        const char* atalho;
    };
    const Item itens[] = {
        {"novo", "&Novo", "Ctrl+N"},
        {"abrir", "&Abrir", "Ctrl+O"},
        {"salvar_padrao", "&Salvar", "Ctrl+S"},
        {"salvar_como", "&Salvar Como", ""},
        {"limpar_valor", "&Limpar Tudo", "Shift+Del"},
        {"add_valor", "Adicionar", ""},
        {"novo_valor", "&Modificar", "Ins"},
        {"deletar_valor", "&Deletar", "Del"},
        {"repetir_valor", "&Repetir Valor", "Ctrl+R"},
        {"transf", "&Exportar Resultado para Área de Transferência", "Ctrl+K"},
        {"abrir_txt", "&Importar Arquivo de Texto", ""},
        {"save_txt", "&Exportar Arquivo de Texto", ""},
        {"armazenar_memoria", "&Armazenar Na Memória", "Ctrl+M"},
        {"valor_memoria", "Valor Armazenado na Memória", "Ctrl+E"},
        {"backup", "Restaurar / Limpar Backup", ""},
        {"buscar", "&Localizar Valor", "F2"},
        {"buscar_prox", "&Localizar Próximo Valor", "F3"},
        {"visualizar", "&Visualizar Impressão", "Ctrl+I"},
        {"imprimir", "&Imprimir", "Ctrl+P"},
        {"ajuda", "&Ajuda", "F1"},
        {"sobre", "&Sobre", ""},
    };
    for (const Item& i : itens) {
        QAction* a = acao(i.comando);
        ASSERT_NE(a, nullptr) << i.comando;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.legenda)) << i.comando;
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(i.atalho)) << i.comando;
    }
    QStringList menus;
    for (QAction* m : janela->menuBar()->actions())
        menus << m->text();
    EXPECT_EQ(menus, (QStringList{"&Arquivo", "&Edições", "&Localização", "&Imprimir", "&Ajuda"}));
}

TEST_F(JanelaTeste, BarraDeFerramentasNaOrdemComDicas) {
    auto* barra = filho<QToolBar>("BarraFerramentas");
    ASSERT_NE(barra, nullptr);
    QStringList dicas;
    for (QAction* a : barra->actions())
        dicas << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    EXPECT_EQ(dicas, (QStringList{"Novo", "Abrir", "Salvar", "|", "Adicionar", "Modificar",
                                  "Deletar", "Localizar", "Localizar Próximo", "Limpar Tudo", "|",
                                  "Visualizar Impressão", "Imprimir", "|", "Ajuda"}));
}

TEST_F(JanelaTeste, MenuDaFitaRodaOsComandosComSuasLegendas) {
    auto* pop = filho<QMenu>("pop");
    ASSERT_NE(pop, nullptr);
    QStringList itens;
    for (QAction* a : pop->actions()) {
        if (a->isSeparator())
            itens << QStringLiteral("|");
        else
            itens << (a->text() + QLatin1Char(' ') + a->shortcut().toString()).trimmed();
    }
    EXPECT_EQ(itens, (QStringList{"&Limpar Tudo Shift+Del", "|", "&Adicionar", "&Modificar Ins",
                                  "&Deletar Del", "|", "&Localizar Valor F2",
                                  "&Localizar Próximo Valor F3", "|",
                                  "&Armazenar Na Memória Ctrl+M", "|", "&Repetir Valor Ctrl+R",
                                  "&Exportar Resultado para Área de Transferência", "|",
                                  "Importar Arquivo de Texto", "&Exportar Para Arquivo de Texto",
                                  "|", "&Visualizar Impressão Ctrl+I", "&Imprimir Ctrl+P"}));
    // Each item follows its command's rule and runs the command itself.
    auto* deletar = pop->findChild<QAction*>(QStringLiteral("pop_deletar_valor"));
    ASSERT_NE(deletar, nullptr);
    janela->atualizar_acoes();
    EXPECT_FALSE(deletar->isEnabled());
    adicionar(QStringLiteral("5"));
    janela->atualizar_acoes();
    EXPECT_TRUE(deletar->isEnabled());
    deletar->trigger();
    EXPECT_TRUE(linhas().isEmpty());
}

TEST_F(JanelaTeste, RegrasDeHabilitacaoNumaFitaVaziaEComUmaLinha) {
    const char* com_linhas[] = {"limpar_valor", "novo_valor", "deletar_valor",
                                "transf",       "save_txt",   "armazenar_memoria",
                                "buscar",       "visualizar", "imprimir"};
    for (const char* c : com_linhas)
        EXPECT_FALSE(ativo(c)) << c;
    EXPECT_FALSE(ativo("repetir_valor"));
    EXPECT_FALSE(ativo("valor_memoria"));
    EXPECT_FALSE(ativo("buscar_prox"));
    for (const char* c :
         {"novo", "abrir", "salvar_padrao", "salvar_como", "add_valor", "abrir_txt", "backup"})
        EXPECT_TRUE(ativo(c)) << c;
    adicionar(QStringLiteral("5"));
    for (const char* c : com_linhas)
        EXPECT_TRUE(ativo(c)) << c;
    campo()->setText(QStringLiteral("1"));
    EXPECT_TRUE(ativo("repetir_valor"));
}

TEST_F(JanelaTeste, EnterDeQualquerCampoAdicionaOValorDaEntradaEAcendeB03) {
    auto* teclado = janela->findChild<tape::Teclado*>();
    ASSERT_NE(teclado, nullptr);
    campo()->setText(QStringLiteral("7"));
    auto* cabecalho = filho<QLineEdit>("cabecalho");
    cabecalho->setFocus();
    janela->atualizar_acoes();
    QTest::keyPress(cabecalho, Qt::Key_Return);
    EXPECT_TRUE(teclado->aceso(3)); // while held, as in the entry field
    EXPECT_EQ(linhas(), QStringList{"7,00"});
    EXPECT_EQ(QApplication::focusWidget(), campo());
    QTest::keyRelease(campo(), Qt::Key_Return); // the add moved the focus here
    EXPECT_FALSE(teclado->aceso(3));
    // Each further Enter adds the emptied field: a 0,00 line.
    tecla(campo(), Qt::Key_Enter);
    EXPECT_EQ(linhas(), (QStringList{"7,00", "0,00"}));
}

TEST_F(JanelaTeste, DigitarEAdicionarPeloTeclado) {
    QTest::keyClicks(campo(), QStringLiteral("1234567"));
    EXPECT_EQ(campo()->text(), QStringLiteral("1.234.567"));
    tecla(campo(), Qt::Key_Return);
    EXPECT_EQ(linhas(), QStringList{"1.234.567,00"});
    EXPECT_EQ(total(), QStringLiteral("R$ 1.234.567,00"));
    EXPECT_EQ(
        extenso(),
        QStringLiteral(
            "UM MILHAO, DUZENTOS E TRINTA E QUATRO MIL E QUINHENTOS E SESSENTA E SETE REAIS"));
    EXPECT_TRUE(campo()->text().isEmpty());
}

// Right after a dialog closes, a compositor may hand the window its keys
// before the window is active again: they reach the window itself, no control
// of it having the focus. What is typed then still lands in the entry field,
// and the line added is the amount typed.
TEST_F(JanelaTeste, DigitosAntesDeAJanelaVoltarAFicarAtivaVaoParaAEntrada) {
    QWidget dialogo;
    dialogo.show();
    ASSERT_TRUE(testes::ativar(&dialogo));
    dialogo.hide();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(janela.get(), QStringLiteral("56"));
    EXPECT_EQ(campo()->text(), QStringLiteral("56"));
    tecla(janela.get(), Qt::Key_Return);
    EXPECT_EQ(linhas(), QStringList{"56,00"});
    // Shortcuts and keys a control let climb to the window are not typing.
    ASSERT_TRUE(testes::ativar(janela.get()));
    campo()->setFocus();
    QTest::keyClicks(janela.get(), QStringLiteral("7"));
    EXPECT_TRUE(campo()->text().isEmpty());
}

TEST_F(JanelaTeste, DelInsEShiftDelNuncaChegamAoCampo) {
    adicionar(QStringLiteral("1"));
    adicionar(QStringLiteral("2"));
    campo()->setText(QStringLiteral("123"));
    campo()->setCursorPosition(0);
    tecla(campo(), Qt::Key_Delete);
    EXPECT_EQ(campo()->text(), QStringLiteral("123"));
    EXPECT_EQ(linhas(), QStringList{"1,00"}); // Del deleted the current tape line
    dlg->valores.push_back(std::nullopt);     // Ins: the modify dialog, cancelled
    tecla(campo(), Qt::Key_Insert);
    EXPECT_EQ(dlg->ultimo_valor_inicial, QStringLiteral("1,00"));
    tecla(campo(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_EQ(campo()->text(), QStringLiteral("123"));
    // With the command disabled the key still does nothing in the field.
    tecla(campo(), Qt::Key_Delete);
    EXPECT_EQ(campo()->text(), QStringLiteral("123"));
}

TEST_F(JanelaTeste, CimaEBaixoMovemALinhaAtualDentroDosLimites) {
    for (const char* v : {"1", "2", "3"})
        adicionar(QString::fromLatin1(v));
    EXPECT_EQ(linha_atual(), 3);
    tecla(campo(), Qt::Key_Up);
    tecla(campo(), Qt::Key_Up);
    EXPECT_EQ(linha_atual(), 1);
    tecla(campo(), Qt::Key_Up);
    EXPECT_EQ(linha_atual(), 1);
    tecla(campo(), Qt::Key_Down);
    tecla(campo(), Qt::Key_Down);
    tecla(campo(), Qt::Key_Down);
    EXPECT_EQ(linha_atual(), 3);
}

// Whoever changes the tape, both displays follow it; the clipboard gets the
// total as shown.
TEST_F(JanelaTeste, MostradoresAcompanhamCadaMudancaDaFita) {
    adicionar(QStringLiteral("1.000"));
    adicionar(QStringLiteral("234,56"));
    EXPECT_EQ(total(), QStringLiteral("R$ 1.234,56"));
    EXPECT_EQ(extenso(), QStringLiteral("UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E "
                                        "SEIS CENTAVOS"));
    executar("transf");
    EXPECT_EQ(QApplication::clipboard()->text(), total());
    dlg->valores = {QStringLiteral("10")};
    executar("novo_valor");
    EXPECT_EQ(total(), QStringLiteral("R$ 1.010,00"));
    executar("deletar_valor");
    executar("deletar_valor");
    EXPECT_EQ(total(), QStringLiteral("R$ 0,00"));
    EXPECT_EQ(extenso(), QStringLiteral("ZERO"));
    for (const char* c : {"deletar_valor", "novo_valor", "limpar_valor", "buscar", "transf"})
        EXPECT_FALSE(ativo(c)) << c;
}

// The keypad lights through the window's own event filter, as the user
// meets it.
TEST_F(JanelaTeste, TeclaSeguradaNaEntradaAcendeSeuBotaoEAindaDigita) {
    auto* teclado = janela->findChild<tape::Teclado*>();
    ASSERT_NE(teclado, nullptr);
    QTest::keyPress(campo(), Qt::Key_7, Qt::KeypadModifier);
    EXPECT_TRUE(teclado->aceso(14));
    QTest::keyRelease(campo(), Qt::Key_7, Qt::KeypadModifier);
    EXPECT_FALSE(teclado->aceso(14));
    EXPECT_EQ(campo()->text(), QStringLiteral("7"));
    // Enter adds at once and keeps b03 lit until it is let go.
    QTest::keyPress(campo(), Qt::Key_Return);
    EXPECT_TRUE(teclado->aceso(3));
    EXPECT_EQ(linhas(), QStringList{"7,00"});
    QTest::keyRelease(campo(), Qt::Key_Return);
    EXPECT_FALSE(teclado->aceso(3));
}

TEST_F(JanelaTeste, TeclaSeguradaQuandoOFocoSaiDaEntradaNaoFicaAcesa) {
    auto* teclado = janela->findChild<tape::Teclado*>();
    ASSERT_NE(teclado, nullptr);
    QTest::keyPress(campo(), Qt::Key_3);
    ASSERT_TRUE(teclado->aceso(6));
    auto* cabecalho = filho<QLineEdit>("cabecalho");
    cabecalho->setFocus(); // the key is still down
    ASSERT_EQ(QApplication::focusWidget(), cabecalho);
    EXPECT_FALSE(teclado->aceso(6));
    QTest::keyRelease(cabecalho, Qt::Key_3); // the key-up goes to the new field
    EXPECT_FALSE(teclado->aceso(6));
}

TEST_F(JanelaTeste, AjudaAbreOGuiaSoQuandoExiste) {
    executar("ajuda");
    for (const QString& e : dlg->enderecos)
        EXPECT_TRUE(QFileInfo::exists(e)) << e.toStdString();
}

TEST_F(JanelaTeste, BarraDeEstadoTemTresPaineis) {
    const auto paineis =
        janela->statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(paineis.size(), 3);
    EXPECT_EQ(paineis[0]->text(), QStringLiteral("Quarvel 1.1"));
    EXPECT_EQ(paineis[0]->width(), 150);
    EXPECT_EQ(paineis[1]->width(), 350);
}

} // namespace
} // namespace quarvel::app

namespace quarvel::app {
namespace {

TEST_F(JanelaTeste, AtalhosDaMemoriaPeloTeclado) {
    adicionar(QStringLiteral("55"));
    ASSERT_FALSE(ativo("valor_memoria"));
    tecla(campo(), Qt::Key_M, Qt::ControlModifier);
    // The memory holds the line as shown: its command comes on, and brings
    // it into the empty field.
    EXPECT_TRUE(ativo("valor_memoria"));
    QApplication::processEvents();
    ASSERT_TRUE(campo()->text().isEmpty());
    tecla(campo(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(campo()->text(), QStringLiteral("55,00"));
}

// Every figure shown whole: the total in its display, each tape line in its
// rect (wrapped as the view paints it), for the largest amounts a tape
// takes. One row a tape: the entries typed, then the total shown.
TEST_F(JanelaTeste, FigurasCabemInteirasNosMostradores) {
    struct Caso {
        QStringList entradas;
        const char* total;
    };
    const Caso casos[] = {
        {{"999999999999,99"}, "R$ 999.999.999.999,99"},
        {{"-999999999999,99"}, "R$ -999.999.999.999,99"},
        // The total is a double: 15 significant digits, as ever.
        {{"1234567890123456,78"}, "R$ 1.234.567.890.123.460,00"},
        {{"999999999999999999", "-999999999999999999"}, "R$ 0,00"},
        {{"-999999999999999999", "-999999999999999999,99"}, "R$ -2E18"},
    };
    auto* visao = filho<tape::VisaoFita>("valores");
    auto* mostrador = filho<QLabel>("valor_final");
    for (const Caso& c : casos) {
        dlg->respostas = {Dialogos::Resposta::Nao};
        acao("novo")->trigger();
        for (const QString& e : c.entradas)
            adicionar(e);
        QApplication::processEvents();
        const std::string onde = c.entradas.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(total(), QString::fromUtf8(c.total)) << onde;
        EXPECT_LE(QFontMetrics(mostrador->font()).horizontalAdvance(total()),
                  mostrador->contentsRect().width())
            << onde;
        for (int i = 0; i < visao->modelo().rowCount(); ++i) {
            const QRect r = visao->visualRect(visao->modelo().index(i));
            const QString texto = visao->modelo().index(i).data().toString();
            const int largura =
                r.width() - visao->largura_calha() - 1 - 2 * tape::VisaoFita::kFolga;
            QTextLayout layout(texto, visao->font());
            layout.setTextOption(tape::VisaoFita::opcao_texto());
            layout.beginLayout();
            qreal altura = 0;
            int fim = 0;
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(largura);
                EXPECT_LE(l.naturalTextWidth(), largura) << onde;
                altura += l.height();
                fim = l.textStart() + l.textLength();
            }
            layout.endLayout();
            EXPECT_EQ(fim, texto.size()) << onde;
            EXPECT_LE(altura, r.height()) << onde << ": " << texto.toStdString();
        }
    }
}

} // namespace
} // namespace quarvel::app
