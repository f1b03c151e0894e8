// The tape commands over their narrow context, no main window: adding,
// refusing, editing, repeating, finding, the memory and the clipboard.
#include "tape/campo_valor.h"
#include "tape/comandos_fita.h"
#include "tape/total.h"
#include "tape/visao_fita.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/apoio/lista_qt.h"
#include "tests/tape/roteiro_fita.h"

#include <QApplication>
#include <QClipboard>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace quarvel::tape {
namespace {

// The tape, its view and the entry field as the window lays them out, the
// dialogs answered from a script.
class ComandosFitaTeste : public ::testing::Test {
  protected:
    using Comando = void (ComandosFita::*)();
    using Regra = bool (ComandosFita::*)() const;

    // Runs a command as the window does: not at all while its rule is off.
    void executar(Comando c, Regra regra = nullptr) {
        if (!regra || (comandos.*regra)()) (comandos.*c)();
    }
    void adicionar(const QString& texto) {
        campo()->setText(texto);
        comandos.add_valor();
    }
    QLineEdit* campo() { return entrada; }
    QStringList linhas() const { return testes::lista_qt(fita.linhas()); }
    QStringList brutos() const { return testes::lista_qt(fita.brutos()); }
    QString total() const { return QString::fromStdString(textos_total(fita.brutos()).figuras); }
    QString extenso() const { return QString::fromStdString(textos_total(fita.brutos()).extenso); }
    int linha_atual() const { return visao->linha_atual(); }

    QWidget janela;
    FitaModelo fita;
    EstadoFita estado;
    CampoValor* entrada = new CampoValor(&janela);
    VisaoFita* visao = new VisaoFita(fita, &janela);
    RoteiroFita roteiro;
    RoteiroFita* dlg = &roteiro;
    QUndoStack historico;
    ComandosFita comandos{
        ContextoFita{fita, estado, *entrada, *visao, roteiro, &janela, historico}};
};

TEST_F(ComandosFitaTeste, AdicionarConverteComoAFitaMostra) {
    struct Caso {
        const char* entrada;
        const char* bruto;
        const char* linha;
        const char* total;
    };
    // The conversion itself has its own table in the core's tests; these are
    // the cases where the command could part from it: an expression, a line
    // and total that round differently, and blanks that still add a line.
    const Caso casos[] = {
        {"12*50", "600", "600,00", "R$ 600,00"},
        {"2,675", "2,675", "2,68", "R$ 2,67"},
        {"", "0", "0,00", "R$ 0,00"},
        {"   ", "0", "0,00", "R$ 0,00"},
    };
    for (const Caso& c : casos) {
        executar(&ComandosFita::limpar_valor, &ComandosFita::tem_linhas);
        adicionar(QString::fromUtf8(c.entrada));
        EXPECT_EQ(brutos(), QStringList{c.bruto}) << c.entrada;
        EXPECT_EQ(linhas(), QStringList{c.linha}) << c.entrada;
        EXPECT_EQ(total(), QString::fromUtf8(c.total)) << c.entrada;
    }
    EXPECT_EQ(dlg->sons, 4);
    EXPECT_TRUE(dlg->avisos.isEmpty());
}

TEST_F(ComandosFitaTeste, ExpressaoMalFormadaERecusadaSemSomarNada) {
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

TEST_F(ComandosFitaTeste, LimiteDeCinquentaMilValores) {
    for (int i = 0; i < 10; ++i) {
        campo()->setText(QStringLiteral("1"));
        dlg->repeticoes = {5000};
        executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    }
    ASSERT_EQ(fita.tamanho(), 50000u);
    EXPECT_EQ(total(), QStringLiteral("R$ 50.000,00"));
    adicionar(QStringLiteral("2"));
    EXPECT_EQ(fita.tamanho(), 50000u);
    EXPECT_EQ(dlg->avisos.value(0),
              QStringLiteral("O máximo suportado pela base de cálculos é de 50.000 valores"));
    EXPECT_EQ(campo()->text(), QStringLiteral("2"));
}

TEST_F(ComandosFitaTeste, DeletarDeixaALinhaDeCimaComoAtual) {
    for (const char* v : {"1", "2", "3"})
        adicionar(QString::fromLatin1(v));
    visao->definir_linha_atual(1);
    executar(&ComandosFita::deletar_valor, &ComandosFita::tem_linhas);
    EXPECT_EQ(linhas(), (QStringList{"2,00", "3,00"}));
    EXPECT_EQ(linha_atual(), 1);
    visao->definir_linha_atual(2);
    executar(&ComandosFita::deletar_valor, &ComandosFita::tem_linhas);
    EXPECT_EQ(linhas(), QStringList{"2,00"});
    EXPECT_EQ(linha_atual(), 1);
    executar(&ComandosFita::deletar_valor, &ComandosFita::tem_linhas);
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_EQ(total(), QStringLiteral("R$ 0,00"));
    EXPECT_EQ(extenso(), QStringLiteral("ZERO"));
    // deletar_valor, novo_valor, limpar_valor, buscar, armazenar_memoria, transf
    EXPECT_FALSE(comandos.tem_linhas());
}

TEST_F(ComandosFitaTeste, ModificarTrocaOValorNoLugarEMarcaAlterado) {
    adicionar(QStringLiteral("1.234,56"));
    adicionar(QStringLiteral("1"));
    visao->definir_linha_atual(1);
    dlg->valores = {QStringLiteral("10*3")};
    executar(&ComandosFita::novo_valor, &ComandosFita::tem_linhas);
    EXPECT_EQ(dlg->ultimo_valor_inicial, QStringLiteral("1.234,56"));
    EXPECT_EQ(brutos(), (QStringList{"30", "1"}));
    EXPECT_EQ(linhas(), (QStringList{"30,00", "1,00"}));
    EXPECT_EQ(linha_atual(), 1);
    EXPECT_TRUE(estado.alterado);
    EXPECT_EQ(total(), QStringLiteral("R$ 31,00"));
}

TEST_F(ComandosFitaTeste, ModificarCanceladoOuRecusadoNaoMudaNada) {
    adicionar(QStringLiteral("5"));
    dlg->valores = {std::nullopt};
    executar(&ComandosFita::novo_valor, &ComandosFita::tem_linhas);
    EXPECT_FALSE(estado.alterado);
    // A malformed text is refused and the dialog stays for correction.
    dlg->valores = {QStringLiteral("2*-3"), QStringLiteral("7")};
    executar(&ComandosFita::novo_valor, &ComandosFita::tem_linhas);
    EXPECT_EQ(dlg->avisos, QStringList{"Expressão inválida: 2*-3 (posição 3)"});
    EXPECT_EQ(linhas(), QStringList{"7,00"});
    dlg->valores = {QStringLiteral("2*-3"), std::nullopt};
    executar(&ComandosFita::novo_valor, &ComandosFita::tem_linhas);
    EXPECT_EQ(linhas(), QStringList{"7,00"});
}

TEST_F(ComandosFitaTeste, RepetirAcrescentaNVezesOValorDaEntrada) {
    campo()->setText(QStringLiteral("12,5"));
    dlg->repeticoes = {4};
    executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    EXPECT_EQ(linhas(), (QStringList{"12,50", "12,50", "12,50", "12,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 50,00"));
    EXPECT_TRUE(campo()->text().isEmpty());
    EXPECT_EQ(linha_atual(), 4);
    EXPECT_FALSE(comandos.tem_entrada());
    // A malformed entry repeats nothing.
    campo()->setText(QStringLiteral("3*"));
    dlg->repeticoes = {2};
    executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    EXPECT_EQ(fita.tamanho(), 4u);
    EXPECT_EQ(dlg->avisos.size(), 1);
}

TEST_F(ComandosFitaTeste, RepetirAlemDoLimiteNaoMudaNada) {
    campo()->setText(QStringLiteral("1"));
    for (int n : {5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 4998}) {
        campo()->setText(QStringLiteral("1"));
        dlg->repeticoes = {n};
        executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    }
    ASSERT_EQ(fita.tamanho(), 49998u);
    campo()->setText(QStringLiteral("1"));
    dlg->repeticoes = {3};
    executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    EXPECT_EQ(fita.tamanho(), 49998u);
    EXPECT_EQ(dlg->avisos.size(), 1);
    dlg->repeticoes = {2};
    executar(&ComandosFita::repetir_valor, &ComandosFita::tem_entrada);
    EXPECT_EQ(fita.tamanho(), 50000u);
}

TEST_F(ComandosFitaTeste, LimparTudoMantemAMemoriaEDesligaOProximo) {
    adicionar(QStringLiteral("10"));
    executar(&ComandosFita::armazenar_memoria, &ComandosFita::tem_linhas);
    dlg->valores = {QStringLiteral("10")};
    executar(&ComandosFita::buscar, &ComandosFita::tem_linhas);
    EXPECT_TRUE(comandos.busca_ativa());
    executar(&ComandosFita::limpar_valor, &ComandosFita::tem_linhas);
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_FALSE(comandos.busca_ativa());
    EXPECT_TRUE(comandos.tem_memoria());
    executar(&ComandosFita::valor_memoria, &ComandosFita::tem_memoria);
    EXPECT_EQ(campo()->text(), QStringLiteral("10,00"));
}

TEST_F(ComandosFitaTeste, BuscarEBuscarProximo) {
    for (const char* v : {"10", "20", "10"})
        adicionar(QString::fromLatin1(v));
    dlg->valores = {QStringLiteral("10")};
    executar(&ComandosFita::buscar, &ComandosFita::tem_linhas);
    EXPECT_EQ(linha_atual(), 1);
    executar(&ComandosFita::buscar_prox, &ComandosFita::busca_ativa);
    EXPECT_EQ(linha_atual(), 3);
    executar(&ComandosFita::buscar_prox, &ComandosFita::busca_ativa);
    EXPECT_EQ(linha_atual(), 3);
    EXPECT_EQ(dlg->avisos, QStringList{"Fim da Pesquisa !"});
    dlg->avisos.clear();
    dlg->valores = {QStringLiteral("30")};
    executar(&ComandosFita::buscar, &ComandosFita::tem_linhas);
    EXPECT_EQ(dlg->avisos, QStringList{"Nenhuma Informação Encontrada !"});
    EXPECT_TRUE(comandos.busca_ativa());
    EXPECT_EQ(estado.busca.posicao, 3);
}

TEST_F(ComandosFitaTeste, BuscaSemDigitoAvisaEMantemOEstado) {
    for (const char* v : {"10", "10"})
        adicionar(QString::fromLatin1(v));
    dlg->valores = {QStringLiteral("10")};
    executar(&ComandosFita::buscar, &ComandosFita::tem_linhas);
    executar(&ComandosFita::buscar_prox, &ComandosFita::busca_ativa);
    ASSERT_EQ(estado.busca.posicao, 2);
    dlg->avisos.clear();
    dlg->valores = {QString(), std::nullopt};
    executar(&ComandosFita::buscar, &ComandosFita::tem_linhas);
    EXPECT_EQ(dlg->avisos, QStringList{"Informe um valor para localizar."});
    EXPECT_EQ(estado.busca.valor, 10.0L);
    EXPECT_EQ(estado.busca.posicao, 2);
    EXPECT_EQ(linhas().size(), 2);
}

TEST_F(ComandosFitaTeste, MemoriaGuardaALinhaComoMostrada) {
    adicionar(QStringLiteral("10/3"));
    executar(&ComandosFita::armazenar_memoria, &ComandosFita::tem_linhas);
    EXPECT_EQ(estado.texto_memoria, QStringLiteral("3,33"));
    campo()->setText(QStringLiteral("99"));
    executar(&ComandosFita::valor_memoria, &ComandosFita::tem_memoria);
    EXPECT_EQ(campo()->text(), QStringLiteral("3,33"));
    executar(&ComandosFita::add_valor);
    EXPECT_EQ(brutos().last(), QStringLiteral("3,33"));
}

TEST_F(ComandosFitaTeste, TransferenciaCopiaOTotalComoMostrado) {
    adicionar(QStringLiteral("1.000"));
    adicionar(QStringLiteral("234,56"));
    executar(&ComandosFita::transf, &ComandosFita::tem_linhas);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("R$ 1.234,56"));
}

// Text pasted into the entry field stays there as pasted; without a digit it
// is refused and the tape keeps its lines.
TEST_F(ComandosFitaTeste, TextoColadoSemDigitoFicaERecusado) {
    adicionar(QStringLiteral("10"));
    for (const char* colado : {"abcd", "R$ --", "\t\t\t\t"}) {
        dlg->avisos.clear();
        campo()->setText(QString::fromUtf8(colado));
        EXPECT_EQ(campo()->text(), QString::fromUtf8(colado));
        comandos.add_valor();
        EXPECT_EQ(dlg->avisos.size(), 1) << colado;
        EXPECT_EQ(brutos(), QStringList{"10"});
    }
}

} // namespace
} // namespace quarvel::tape
