#include "tape/regra_entrada.h"

#include "calc/dinheiro.h"
#include "tape/fita.h"

#include <gtest/gtest.h>

#include <string>

using namespace quarvel::tape;
using quarvel::calc::mascara_dinheiro;

namespace {

// The field as the user drives it: every key goes through the filter, then
// the rule runs on the change and again on its own change until it settles.
std::string digitar(const std::u32string& teclas, std::string texto = "") {
    for (char32_t tecla : teclas) {
        const auto c = filtrar_caractere(tecla);
        if (!c) continue;
        if (*c == 8) {
            if (!texto.empty()) texto.pop_back();
        } else if (*c >= U'(' && *c <= U'9') {
            texto.push_back(static_cast<char>(*c));
        } else {
            continue; // Enter and Escape do not change the text
        }
        for (int passes = 0; passes < 5; ++passes) {
            const auto novo = reagrupar(texto);
            if (!novo) break;
            texto = *novo;
        }
    }
    return texto;
}

TEST(FiltroDeCaracteres, AceitaDeParentesesANoveEControles) {
    const std::u32string aceitos = U"()*+,-/0123456789";
    for (char32_t c = 0; c < 256; ++c) {
        const auto r = filtrar_caractere(c);
        if (c == 8 || c == 13 || c == 27 || c == 127 || aceitos.find(c) != std::u32string::npos) {
            ASSERT_TRUE(r.has_value()) << static_cast<int>(c);
            EXPECT_EQ(*r, c);
        } else if (c == U'.') {
            ASSERT_TRUE(r.has_value());
            EXPECT_EQ(*r, U','); // the "." key types the decimal comma
        } else {
            EXPECT_FALSE(r.has_value()) << static_cast<int>(c);
        }
    }
    EXPECT_FALSE(filtrar_caractere(U'€').has_value());
    EXPECT_FALSE(filtrar_caractere(U'٣').has_value()); // a digit of another script
}

TEST(ContarOcorrencias, SoNosPrimeiros255Caracteres) {
    EXPECT_EQ(contar_ocorrencias(',', "1,2,3"), 2);
    EXPECT_EQ(contar_ocorrencias(',', ""), 0);
    EXPECT_EQ(contar_ocorrencias(',', std::string(300, ',')), 255);
    // Counted in characters: 254 two-byte characters and the comma is the 255th.
    std::string texto;
    for (int i = 0; i < 254; ++i)
        texto += "é";
    EXPECT_EQ(contar_ocorrencias(',', texto + ","), 1);
    EXPECT_EQ(contar_ocorrencias(',', texto + "é,"), 0);
}

TEST(Reagrupar, TeclasDigitadas) {
    const std::pair<std::u32string, std::string> casos[] = {
        {U"123", "123"},
        {U"1234", "1.234"},
        {U"1234567", "1.234.567"},
        {U"1234,56", "1.234,56"},
        {U"1234.56", "1.234,56"},
        {U"1234,5,", ""},
        {U"0000", ""},
        {U"00012", "12"},
        {U"1234*2", "1.234*2"},
        {U"-1234", "-1234"},
        {U"xyz", ""},
    };
    for (const auto& [teclas, esperado] : casos) {
        SCOPED_TRACE(esperado);
        EXPECT_EQ(digitar(teclas), esperado);
    }
}

TEST(Reagrupar, ApagarEInserirNoMeioReagrupam) {
    EXPECT_EQ(digitar(U"\b", "12.345"), "1.234");
    EXPECT_EQ(reagrupar("1.2534"), "12.534");
    EXPECT_EQ(reagrupar("12.345.6"), "123.456");
}

TEST(Reagrupar, DeixaComoEsta) {
    for (const char* t : {"", "1", "12", "123", "1.234", "12.345.678", "1234,5", "(12345", "12345)",
                          "1/2345", "+1234", "1,23456789012346E19", "abcd", "R$ xyz"})
        EXPECT_FALSE(reagrupar(t).has_value()) << "'" << t << "'";
}

TEST(Reagrupar, EscreveOCampoTambemQuandoOTextoJaEstaAgrupado) {
    // The grouped number it leaves as it is still counts as written (the
    // cursor goes to the end); decimals, expressions and short texts do not.
    for (const char* t : {"1.234", "15.234", "12.345.678", "1234", "1,2,3"})
        EXPECT_TRUE(regra_escreve(t)) << "'" << t << "'";
    for (const char* t : {"", "123", "1234,5", "1*234", "-1234", "1,23456789012346E19", "abcd"})
        EXPECT_FALSE(regra_escreve(t)) << "'" << t << "'";
}

TEST(Reagrupar, ComprimentoEmCaracteresNaoEmBytes) {
    // Three characters, five bytes: too short to regroup.
    EXPECT_FALSE(reagrupar("1éé").has_value());
    EXPECT_EQ(reagrupar("1é23"), "123");
}

TEST(Reagrupar, ColadosEValoresLongos) {
    EXPECT_EQ(reagrupar("1,2,34"), "");
    EXPECT_EQ(reagrupar("R$ 12 345"), "12.345");
    EXPECT_EQ(reagrupar("999999999999999999"), "999.999.999.999.999.999");
    // More than 18 digits: the general form, which holds one "," and stays.
    EXPECT_EQ(reagrupar("12345678901234567890"), "1,23456789012346E19");
    EXPECT_EQ(digitar(U"1234567890123456789"), "1,23456789012346E18");
}

// Whatever the rule writes, it leaves alone on the change it has just made:
// a general form without "," (1E20) must not be read for its digits (120).
TEST(Reagrupar, AssentaNumaPassada) {
    const std::string virgula_alem_de_255 = "999999999999999999" + std::string(238, ' ') + ",9";
    const std::pair<std::string, std::string> casos[] = {
        {"99999999999999999999", "1E20"},
        {"1000000000000000000", "1E18"},
        {virgula_alem_de_255, "1E18"},
        {"999999999999999999", "999.999.999.999.999.999"},
        {"12345678901234567890", "1,23456789012346E19"},
    };
    for (const auto& [texto, esperado] : casos) {
        SCOPED_TRACE(esperado);
        const auto novo = reagrupar(texto);
        ASSERT_EQ(novo, esperado);
        EXPECT_FALSE(reagrupar(*novo).has_value());
    }
    EXPECT_EQ(digitar(U"9999999999999999999"), "1E19");
}

struct Entrada {
    const char* texto;
    const char* bruto;
    const char* linha;
    const char* total;
};

TEST(ConverterEntrada, DoTextoDigitadoAoTotal) {
    const Entrada casos[] = {
        {"1.234,56", "1234,56", "1.234,56", "R$ 1.234,56"},
        {"12*50", "600", "600,00", "R$ 600,00"},
        {"12,5*2", "25", "25,00", "R$ 25,00"},
        {"10/3", "3,33333333333333", "3,33", "R$ 3,33"},
        {"2,675", "2,675", "2,68", "R$ 2,67"},
        {"", "0", "0,00", "R$ 0,00"},
        {"-5", "-5", "-5,00", "R$ -5,00"},
        {"-0,001", "-0,001", "0,00", "R$ 0,00"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        const Conversao conv = converter_entrada(c.texto);
        EXPECT_FALSE(entrada_recusada(c.texto, conv));
        EXPECT_EQ(conv.bruto, c.bruto);
        Fita fita;
        fita.acrescentar(conv.bruto);
        EXPECT_EQ(fita.linha(0), c.linha);
        EXPECT_EQ("R$ " + mascara_dinheiro(fita.total()), c.total);
    }
}

TEST(ConverterEntrada, PontoColadoSeTornaMilhar) {
    EXPECT_EQ(converter_entrada("12.5").bruto, "125");
}

TEST(ConverterEntrada, ExpressaoMalFormadaERecusada) {
    for (const char* t : {"2*-3", "5+1/0", "1 000", "12*", "(2+3", "2+3)", "\t", "abc"}) {
        const Conversao c = converter_entrada(t);
        EXPECT_NE(c.posicao_erro, 0) << t;
        EXPECT_TRUE(entrada_recusada(t, c)) << t;
    }
    // An empty or blank entry still adds 0,00.
    for (const char* t : {"", "   "}) {
        const Conversao c = converter_entrada(t);
        EXPECT_EQ(c.bruto, "0") << "'" << t << "'";
        EXPECT_FALSE(entrada_recusada(t, c)) << "'" << t << "'";
    }
}

} // namespace
