#include "calc/infix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using quarvel::calc::evaluate_expression;
using quarvel::calc::kProfundidadeMaxima;

namespace {

struct Caso {
    std::string texto;
    double valor;
    int posicao;
};

void verificar(const std::vector<Caso>& casos) {
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        const auto r = evaluate_expression(c.texto);
        EXPECT_EQ(r.posicao_erro, c.posicao);
        if (c.valor == 0.0) {
            EXPECT_EQ(r.valor, 0.0);
        } else {
            EXPECT_NEAR(r.valor, c.valor, std::fabs(c.valor) * 1e-15);
        }
    }
}

const double kPi = 3.14159265358979323846;

std::string repetir(const std::string& s, int n) {
    std::string r;
    r.reserve(s.size() * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

} // namespace

TEST(Infix, PartialValueAndPositionAtFirstError) {
    verificar({
        {"2+", 2, 3},
        {"5+1/0", 5, 6},
        {"1/0+5", 0, 4},
        {"(2+3", 5, 5},
        {"2*-3", 2, 3},
        {"5.", 5, 3},
        {"1e38", 1, 5},
        {"5*(1e37+1e37)", 5, 13},
        {"", 0, 1},
        {"   ", 0, 4},
        {"-", 0, 2},
        {"2*", 2, 3},
        {"(", 0, 2},
        {"2--3", 2, 3},
        {"(2+3 x", 5, 6},
        // the sign is not applied to a first term that failed
        {"-(2+3", 5, 6},
        {"-3*", 3, 4},
    });
}

TEST(Infix, ArithmeticAndPrecedence) {
    verificar({
        {"12*50", 600, 0},
        {"2+3*4", 14, 0},
        {"(2+3)*4", 20, 0},
        {"10/4", 2.5, 0},
        {"2 * 3", 6, 0},
        {"- 5", -5, 0},
        {"+5", 5, 0},
        {"-2*3", -6, 0},
        {"-2+3", 1, 0},
        {"2*(-3)", -6, 0},
        {"8-2-1", 5, 0},
        {"64/4/2", 8, 0},
        {"  ( 2 + 3 ) * 4  ", 20, 0},
        {"0/5", 0, 0},
        {"1234.56", 1234.56, 0},
    });
}

TEST(Infix, TrailingTextAndBlanks) {
    verificar({
        {"2+3)", 5, 4},
        {"1 000", 1, 3},
        {"12.5x", 12.5, 5},
        {"2PI", 2, 2},
        {"2 ", 2, 0},
        // a tab is not a blank
        {"2\t", 2, 2},
        {"\t2", 0, 1},
        {"2\t+3", 2, 2},
    });
}

TEST(Infix, NumberReading) {
    verificar({
        {".5", 0, 1},
        {"5.x", 5, 3},
        {"2.5e3", 2500, 0},
        {"1.5E-2", 0.015, 0},
        {"2e+2", 200, 0},
        {"1e37", 1e37, 0},
        {"1e0037", 1e37, 0},
        {"10e37", 10, 6},
        {"0.1e-37", 0, 0},
        {"1e-37", 1e-37, 0},
        {"1e-38", 1, 6},
        {"0e38", 0, 5},
        {"0.0e37", 0, 0},
        {"1e", 1, 3},
        {"1.5e", 1.5, 5},
        {"1e+", 1, 4},
        {"1e-", 1, 4},
        {"1ex", 1, 3},
        {"1e+x", 1, 4},
        {"1e 2", 1, 3},
        {"0000000000000000000000000000000000000000000012", 12, 0},
        {"0." + std::string(40, '0') + "1", 0, 0},
    });
}

TEST(Infix, DigitLimitBoundaries) {
    const std::string nove37(37, '9');
    const double v37 = evaluate_expression(nove37).valor;
    verificar({
        {"1234567890123456789012345678901234567", 1234567890123456789012345678901234567.0, 0},
        {nove37, 1e37, 0},
        // the 38th digit is refused once the value read is above 10^36
        {nove37 + "9", v37, 38},
        {"2" + std::string(37, '0'), 2e36, 38},
        // ...but 10^36 itself may take one more digit
        {"1" + std::string(37, '0'), 1e37, 0},
        {"1" + std::string(36, '0') + "5", 1e37, 0},
        {"1" + std::string(38, '0'), 1e37, 39},
        // the exponent reads digits under the same limit
        {"1e" + std::string(38, '9'), 1, 40},
        {"1e" + std::string(37, '9'), 1, 40},
    });
}

TEST(Infix, Functions) {
    verificar({
        {"sqrt(16)", 4, 0},    {"SQRT(16)", 4, 0},   {"Sqrt ( 16 )", 4, 0},
        {"SQRT 16", 0, 6},     {"PI", kPi, 0},       {"pi*2", 2 * kPi, 0},
        {"PI ", kPi, 0},       {"PI()", 0, 4},       {"PI(1)", 0, 6},
        {"ABS(-5)", 5, 0},     {"aBs( -5 )", 5, 0},  {"ABS()", 0, 5},
        {"ABS(1,2)", 0, 9},    {"ABS(2, 3)", 0, 10}, {"ABS(2 3)", 0, 7},
        {"ABS(2,", 0, 7},      {"ABS(2", 0, 6},      {"ABS(", 0, 5},
        {"ABS2", 0, 4},        {"foo(1)", 0, 7},     {"foo", 0, 4},
        {"SQ(4)", 0, 6},       {"SQRTX(4)", 0, 9},   {"ARCTAN(1)*4", kPi, 0},
        {"COS(0)", 1, 0},      {"SIN(0)", 0, 0},     {"SIN(1e19)", 0, 0},
        {"COS(1e19)", 0, 0},   {"EXP(0)", 1, 0},     {"LN(1)", 0, 0},
        {"SQR(-3)", 9, 0},     {"SQR(0)", 0, 0},     {"SQRT(SQR(3)+SQR(4))", 5, 0},
        {"2*ABS(-3)+1", 7, 0}, {"10+ABS(2", 10, 9},
    });
}

TEST(Infix, FunctionErrors) {
    verificar({
        {"LN(0)", 0, 6},
        {"LN(-1)", 0, 7},
        {"SQRT(-1)", 0, 9},
        {"EXP(100)", 0, 9},
        {"SQR(1e20)", 0, 10},
        {"EXP(-100)", 0, 0},
        {"3+LN(0)", 3, 8},
    });
}

TEST(Infix, FunctionMagnitudeBoundaries) {
    verificar({
        {"EXP(85)", std::exp(85.0), 0},
        {"EXP(86)", 0, 8},
        {"EXP(-85)", std::exp(-85.0), 0},
        {"EXP(-86)", 0, 0},
        {"SQR(3e18)", 9e36, 0},
        {"SQR(4e18)", 0, 10},
        {"SQR(1e-18)", 1e-36, 0},
        {"SQR(1e-19)", 0, 0},
    });
}

TEST(Infix, GuardedOperations) {
    verificar({
        {"1e37+1e37", 0, 10},
        {"-1e37-1e37", 0, 11},
        {"3-1e37", -1e37, 0},
        {"5e36+5e36", 1e37, 0},
        {"-5e36-5e36", -1e37, 0},
        {"5e36-(-6e36)", 0, 13},
        {"-5e36+(-6e36)", 0, 14},
        {"10/0", 0, 5},
        {"0/0", 0, 4},
        {"1/0*2", 0, 4},
        {"1e20*1e17", 1e37, 0},
        {"1e20*1e18", 0, 10},
        {"-1e20*1e18", 0, 11},
        {"1e-20*1e-17", 1e-37, 0},
        {"1e-20*1e-18", 0, 0},
        {"0*1e37", 0, 0},
        {"1e36/0.1", 1e37, 0},
        {"1e37/0.1", 0, 9},
        {"1e-37/10", 0, 0},
        {"2+1e37*10", 2, 10},
    });
}

TEST(Infix, LongTextsAreEvaluatedWhole) {
    const int n = 100000;
    std::string soma = "1" + repetir("+1", n - 1);
    auto r = evaluate_expression(soma);
    EXPECT_EQ(r.posicao_erro, 0);
    EXPECT_EQ(r.valor, n);

    // error positions past 255 are not cut to a byte
    r = evaluate_expression(std::string(300, ' ') + "#");
    EXPECT_EQ(r.posicao_erro, 301);
    r = evaluate_expression(repetir("1+", 200));
    EXPECT_EQ(r.posicao_erro, 401);
    EXPECT_EQ(r.valor, 200);
}

TEST(Infix, NestingIsBounded) {
    const int k = kProfundidadeMaxima;
    auto r = evaluate_expression(repetir("(", k) + "7" + repetir(")", k));
    EXPECT_EQ(r.posicao_erro, 0);
    EXPECT_EQ(r.valor, 7);

    r = evaluate_expression(repetir("(", k + 1) + "7" + repetir(")", k + 1));
    EXPECT_EQ(r.posicao_erro, k + 2);
    EXPECT_EQ(r.valor, 0);

    r = evaluate_expression(repetir("ABS(", k) + "-7" + repetir(")", k));
    EXPECT_EQ(r.posicao_erro, 0);
    EXPECT_EQ(r.valor, 7);

    r = evaluate_expression(repetir("ABS(", k + 1) + "-7" + repetir(")", k + 1));
    EXPECT_EQ(r.posicao_erro, 4 * (k + 1) + 1);
    EXPECT_EQ(r.valor, 0);

    // sequential groups do not add up
    r = evaluate_expression(repetir("(1)+", 1000) + "0");
    EXPECT_EQ(r.posicao_erro, 0);
    EXPECT_EQ(r.valor, 1000);

    r = evaluate_expression(std::string(200000, '('));
    EXPECT_EQ(r.posicao_erro, k + 2);
    EXPECT_EQ(r.valor, 0);
}

TEST(Infix, CallsDoNotShareState) {
    EXPECT_EQ(evaluate_expression("1/0").posicao_erro, 4);
    const auto r = evaluate_expression("2+2");
    EXPECT_EQ(r.posicao_erro, 0);
    EXPECT_EQ(r.valor, 4);
    // a view that is not terminated where it ends
    const std::string texto = "12*50+99";
    const auto p = evaluate_expression(std::string_view(texto).substr(0, 5));
    EXPECT_EQ(p.posicao_erro, 0);
    EXPECT_EQ(p.valor, 600);
}
