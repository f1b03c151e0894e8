// The modify/search dialog and the repeat dialog, driven by keys and clicks.
#include "tape/campo_valor.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"
#include "tests/apoio/nome_teste.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using quarvel::tape::CampoValor;
using quarvel::tape::FormRepetir;
using quarvel::tape::FormValor;

namespace {

TEST(FormValorTeste, CaptionRotuloEBotoes) {
    FormValor f("Modificar Valor", "Novo Valor:");
    EXPECT_EQ(f.windowTitle(), "Modificar Valor");
    const auto rotulos = f.findChildren<QLabel*>();
    ASSERT_EQ(rotulos.size(), 1);
    EXPECT_EQ(rotulos[0]->text(), "Novo Valor:");
    auto* n01 = f.findChild<CampoValor*>("n01");
    ASSERT_EQ(n01, f.campo());
    EXPECT_TRUE(n01->font().bold());
    EXPECT_EQ(n01->palette().color(QPalette::Base), QColor(255, 255, 128));
    EXPECT_EQ(n01->palette().color(QPalette::Text), CampoValor::kCorTexto);
    ASSERT_NE(f.findChild<QPushButton*>("BT_OK"), nullptr);
    EXPECT_EQ(f.findChild<QPushButton*>("BT_OK")->text(), "OK");
    EXPECT_EQ(f.findChild<QPushButton*>("BT_CANCEL")->text(), "Cancelar");
}

TEST(FormValorTeste, CampoSegueAsRegrasDeEntrada) {
    FormValor f("Buscar Valor", "Digite o valor que deseja buscar:");
    f.definir_texto("1.234,56");
    EXPECT_EQ(f.texto(), "1.234,56");
    f.definir_texto("");
    QTest::keyClicks(f.campo(), "12345.6");
    EXPECT_EQ(f.texto(), "12.345,6");
}

TEST(FormValorTeste, EnterConfirmaEscapeCancela) {
    {
        FormValor f("Modificar Valor", "Novo Valor:");
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        QTest::keyClicks(f.campo(), "10*3");
        QTest::keyClick(f.campo(), Qt::Key_Return);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(f.texto(), "10*3");
    }
    {
        FormValor f("Modificar Valor", "Novo Valor:");
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        QTest::keyClick(f.campo(), Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Rejected);
    }
}

TEST(FormValorTeste, ValidacaoRecusadaMantemAberto) {
    FormValor f("Buscar Valor", "Digite o valor que deseja buscar:");
    QStringList vistos;
    f.definir_validacao([&](const QString& t) {
        vistos << t;
        return t != "abc";
    });
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.campo()->setText("abc");
    QTest::mouseClick(f.findChild<QPushButton*>("BT_OK"), Qt::LeftButton);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.campo()->selectedText(), "abc");
    f.campo()->setText("12");
    QTest::keyClick(f.campo(), Qt::Key_Return);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(vistos, (QStringList{"abc", "12"}));
}

TEST(FormValorTeste, CancelarNaoValida) {
    FormValor f("Modificar Valor", "Novo Valor:");
    bool chamada = false;
    f.definir_validacao([&](const QString&) { return chamada = true; });
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.findChild<QPushButton*>("BT_CANCEL"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(chamada);
}

TEST(FormRepetirTeste, Aparencia) {
    FormRepetir f;
    EXPECT_EQ(f.windowTitle(), "Repetir Valor");
    ASSERT_NE(f.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(f.findChild<QLabel*>()->text(), "Repetir este valor quantas vezes?");
    QSpinBox* v = f.findChild<QSpinBox*>("valor");
    ASSERT_EQ(v, f.valor());
    EXPECT_EQ(v->minimum(), 1);
    EXPECT_EQ(v->maximum(), 5000);
    EXPECT_EQ(f.vezes(), 1);
    EXPECT_EQ(f.findChild<QPushButton*>("BT_CANCEL")->text(), "Cancelar");
}

struct Digitado {
    const char* texto;
    int vezes;
};

void PrintTo(const Digitado& d, std::ostream* os) {
    *os << '"' << d.texto << "\" -> " << d.vezes;
}

class FormRepetirDigitado : public ::testing::TestWithParam<Digitado> {};

TEST_P(FormRepetirDigitado, FicaEntre1E5000) {
    FormRepetir f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClicks(f.valor(), GetParam().texto);
    EXPECT_EQ(f.vezes(), GetParam().vezes) << "before Enter: " << GetParam().texto;
    QTest::keyClick(f.valor(), Qt::Key_Return);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.vezes(), GetParam().vezes) << GetParam().texto;
    EXPECT_EQ(f.valor()->value(), GetParam().vezes) << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(Contagens, FormRepetirDigitado,
                         ::testing::Values(Digitado{"9999", 5000}, Digitado{"0", 1},
                                           Digitado{"4", 4}, Digitado{"5000", 5000},
                                           Digitado{"5001", 5000}, Digitado{"123456", 1234},
                                           Digitado{"abc", 1}),
                         [](const auto& caso) {
                             return quarvel::testes::nome_de_texto(caso.param.texto);
                         });

TEST(FormRepetirTeste, SoDigitosEntramNaContagem) {
    FormRepetir f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClicks(f.valor(), "12,.3 -e");
    EXPECT_EQ(f.valor()->text().toStdString(), "123");
    EXPECT_EQ(f.vezes(), 123);
}

TEST(FormRepetirTeste, EscapeCancela) {
    FormRepetir f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(f.valor(), Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
}

} // namespace
