// The tape commands in the window: adding, refusing, editing, repeating,
// finding, the memory and the clipboard.
#include "tests/app/janela_apoio.h"

#include <QClipboard>

namespace quarvel::app {
namespace {

TEST_F(JanelaTeste, AdicionarConverteComoAFitaMostra) {
    struct Caso {
        const char* entrada;
        const char* bruto;
        const char* linha;
        const char* total;
    };
    const Caso casos[] = {
        {"1.234,56", "1234,56", "1.234,56", "R$ 1.234,56"},
        {"12*50", "600", "600,00", "R$ 600,00"},
        {"12,5*2", "25", "25,00", "R$ 25,00"},
        {"10/3", "3,33333333333333", "3,33", "R$ 3,33"},
        {"2,675", "2,675", "2,68", "R$ 2,67"},
        {"", "0", "0,00", "R$ 0,00"},
        {"-5", "-5", "-5,00", "R$ -5,00"},
        {"   ", "0", "0,00", "R$ 0,00"},
    };
    for (const Caso& c : casos) {
        executar("limpar_valor");
        adicionar(QString::fromUtf8(c.entrada));
        EXPECT_EQ(brutos(), QStringList{c.bruto}) << c.entrada;
        EXPECT_EQ(linhas(), QStringList{c.linha}) << c.entrada;
        EXPECT_EQ(total(), QString::fromUtf8(c.total)) << c.entrada;
    }
    EXPECT_EQ(dlg->sons, 8);
    EXPECT_TRUE(dlg->avisos.isEmpty());
}

TEST_F(JanelaTeste, ExpressaoMalFormadaERecusadaSemSomarNada) {
    struct Caso {
        const char* entrada;
        const char* aviso;
    };
    const Caso casos[] = {
        {"2*-3", "Expressão inválida: 2*-3 (posição 3)"},
        {"5+1/0", "Expressão inválida: 5+1/0 (posição 6)"},
        {"12*", "Expressão inválida: 12* (posição 4)"},
        {"1.234*-3", "Expressão inválida: 1.234*-3 (posição 7)"}, // counted in the text as typed
    };
    adicionar(QStringLiteral("1"));
    for (const Caso& c : casos) {
        dlg->avisos.clear();
        dlg->sons = 0;
        adicionar(QString::fromUtf8(c.entrada));
        EXPECT_EQ(dlg->avisos, QStringList{QString::fromUtf8(c.aviso)});
        EXPECT_EQ(linhas(), QStringList{"1,00"}) << c.entrada;
        EXPECT_EQ(campo()->text(), QString::fromUtf8(c.entrada));
        EXPECT_EQ(dlg->sons, 0);
    }
    EXPECT_EQ(total(), QStringLiteral("R$ 1,00"));
}

TEST_F(JanelaTeste, LimiteDeCinquentaMilValores) {
    for (int i = 0; i < 10; ++i) {
        campo()->setText(QStringLiteral("1"));
        dlg->repeticoes = {5000};
        executar("repetir_valor");
    }
    ASSERT_EQ(janela->fita().tamanho(), 50000u);
    EXPECT_EQ(total(), QStringLiteral("R$ 50.000,00"));
    adicionar(QStringLiteral("2"));
    EXPECT_EQ(janela->fita().tamanho(), 50000u);
    EXPECT_EQ(dlg->avisos.value(0),
              QStringLiteral("O máximo suportado pela base de cálculos é de 50.000 valores"));
    EXPECT_EQ(campo()->text(), QStringLiteral("2"));
}

TEST_F(JanelaTeste, DeletarDeixaALinhaDeCimaComoAtual) {
    for (const char* v : {"1", "2", "3"})
        adicionar(QString::fromLatin1(v));
    janela->findChild<QWidget*>(QStringLiteral("valores"));
    tecla(campo(), Qt::Key_Up);
    tecla(campo(), Qt::Key_Up);
    executar("deletar_valor");
    EXPECT_EQ(linhas(), (QStringList{"2,00", "3,00"}));
    EXPECT_EQ(janela->linha_atual(), 1);
    tecla(campo(), Qt::Key_Down);
    executar("deletar_valor");
    EXPECT_EQ(linhas(), QStringList{"2,00"});
    EXPECT_EQ(janela->linha_atual(), 1);
    executar("deletar_valor");
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_EQ(total(), QStringLiteral("R$ 0,00"));
    EXPECT_EQ(extenso(), QStringLiteral("ZERO"));
    for (const char* c : {"deletar_valor", "novo_valor", "limpar_valor", "buscar"})
        EXPECT_FALSE(ativo(c)) << c;
}

TEST_F(JanelaTeste, ModificarTrocaOValorNoLugarEMarcaAlterado) {
    adicionar(QStringLiteral("1.234,56"));
    adicionar(QStringLiteral("1"));
    tecla(campo(), Qt::Key_Up);
    dlg->valores = {QStringLiteral("10*3")};
    executar("novo_valor");
    EXPECT_EQ(dlg->ultimo_valor_inicial, QStringLiteral("1.234,56"));
    EXPECT_EQ(brutos(), (QStringList{"30", "1"}));
    EXPECT_EQ(linhas(), (QStringList{"30,00", "1,00"}));
    EXPECT_EQ(janela->linha_atual(), 1);
    EXPECT_TRUE(janela->alterado());
    EXPECT_EQ(total(), QStringLiteral("R$ 31,00"));
}

TEST_F(JanelaTeste, ModificarCanceladoOuRecusadoNaoMudaNada) {
    adicionar(QStringLiteral("5"));
    dlg->valores = {std::nullopt};
    executar("novo_valor");
    EXPECT_FALSE(janela->alterado());
    // A malformed text is refused and the dialog stays for correction.
    dlg->valores = {QStringLiteral("2*-3"), QStringLiteral("7")};
    executar("novo_valor");
    EXPECT_EQ(dlg->avisos, QStringList{"Expressão inválida: 2*-3 (posição 3)"});
    EXPECT_EQ(linhas(), QStringList{"7,00"});
    dlg->valores = {QStringLiteral("2*-3"), std::nullopt};
    executar("novo_valor");
    EXPECT_EQ(linhas(), QStringList{"7,00"});
}

TEST_F(JanelaTeste, RepetirAcrescentaNVezesOValorDaEntrada) {
    campo()->setText(QStringLiteral("12,5"));
    dlg->repeticoes = {4};
    executar("repetir_valor");
    EXPECT_EQ(linhas(), (QStringList{"12,50", "12,50", "12,50", "12,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 50,00"));
    EXPECT_TRUE(campo()->text().isEmpty());
    EXPECT_EQ(janela->linha_atual(), 4);
    EXPECT_FALSE(ativo("repetir_valor"));
    // A malformed entry repeats nothing.
    campo()->setText(QStringLiteral("3*"));
    dlg->repeticoes = {2};
    executar("repetir_valor");
    EXPECT_EQ(janela->fita().tamanho(), 4u);
    EXPECT_EQ(dlg->avisos.size(), 1);
}

TEST_F(JanelaTeste, RepetirAlemDoLimiteNaoMudaNada) {
    campo()->setText(QStringLiteral("1"));
    for (int n : {5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 4998}) {
        campo()->setText(QStringLiteral("1"));
        dlg->repeticoes = {n};
        executar("repetir_valor");
    }
    ASSERT_EQ(janela->fita().tamanho(), 49998u);
    campo()->setText(QStringLiteral("1"));
    dlg->repeticoes = {3};
    executar("repetir_valor");
    EXPECT_EQ(janela->fita().tamanho(), 49998u);
    EXPECT_EQ(dlg->avisos.size(), 1);
    dlg->repeticoes = {2};
    executar("repetir_valor");
    EXPECT_EQ(janela->fita().tamanho(), 50000u);
}

TEST_F(JanelaTeste, LimparTudoMantemAMemoriaEDesligaOProximo) {
    adicionar(QStringLiteral("10"));
    executar("armazenar_memoria");
    dlg->valores = {QStringLiteral("10")};
    executar("buscar");
    EXPECT_TRUE(ativo("buscar_prox"));
    executar("limpar_valor");
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_FALSE(ativo("buscar_prox"));
    EXPECT_TRUE(ativo("valor_memoria"));
    executar("valor_memoria");
    EXPECT_EQ(campo()->text(), QStringLiteral("10,00"));
}

TEST_F(JanelaTeste, BuscarEBuscarProximo) {
    for (const char* v : {"10", "20", "10"})
        adicionar(QString::fromLatin1(v));
    dlg->valores = {QStringLiteral("10")};
    executar("buscar");
    EXPECT_EQ(janela->linha_atual(), 1);
    executar("buscar_prox");
    EXPECT_EQ(janela->linha_atual(), 3);
    executar("buscar_prox");
    EXPECT_EQ(janela->linha_atual(), 3);
    EXPECT_EQ(dlg->avisos, QStringList{"Fim da Pesquisa !"});
    dlg->avisos.clear();
    dlg->valores = {QStringLiteral("30")};
    executar("buscar");
    EXPECT_EQ(dlg->avisos, QStringList{"Nenhuma Informação Encontrada !"});
    EXPECT_TRUE(ativo("buscar_prox"));
    EXPECT_EQ(janela->posicao_busca(), 3);
}

TEST_F(JanelaTeste, BuscaComparaNumerosENaoTextos) {
    for (const char* v : {"10/3", "1.234,5", "0-5", "0", "1234"})
        adicionar(QString::fromLatin1(v));
    struct Caso {
        const char* procurado;
        int linha; // 0: not found
    };
    const Caso casos[] = {{"3,33", 0}, {"1.234,5", 2}, {"-5", 3},
                          {"0", 4},    {"1.234", 5},   {"2*3", 0}};
    for (const Caso& c : casos) {
        dlg->avisos.clear();
        dlg->valores = {QString::fromLatin1(c.procurado)};
        executar("buscar");
        if (c.linha)
            EXPECT_EQ(janela->linha_atual(), c.linha) << c.procurado;
        else
            EXPECT_EQ(dlg->avisos, QStringList{"Nenhuma Informação Encontrada !"}) << c.procurado;
    }
    dlg->valores = {QStringLiteral("0")};
    executar("buscar");
    EXPECT_FALSE(ativo("buscar_prox")); // a search for 0 leaves find-next off
}

TEST_F(JanelaTeste, BuscaSemDigitoAvisaEMantemOEstado) {
    for (const char* v : {"10", "10"})
        adicionar(QString::fromLatin1(v));
    dlg->valores = {QStringLiteral("10")};
    executar("buscar");
    executar("buscar_prox");
    ASSERT_EQ(janela->posicao_busca(), 2);
    dlg->avisos.clear();
    dlg->valores = {QString(), std::nullopt};
    executar("buscar");
    EXPECT_EQ(dlg->avisos, QStringList{"Informe um valor para localizar."});
    EXPECT_EQ(janela->valor_busca(), 10.0L);
    EXPECT_EQ(janela->posicao_busca(), 2);
    EXPECT_EQ(linhas().size(), 2);
}

TEST_F(JanelaTeste, MemoriaGuardaALinhaComoMostrada) {
    adicionar(QStringLiteral("10/3"));
    executar("armazenar_memoria");
    EXPECT_EQ(janela->texto_memoria(), QStringLiteral("3,33"));
    campo()->setText(QStringLiteral("99"));
    executar("valor_memoria");
    EXPECT_EQ(campo()->text(), QStringLiteral("3,33"));
    executar("add_valor");
    EXPECT_EQ(brutos().last(), QStringLiteral("3,33"));
}

TEST_F(JanelaTeste, TransferenciaCopiaOTotalComoMostrado) {
    adicionar(QStringLiteral("1.000"));
    adicionar(QStringLiteral("234,56"));
    executar("transf");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("R$ 1.234,56"));
}

} // namespace
} // namespace quarvel::app
