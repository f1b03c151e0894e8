// Where a malformed expression went wrong, counted in the text as typed,
// and the message the window and the command line both show for it.
#include "tape/mensagens.h"
#include "tape/regra_entrada.h"

#include <gtest/gtest.h>

using namespace quarvel::tape;

namespace {

TEST(PosicaoDigitada, ContaOsPontosDeMilharQueOAvaliadorNaoViu) {
    struct Caso {
        const char* digitado;
        int posicao; // in the text as typed
    };
    const Caso casos[] = {
        {"2*-3", 3},         {"5+1/0", 6}, {"12*", 4}, // past the end: the expression was cut short
        {"1.234*-3", 7},                               // one point before the error
        {"1.234.567*-", 11},                           // two points
        {"1.234,5+*2", 9},   {"12*)", 4},  {"(1.000+", 8},
    };
    for (const Caso& c : casos) {
        const Conversao conv = converter_entrada(c.digitado);
        ASSERT_TRUE(entrada_recusada(c.digitado, conv)) << c.digitado;
        EXPECT_EQ(posicao_digitada(c.digitado, conv.posicao_erro), c.posicao) << c.digitado;
    }
}

TEST(PosicaoDigitada, ContaCaracteresENaoBytes) {
    // "é" is two bytes in UTF-8 but one character on screen.
    EXPECT_EQ(posicao_digitada("é*", 1), 1);
    EXPECT_EQ(posicao_digitada("é*", 2), 1); // the second byte is still the "é"
    EXPECT_EQ(posicao_digitada("é*", 3), 2);
    EXPECT_EQ(posicao_digitada("1.é", 3), 3);
}

TEST(PosicaoDigitada, AlemDoFimContaDepoisDoUltimoCaractere) {
    EXPECT_EQ(posicao_digitada("", 1), 1);
    EXPECT_EQ(posicao_digitada("1.2", 3), 4);
    EXPECT_EQ(posicao_digitada("1.2", 4), 5);
}

TEST(ExpressaoInvalida, MensagemComOTextoComoDigitado) {
    EXPECT_EQ(expressao_invalida("1.234*-3", 6), "Expressão inválida: 1.234*-3 (posição 7)");
    EXPECT_EQ(expressao_invalida("12*", 4), "Expressão inválida: 12* (posição 4)");
    // Braces and percent signs are the user's text, not placeholders.
    EXPECT_EQ(expressao_invalida("%1{", 1), "Expressão inválida: %1{ (posição 1)");
}

} // namespace
