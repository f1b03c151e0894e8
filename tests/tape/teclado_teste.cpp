// The keypad: its grid, what each button sends, and the lighting of a
// button while its keyboard key is held in the entry field. The events go in
// through acompanhar_evento, where the main window hands over every event of
// its entry field.
#include "tape/campo_valor.h"
#include "tape/teclado.h"
#include "tests/apoio/nome_teste.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using quarvel::tape::CampoValor;
using quarvel::tape::Teclado;

namespace {

bool pintado_de_vermelho(QPushButton* b) {
    const QImage img = b->grab().toImage();
    const QColor c = img.pixelColor(4, img.height() / 2);
    return c.red() > 170 && c.green() < 60 && c.blue() < 60;
}

TEST(TecladoGrade, OcupaOBlocoComLinhasDe31) {
    Teclado t;
    EXPECT_EQ(t.size(), QSize(189, 127));
    for (int n = 1; n <= 18; ++n) {
        QPushButton* b = t.botao(n);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->objectName(), QString("b%1").arg(n, 2, 10, QChar('0')));
        EXPECT_EQ(b->height(), 31);
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(t.rect().contains(b->geometry())) << n;
    }
    // 0 spans the three digit columns of the bottom row.
    EXPECT_EQ(t.botao(1)->x(), t.botao(4)->x());
    EXPECT_EQ(t.botao(1)->geometry().right(), t.botao(6)->geometry().right());
    EXPECT_EQ(t.botao(1)->geometry().bottom(), 126);
    EXPECT_EQ(t.botao(18)->geometry().right(), 188);
    EXPECT_EQ(t.botao(14)->y(), 0);
}

TEST(TecladoBotoes, CadaBotaoEmiteSeuCaractere) {
    Teclado t;
    const std::pair<int, char> esperado[] = {{1, '0'},  {2, ','},  {4, '1'},  {5, '2'},  {6, '3'},
                                             {7, '-'},  {8, ')'},  {9, '4'},  {10, '5'}, {11, '6'},
                                             {12, '+'}, {13, '('}, {14, '7'}, {15, '8'}, {16, '9'},
                                             {17, '*'}, {18, '/'}};
    for (auto [n, c] : esperado) {
        QSignalSpy espiao(&t, &Teclado::caractere);
        QTest::mouseClick(t.botao(n), Qt::LeftButton);
        ASSERT_EQ(espiao.count(), 1) << n;
        EXPECT_EQ(espiao.at(0).at(0).value<QChar>(), QChar(c)) << n;
    }
    EXPECT_EQ(t.botao(17)->text(), QString::fromUtf8("×"));
}

TEST(TecladoBotoes, B03Adiciona) {
    Teclado t;
    QSignalSpy adicionar(&t, &Teclado::adicionar);
    QSignalSpy caractere(&t, &Teclado::caractere);
    QTest::mouseClick(t.botao(3), Qt::LeftButton);
    EXPECT_EQ(adicionar.count(), 1);
    EXPECT_EQ(caractere.count(), 0);
}

TEST(TecladoBotoes, CliqueNaoTiraOFocoDoCampo) {
    QWidget janela;
    auto* campo = new CampoValor(&janela);
    auto* t = new Teclado(&janela);
    t->move(0, 40);
    janela.show();
    campo->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QTest::mouseClick(t->botao(5), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), campo);
}

struct Tecla {
    Qt::Key tecla;
    Qt::KeyboardModifiers mods;
    int botao; // 0 = none lights
};

// Shift_9_b13: the modifiers, the key and the button that lights.
std::string nome(const Tecla& t) {
    std::string s;
    if (t.mods & Qt::ShiftModifier) s += "Shift_";
    if (t.mods & Qt::ControlModifier) s += "Ctrl_";
    if (t.mods & Qt::KeypadModifier) s += "Num_";
    s += quarvel::testes::nome_de_texto(
        QKeySequence(t.tecla).toString(QKeySequence::PortableText).toStdString());
    s += t.botao ? "_b" + std::string(t.botao < 10 ? "0" : "") + std::to_string(t.botao)
                 : std::string("_nenhum");
    return s;
}

void PrintTo(const Tecla& t, std::ostream* os) {
    *os << nome(t);
}

class TecladoLuz : public ::testing::TestWithParam<Tecla> {};

// A key event as QTest would deliver it to the entry field.
QKeyEvent evento(QEvent::Type tipo, Qt::Key tecla, Qt::KeyboardModifiers mods) {
    return QKeyEvent(tipo, tecla, mods);
}

TEST_P(TecladoLuz, AcendeEnquantoATeclaEstaPressionada) {
    const Tecla p = GetParam();
    Teclado t;
    t.acompanhar_evento(evento(QEvent::KeyPress, p.tecla, p.mods));
    for (int n = 1; n <= 18; ++n)
        EXPECT_EQ(t.aceso(n), n == p.botao) << "key " << p.tecla << " button " << n;
    if (p.botao) {
        EXPECT_TRUE(pintado_de_vermelho(t.botao(p.botao)));
    }
    t.acompanhar_evento(evento(QEvent::KeyRelease, p.tecla, p.mods));
    for (int n = 1; n <= 18; ++n)
        EXPECT_FALSE(t.aceso(n)) << n;
    if (p.botao) {
        EXPECT_FALSE(pintado_de_vermelho(t.botao(p.botao)));
    }
}

const auto kNada = Qt::NoModifier;
const auto kShift = Qt::ShiftModifier;
const auto kNum = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    TabelaDeTeclas, TecladoLuz,
    ::testing::Values(
        Tecla{Qt::Key_0, kNada, 1}, Tecla{Qt::Key_1, kNada, 4}, Tecla{Qt::Key_2, kNada, 5},
        Tecla{Qt::Key_3, kNada, 6}, Tecla{Qt::Key_4, kNada, 9}, Tecla{Qt::Key_5, kNada, 10},
        Tecla{Qt::Key_6, kNada, 11}, Tecla{Qt::Key_7, kNada, 14}, Tecla{Qt::Key_8, kNada, 15},
        Tecla{Qt::Key_9, kNada, 16},
        // 1 to 7 light with any modifiers; 8, 9, 0 only without Shift.
        Tecla{Qt::Key_1, kShift, 4}, Tecla{Qt::Key_7, Qt::ControlModifier, 14},
        Tecla{Qt::Key_8, kShift, 0}, Tecla{Qt::Key_9, kShift, 13}, Tecla{Qt::Key_0, kShift, 8},
        Tecla{Qt::Key_9, kShift | Qt::ControlModifier, 16}, Tecla{Qt::Key_ParenLeft, kShift, 13},
        Tecla{Qt::Key_ParenRight, kShift, 8}, Tecla{Qt::Key_ParenLeft, kNada, 0},
        // Numeric keypad.
        Tecla{Qt::Key_0, kNum, 1}, Tecla{Qt::Key_1, kNum, 4}, Tecla{Qt::Key_5, kNum, 10},
        Tecla{Qt::Key_9, kNum, 16}, Tecla{Qt::Key_Plus, kNum, 12}, Tecla{Qt::Key_Minus, kNum, 7},
        Tecla{Qt::Key_Asterisk, kNum, 17}, Tecla{Qt::Key_Slash, kNum, 18},
        Tecla{Qt::Key_Comma, kNum, 2}, Tecla{Qt::Key_Period, kNum, 2},
        // Enter from either keyboard.
        Tecla{Qt::Key_Return, kNada, 3}, Tecla{Qt::Key_Enter, kNum, 3},
        // Main-keyboard operators have no counterpart.
        Tecla{Qt::Key_Plus, kShift, 0}, Tecla{Qt::Key_Minus, kNada, 0},
        Tecla{Qt::Key_Comma, kNada, 0}, Tecla{Qt::Key_A, kNada, 0}),
    [](const auto& caso) { return nome(caso.param); });

TEST(TecladoLuzSoltura, ShiftSoltoAntesApagaOMesmoBotao) {
    Teclado t;
    t.acompanhar_evento(evento(QEvent::KeyPress, Qt::Key_ParenLeft, kShift));
    ASSERT_TRUE(t.aceso(13));
    t.acompanhar_evento(evento(QEvent::KeyRelease, Qt::Key_ParenLeft, kNada));
    EXPECT_FALSE(t.aceso(13));
    EXPECT_FALSE(t.aceso(16));
}

TEST(TecladoLuzSoltura, RepeticaoAutomaticaNaoApaga) {
    Teclado t;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QKeyEvent repeticao(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5", true);
    QKeyEvent solta(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5");
    t.tecla_pressionada(press);
    t.tecla_solta(repeticao);
    EXPECT_TRUE(t.aceso(10));
    t.tecla_solta(solta);
    EXPECT_FALSE(t.aceso(10));
}

TEST(TecladoLuzSoltura, DuasTeclasDoMesmoBotao) {
    // The main 5 and the keypad 5 light the same button: it stays lit until
    // both are up. Scan codes tell the two keys apart.
    Teclado t;
    QKeyEvent principal(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, 14, 0, 0, "5");
    QKeyEvent numerico(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier, 84, 0, 0, "5");
    QKeyEvent soltaPrincipal(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, 14, 0, 0, "5");
    QKeyEvent soltaNumerico(QEvent::KeyRelease, Qt::Key_5, Qt::KeypadModifier, 84, 0, 0, "5");
    t.tecla_pressionada(principal);
    t.tecla_pressionada(numerico);
    t.tecla_solta(soltaPrincipal);
    EXPECT_TRUE(t.aceso(10));
    t.tecla_solta(soltaNumerico);
    EXPECT_FALSE(t.aceso(10));
}

TEST(TecladoLuzSoltura, SolturaRelatadaComoOutraTeclaApagaOBotao) {
    // The keypad's decimal key held, NumLock changed meanwhile: its key-up
    // comes back as the keypad's Delete.
    Teclado t;
    t.acompanhar_evento(evento(QEvent::KeyPress, Qt::Key_Comma, kNum));
    ASSERT_TRUE(t.aceso(2));
    t.acompanhar_evento(evento(QEvent::KeyRelease, Qt::Key_Delete, kNum));
    EXPECT_FALSE(t.aceso(2));
    EXPECT_FALSE(pintado_de_vermelho(t.botao(2)));
}

TEST(TecladoLuzSoltura, SoltarSoOShiftMantemOParentesesAceso) {
    Teclado t;
    t.acompanhar_evento(evento(QEvent::KeyPress, Qt::Key_ParenLeft, kShift));
    ASSERT_TRUE(t.aceso(13));
    t.acompanhar_evento(evento(QEvent::KeyRelease, Qt::Key_Shift, kNada));
    EXPECT_TRUE(t.aceso(13)); // the 9 is still down
}

TEST(TecladoLuzSoltura, PerderOFocoApagaTudo) {
    Teclado t;
    t.acompanhar_evento(evento(QEvent::KeyPress, Qt::Key_3, kNada));
    t.acompanhar_evento(evento(QEvent::KeyPress, Qt::Key_Return, kNada));
    ASSERT_TRUE(t.aceso(6));
    ASSERT_TRUE(t.aceso(3));
    // The key-ups will go to whichever control has the focus now.
    t.acompanhar_evento(QFocusEvent(QEvent::FocusOut, Qt::MouseFocusReason));
    EXPECT_FALSE(t.aceso(6));
    EXPECT_FALSE(t.aceso(3));
    EXPECT_FALSE(pintado_de_vermelho(t.botao(6)));
    // A later key-up of either changes nothing.
    t.acompanhar_evento(evento(QEvent::KeyRelease, Qt::Key_3, kNada));
    EXPECT_FALSE(t.aceso(6));
}

} // namespace
