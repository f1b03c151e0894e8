#include "documents/codificacao.h"

#include "tests/apoio/nome_teste.h"

#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

TEST(Codificacao, TodosOsBytesVoltamIguais) {
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(utf8_para_cp1252(cp1252_para_utf8(todos)), todos);
}

TEST(Codificacao, FaixaEspecialDe80a9F) {
    EXPECT_EQ(cp1252_para_utf8("\x80"), "€");
    EXPECT_EQ(cp1252_para_utf8("\x93\x94"), "“”");
    EXPECT_EQ(cp1252_para_utf8("\x9F"), "Ÿ");
    EXPECT_EQ(cp1252_para_utf8("\xE9\xE7\xE3"), "éçã");
    EXPECT_EQ(utf8_para_cp1252("R$ 5 € – ção"), "R$ 5 \x80 \x96 \xE7\xE3o");
}

TEST(Codificacao, SemLugarNaPaginaViraInterrogacao) {
    EXPECT_EQ(utf8_para_cp1252("ā"), "?");                // U+0101
    EXPECT_EQ(utf8_para_cp1252("日本"), "??");            // three bytes each
    EXPECT_EQ(utf8_para_cp1252("\xF0\x9F\x98\x80"), "?"); // emoji
    EXPECT_EQ(utf8_para_cp1252("\xC2\x80"), "?");         // U+0080 has no byte; 0x80 is the euro
}

TEST(Codificacao, Utf8InvalidoViraInterrogacaoPorByte) {
    EXPECT_EQ(utf8_para_cp1252("a\xFF"
                               "b"),
              "a?b");
    EXPECT_EQ(utf8_para_cp1252("\xC3"), "?");           // cut sequence at the end
    EXPECT_EQ(utf8_para_cp1252("\xC0\xAF"), "??");      // overlong "/"
    EXPECT_EQ(utf8_para_cp1252("\xED\xA0\x80"), "???"); // surrogate
    EXPECT_EQ(utf8_para_cp1252("\xE9x"), "?x");         // a Latin-1 byte, not UTF-8
}

struct CasoLinhas {
    std::string bytes;
    std::vector<std::string> linhas;
};

void PrintTo(const CasoLinhas& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.bytes) << " -> " << c.linhas.size() << " linhas";
}

class DividirLinhas : public ::testing::TestWithParam<CasoLinhas> {};

TEST_P(DividirLinhas, Divide) {
    EXPECT_EQ(dividir_linhas(GetParam().bytes), GetParam().linhas);
}

INSTANTIATE_TEST_SUITE_P(
    Quebras, DividirLinhas,
    ::testing::Values(CasoLinhas{"", {}}, CasoLinhas{"a", {"a"}}, CasoLinhas{"a\r\n", {"a"}},
                      CasoLinhas{"a\r\nb", {"a", "b"}}, CasoLinhas{"a\rb\nc\r\n", {"a", "b", "c"}},
                      CasoLinhas{"\r\n\r\n", {"", ""}}, CasoLinhas{"a\n\r", {"a", ""}},
                      CasoLinhas{"a\r\r\nb", {"a", "", "b"}},
                      CasoLinhas{std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
                      CasoLinhas{std::string("\0a", 2), {}}),
    [](const auto& caso) { return testes::nome_de_texto(caso.param.bytes); });

TEST(Codificacao, JuntarPoeCrLfEmCadaLinha) {
    EXPECT_EQ(juntar_linhas_crlf({}), "");
    EXPECT_EQ(juntar_linhas_crlf({""}), "\r\n");
    EXPECT_EQ(juntar_linhas_crlf({"a", "b"}), "a\r\nb\r\n");
}

} // namespace
} // namespace quarvel::documents
