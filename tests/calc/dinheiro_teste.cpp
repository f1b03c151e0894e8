#include "calc/dinheiro.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace quarvel::calc;

namespace {

// The tape line as the tape derives it: the money mask of the raw value read
// back strictly.
std::string linha_de(const std::string& bruto) {
    return mascara_dinheiro(ler_estrito_ou_erro(bruto));
}

struct Forma {
    double valor;
    const char* bruto;
    const char* linha;
};

TEST(FormasNumero, BrutoELinhaDeCadaValor) {
    const Forma casos[] = {
        {1234.5, "1234,5", "1.234,50"},
        {6170, "6170", "6.170,00"},
        {0.1, "0,1", "0,10"},
        {0, "0", "0,00"},
        {-0.5, "-0,5", "-0,50"},
        {1234567.891, "1234567,891", "1.234.567,89"},
        {10.0 / 3.0, "3,33333333333333", "3,33"},
        {2.675, "2,675", "2,68"},
        {-0.125, "-0,125", "-0,13"},
        {0.00005, "5E-5", "0,00"},
        {1.5E15, "1,5E15", "1.500.000.000.000.000,00"},
        {1E20, "1E20", "1E20"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.bruto);
        EXPECT_EQ(valor_bruto(c.valor), c.bruto);
        EXPECT_EQ(linha_de(c.bruto), c.linha);
    }
}

TEST(FormasNumero, BrutoCortaEmQuinzeDigitos) {
    const std::pair<long double, const char*> casos[] = {
        {-0.0L, "0"},
        {0.999999999999999999L, "1"}, // the carry runs through every digit
        {999999999999999.9L, "1E15"}, // and into the exponent form
        {999999999999999.0L, "999999999999999"},
        {1e15L, "1E15"},
        {0.0001L, "0,0001"},
        {0.00009L, "9E-5"},
        {-1.23e-7L, "-1,23E-7"},
        {123456789012345678.0L, "1,23456789012346E17"},
        {1.0000000000000049L, "1"},                // 16th digit below 5: cut
        {1.0000000000000051L, "1,00000000000001"}, // 16th digit 5: up
        // The 18-digit expansion rounds first: ...4999999 becomes ...500 there.
        {1.000000000000004999999L, "1,00000000000001"},
        {-2.5L, "-2,5"},
        {100.0L, "100"},
        {1e-300L, "1E-300"},
    };
    for (const auto& [valor, esperado] : casos) {
        SCOPED_TRACE(esperado);
        EXPECT_EQ(valor_bruto(valor), esperado);
    }
}

TEST(FormasNumero, MascaraArredondaNoSegundoDecimal) {
    const std::pair<long double, const char*> casos[] = {
        {-0.001L, "0,00"}, // no sign on a zero
        {-0.004999L, "0,00"},
        {-0.005L, "-0,01"},
        {0.005L, "0,01"},
        {0.0049L, "0,00"},
        {0.0005L, "0,00"},
        {999.995L, "1.000,00"},
        {-999999.999L, "-1.000.000,00"},
        {123456789012345678.0L, "123.456.789.012.345.678,00"}, // 18 integer digits
        {1e18L, "1E18"},                                       // 19: general form
        {-1.5e19L, "-1,5E19"},
        {12.0L, "12,00"},
        {1000.0L, "1.000,00"},
        {100000.0L, "100.000,00"},
    };
    for (const auto& [valor, esperado] : casos) {
        SCOPED_TRACE(esperado);
        EXPECT_EQ(mascara_dinheiro(valor), esperado);
    }
}

TEST(FormasNumero, LinhaDaFitaLeEmPrecisaoEstendidaETotalEmDouble) {
    // The tape line comes from the extended reading of "2,675", the total from
    // the nearest double, which lies just below 2.675.
    EXPECT_EQ(linha_de("2,675"), "2,68");
    const double total = somar_brutos({"2,675"});
    EXPECT_EQ(total, 2.675);
    EXPECT_EQ(mascara_dinheiro(total), "2,67");
}

TEST(FormasNumero, NaoFinitosNuncaPassamPorValor) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_EQ(valor_bruto(inf), "INF");
    EXPECT_EQ(valor_bruto(-inf), "-INF");
    EXPECT_EQ(valor_bruto(nan), "NAN");
    EXPECT_EQ(mascara_dinheiro(-inf), "-INF");
    for (const char* t : {"INF", "-INF", "NAN"})
        EXPECT_FALSE(ler_estrito(t).has_value()) << t;
}

TEST(LeituraEstrita, AceitaAGramatica) {
    const std::pair<const char*, long double> casos[] = {
        {"0", 0.0L},         {"  12,5  ", 12.5L},   {"+3", 3.0L},        {"-3", -3.0L},
        {",5", 0.5L},        {"5,", 5.0L},          {",", 0.0L},         {"-,", -0.0L},
        {"1E5", 1e5L},       {"1e-5", 1e-5L},       {"1,5E+3", 1500.0L}, {"-,5e1", -5.0L},
        {"007", 7.0L},       {"1234,56", 1234.56L}, {"5E-5", 5e-5L},     {"1E-5000", 0.0L},
        {"1,5E15", 1.5e15L},
    };
    for (const auto& [texto, esperado] : casos) {
        SCOPED_TRACE(texto);
        const auto v = ler_estrito(texto);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, esperado);
    }
}

TEST(LeituraEstrita, RecusaOQueForaDaGramatica) {
    const char* casos[] = {"",     " ",     "+",   "-",       "E5",  "+E5",   "1E",  "1E+", "1e-",
                           "1.5",  "1.234", "1 2", "\t1",     "1\t", "1,2,3", "--1", "+-1", "0x10",
                           "1E5,", "1,5e",  "abc", "1E99999", "12a", "1E1,5", "- 1", "1e 5"};
    for (const char* t : casos) {
        EXPECT_FALSE(ler_estrito(t).has_value()) << "'" << t << "'";
        EXPECT_THROW(ler_estrito_ou_erro(t), ErroConversao) << "'" << t << "'";
    }
}

TEST(LeituraEstrita, AcumulaEmPrecisaoEstendida) {
    EXPECT_EQ(*ler_estrito("2,675"), 2675.0L / 1000.0L);
    EXPECT_EQ(*ler_estrito("3,33333333333333"), 333333333333333.0L / 1e14L);
    EXPECT_EQ(*ler_estrito("0,1"), 1.0L / 10.0L);
    EXPECT_NE(*ler_estrito("0,1"), static_cast<long double>(0.1));
    // Nineteen digits are still exact in the 64-bit mantissa.
    EXPECT_EQ(*ler_estrito("9999999999999999999"), 9999999999999999999.0L);
    // Past that every further digit is one more extended multiply-add.
    const char* longo = "12345678901234567890123";
    long double esperado = 0.0L;
    for (const char* p = longo; *p; ++p)
        esperado = esperado * 10.0L + (*p - '0');
    EXPECT_EQ(*ler_estrito(longo), esperado);
}

// Plain texts take a quicker road than texts with blanks or an exponent; both
// must give the same number.
TEST(LeituraEstrita, MesmoValorComBrancosOuExpoente) {
    std::vector<std::string> textos = {"0",
                                       "-0",
                                       ",",
                                       "1234,56",
                                       "-0,125",
                                       "0,00012345",
                                       "999999999999999",
                                       "1234567890123456789",
                                       "0,1234567890123456789",
                                       "12345678901234567890",
                                       "+5,"};
    std::mt19937_64 gerador(20240607);
    for (int i = 0; i < 2000; ++i) {
        const double escala = std::pow(10.0, static_cast<int>(gerador() % 20) - 6);
        const double v = std::uniform_real_distribution<double>(-1.0, 1.0)(gerador) * escala;
        textos.push_back(valor_bruto(v));
    }
    for (const auto& t : textos) {
        SCOPED_TRACE(t);
        const auto v = ler_estrito(t);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(ler_estrito("  " + t + " "), v);
        if (t.find('E') == std::string::npos) {
            EXPECT_EQ(ler_estrito(t + "E0"), v);
            EXPECT_EQ(ler_estrito(t + "e+00"), v);
        }
    }
}

TEST(LeituraEstrita, MensagemDoErro) {
    try {
        ler_estrito_ou_erro("1.234");
        FAIL();
    } catch (const ErroConversao& e) {
        EXPECT_STREQ(e.what(), "'1.234' is not a valid floating point value");
    }
}

TEST(ExtrairValor, GuardaDigitosUltimaVirgulaESinalInicial) {
    const std::pair<const char*, long double> casos[] = {
        {"1.234,56", 1234.56L}, {"-1.234", -1234.0L}, {"12-3", 123.0L},
        {"1,2,3", 12.3L},       {",", 0.0L},          {"R$ 1.234,56", 1234.56L},
        {"+7", 7.0L},           {" -5", 5.0L},        {"1E5", 15.0L},
        {"a,b", 0.0L},
    };
    for (const auto& [texto, esperado] : casos) {
        SCOPED_TRACE(texto);
        const auto v = extrair_valor(texto);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, esperado);
    }
}

// Longer texts than the reading's stack buffer keep the same rule.
TEST(ExtrairValor, TextoLongoLeOsMesmosDigitos) {
    const std::string digitos(70, '7');
    const std::string texto = "R$ " + digitos.substr(0, 40) + ".x." + digitos.substr(40) + ",5";
    ASSERT_GT(texto.size(), 64u);
    EXPECT_EQ(extrair_valor(texto), ler_estrito(digitos + ",5"));
    EXPECT_EQ(extrair_valor("-" + texto), ler_estrito("-" + digitos + ",5"));
}

TEST(FormasNumero, MascaraCompletaEscreveTodosOsDigitos) {
    const std::pair<const char*, const char*> casos[] = {
        {"1E20", "100.000.000.000.000.000.000,00"},
        {"-1,5E19", "-15.000.000.000.000.000.000,00"},
        {"123456789012345678", "123.456.789.012.345.678,00"},
        {"10000000000000000,5", "10.000.000.000.000.000,50"},
        {"9999999999999999,995", "10.000.000.000.000.000,00"},
        {"0,005", "0,01"},
        {"-0,004", "0,00"},
        {"0,1", "0,10"},
        {"7", "7,00"},
    };
    for (const auto& [bruto, esperado] : casos) {
        SCOPED_TRACE(bruto);
        EXPECT_EQ(mascara_completa(ler_estrito_ou_erro(bruto)), esperado);
    }
}

TEST(ExtrairValor, VazioQuandoNadaSeLe) {
    for (const char* t : {"", "abcd", "-", "+", "   ", "R$ .", "--"})
        EXPECT_FALSE(extrair_valor(t).has_value()) << "'" << t << "'";
}

} // namespace
