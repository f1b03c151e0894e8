// The entry field driven by real key events: the filter on typed
// characters and the regrouping of the integer part.
#include "tape/campo_valor.h"
#include "tape/teclado.h"
#include "tests/apoio/nome_teste.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using quarvel::tape::CampoValor;
using quarvel::tape::Teclado;

namespace {

struct Digitacao {
    const char* teclas;
    const char* esperado;
};

void PrintTo(const Digitacao& d, std::ostream* os) {
    *os << '"' << d.teclas << "\" -> \"" << d.esperado << '"';
}

class CampoDigitado : public ::testing::TestWithParam<Digitacao> {};

TEST_P(CampoDigitado, DeixaOTextoEsperado) {
    CampoValor campo;
    QTest::keyClicks(&campo, QString::fromUtf8(GetParam().teclas));
    EXPECT_EQ(campo.text().toStdString(), GetParam().esperado) << "teclas: " << GetParam().teclas;
}

INSTANTIATE_TEST_SUITE_P(
    TeclasDigitadas, CampoDigitado,
    ::testing::Values(Digitacao{"123", "123"}, Digitacao{"1234", "1.234"},
                      Digitacao{"1234567", "1.234.567"}, Digitacao{"1234,56", "1.234,56"},
                      Digitacao{"1234.56", "1.234,56"}, Digitacao{"1234,5,", ""},
                      Digitacao{"0000", ""}, Digitacao{"00012", "12"},
                      Digitacao{"1234*2", "1.234*2"}, Digitacao{"-1234", "-1234"},
                      Digitacao{"xyz", ""}, Digitacao{"1a2b3c4", "1.234"},
                      Digitacao{"(12+3)/4", "(12+3)/4"}, Digitacao{"1 2 3", "123"}),
    [](const auto& caso) { return quarvel::testes::nome_de_texto(caso.param.teclas); });

TEST(CampoValorTeclas, PontoDigitadoViraVirgula) {
    CampoValor campo;
    QTest::keyClicks(&campo, "12");
    QTest::keyClick(&campo, Qt::Key_Period);
    EXPECT_EQ(campo.text(), "12,");
}

TEST(CampoValorTeclas, CaractereDescartadoNaoMexeNaSelecao) {
    CampoValor campo;
    campo.setText("123");
    campo.selectAll();
    QTest::keyClick(&campo, Qt::Key_A);
    EXPECT_EQ(campo.text(), "123");
    EXPECT_TRUE(campo.hasSelectedText());
}

TEST(CampoValorTeclas, BackspaceReagrupa) {
    CampoValor campo;
    QTest::keyClicks(&campo, "12345");
    ASSERT_EQ(campo.text(), "12.345");
    QTest::keyClick(&campo, Qt::Key_Backspace);
    EXPECT_EQ(campo.text(), "1.234");
    EXPECT_EQ(campo.cursorPosition(), 5);
}

TEST(CampoValorTeclas, DigitoNoMeioLevaCursorAoFim) {
    CampoValor campo;
    QTest::keyClicks(&campo, "1234");
    ASSERT_EQ(campo.text(), "1.234");
    campo.setCursorPosition(2); // after the "."
    QTest::keyClick(&campo, Qt::Key_9);
    EXPECT_EQ(campo.text(), "19.234");
    EXPECT_EQ(campo.cursorPosition(), campo.text().size());
}

// Edits in the middle of a number: every keystroke the rule writes puts the
// cursor at the end, also when the grouped text stays as it was.
struct EdicaoNoMeio {
    const char* nome;
    std::vector<Qt::Key> teclas;
    const char* esperado;
    friend void PrintTo(const EdicaoNoMeio& e, std::ostream* os) { *os << e.nome; }
};

class CampoEditadoNoMeio : public ::testing::TestWithParam<EdicaoNoMeio> {};

TEST_P(CampoEditadoNoMeio, CursorVaiAoFimACadaReagrupamento) {
    CampoValor campo;
    for (Qt::Key k : GetParam().teclas)
        QTest::keyClick(&campo, k);
    EXPECT_EQ(campo.text().toStdString(), GetParam().esperado);
    EXPECT_EQ(campo.cursorPosition(), campo.text().size());
}

INSTANTIATE_TEST_SUITE_P(
    Teclas, CampoEditadoNoMeio,
    ::testing::Values(EdicaoNoMeio{"DigitoAposOPrimeiro",
                                   {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_Home,
                                    Qt::Key_Right, Qt::Key_5, Qt::Key_6},
                                   "152.346"},
                      EdicaoNoMeio{"BackspaceNoMeio",
                                   {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                    Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Backspace,
                                    Qt::Key_6},
                                   "13.456"},
                      EdicaoNoMeio{"DigitoAntesDoPonto",
                                   {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_Home,
                                    Qt::Key_Right, Qt::Key_0},
                                   "10.234"}),
    [](const ::testing::TestParamInfo<EdicaoNoMeio>& i) { return std::string(i.param.nome); });

TEST(CampoValorTeclas, SetasEHomeContinuamEditando) {
    CampoValor campo;
    QTest::keyClicks(&campo, "12,5");
    QTest::keyClick(&campo, Qt::Key_Home);
    EXPECT_EQ(campo.cursorPosition(), 0);
    QTest::keyClick(&campo, Qt::Key_Right);
    EXPECT_EQ(campo.cursorPosition(), 1);
    QTest::keyClick(&campo, Qt::Key_End);
    EXPECT_EQ(campo.cursorPosition(), 4);
}

TEST(CampoValorTeclas, CtrlASelecionaTudo) {
    CampoValor campo;
    QTest::keyClicks(&campo, "12,5");
    QTest::keyClick(&campo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(campo.selectedText(), "12,5");
}

TEST(CampoValorTeclas, TecladoNumericoPassaPeloFiltro) {
    CampoValor campo;
    for (auto k : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4})
        QTest::keyClick(&campo, k, Qt::KeypadModifier);
    EXPECT_EQ(campo.text(), "1.234");
}

TEST(CampoValorTeclas, SemLimiteDeComprimento) {
    CampoValor campo;
    const QString longo = QString("1+").repeated(20000) + "1";
    campo.setText(longo);
    EXPECT_EQ(campo.text(), longo);
}

TEST(CampoValorColar, TextoSemDigitosFicaComoEsta) {
    CampoValor campo;
    QApplication::clipboard()->setText("abcd");
    campo.paste();
    EXPECT_EQ(campo.text(), "abcd");
}

TEST(CampoValorColar, NumeroColadoEhReagrupado) {
    CampoValor campo;
    QApplication::clipboard()->setText("1234567");
    campo.paste();
    EXPECT_EQ(campo.text(), "1.234.567");
    EXPECT_EQ(campo.cursorPosition(), campo.text().size());
}

TEST(CampoValorColar, SetTextTambemReagrupa) {
    CampoValor campo;
    campo.setText("98765");
    EXPECT_EQ(campo.text(), "98.765");
    campo.setText("1.234,56"); // a tape line: one "," keeps it as it is
    EXPECT_EQ(campo.text(), "1.234,56");
}

TEST(CampoValorAcrescentar, AcrescentaNoFimOndeQuerQueEstejaOCursor) {
    CampoValor campo;
    campo.setText("12");
    campo.setCursorPosition(0);
    campo.acrescentar('3');
    campo.acrescentar('4');
    EXPECT_EQ(campo.text(), "1.234");
    EXPECT_EQ(campo.cursorPosition(), 5);
}

TEST(CampoValorAcrescentar, BotoesDoTecladoDigitamComoAsTeclas) {
    CampoValor campo;
    Teclado teclado;
    QObject::connect(&teclado, &Teclado::caractere, &campo, &CampoValor::acrescentar);
    for (int b : {4, 5, 6, 9})
        QTest::mouseClick(teclado.botao(b), Qt::LeftButton);
    EXPECT_EQ(campo.text(), "1.234");
    QTest::mouseClick(teclado.botao(17), Qt::LeftButton);
    QTest::mouseClick(teclado.botao(5), Qt::LeftButton);
    EXPECT_EQ(campo.text(), "1.234*2");
}

} // namespace
