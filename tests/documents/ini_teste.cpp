#include "documents/ini.h"

#include "documents/codificacao.h"

#include "tests/apoio/nome_teste.h"

#include <gtest/gtest.h>

namespace quarvel::documents::ini {
namespace {

struct CasoInteiro {
    std::string texto;
    std::optional<int> valor;
};

void PrintTo(const CasoInteiro& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.texto.substr(0, 20));
}

class LerInteiro : public ::testing::TestWithParam<CasoInteiro> {};

TEST_P(LerInteiro, Le) {
    EXPECT_EQ(ler_inteiro(GetParam().texto), GetParam().valor);
}

INSTANTIATE_TEST_SUITE_P(
    Formas, LerInteiro,
    ::testing::Values(CasoInteiro{"10", 10}, CasoInteiro{"-1", -1}, CasoInteiro{"+7", 7},
                      CasoInteiro{" 12 ", 12}, CasoInteiro{"0x1F", 31}, CasoInteiro{"0XaB", 171},
                      CasoInteiro{"0x", std::nullopt}, CasoInteiro{"0xG", std::nullopt},
                      CasoInteiro{"", std::nullopt}, CasoInteiro{"-", std::nullopt},
                      CasoInteiro{"12abc", std::nullopt}, CasoInteiro{"1,5", std::nullopt},
                      CasoInteiro{"2147483647", 2147483647},
                      CasoInteiro{"-2147483648", -2147483647 - 1},
                      CasoInteiro{"2147483648", std::nullopt},
                      CasoInteiro{"0x80000000", std::nullopt},
                      CasoInteiro{std::string(100000, '9'), std::nullopt}),
    [](const auto& caso) { return testes::nome_de_texto(caso.param.texto); });

TEST(Ini, NomesSemCaixaEPrimeiraChaveVence) {
    const auto doc = Documento::ler(dividir_linhas("solta=1\r\n"
                                                   "[config]\r\n"
                                                   "\r\n"
                                                   "; comentario\r\n"
                                                   "Cabecalho= a=b \r\n"
                                                   "outra=x\r\n"
                                                   "CABECALHO=segunda\r\n"
                                                   "[Ler]\r\n"
                                                   "  inicio  =5\r\n"));
    EXPECT_EQ(doc.achar("CONFIG", "SOLTA"), nullptr); // before any section
    ASSERT_NE(doc.achar("CONFIG", "CABECALHO"), nullptr);
    EXPECT_EQ(doc.achar("CONFIG", "CABECALHO")->valor, " a=b ");
    EXPECT_EQ(doc.achar("CONFIG", "CABECALHO")->linha, 4u);
    ASSERT_NE(doc.achar("LER", "INICIO"), nullptr);
    EXPECT_EQ(doc.achar("LER", "INICIO")->valor, "5");
    EXPECT_EQ(doc.achar("CONFIG", "INICIO"), nullptr);
    EXPECT_TRUE(doc.tem_secao("ler"));
    EXPECT_FALSE(doc.tem_secao("outra"));
}

// Reading only some keys straight from the bytes finds what the whole
// reading finds for them, also with sections repeated and interleaved.
TEST(Ini, SoAsChavesProcuradasComoNaLeituraInteira) {
    const std::string bytes = "[CONFIG]\r\nA=1\r\nx=0\r\n[LER]\r\nB=2\r\n[outra]\r\nA=9\r\n"
                              "[config]\r\nA=3\r\nC=4\r\n[Ler]\r\nb=5\r\nD=6\r\n";
    const std::vector<Documento::Procurada> procuradas = {
        {"CONFIG", "A"}, {"CONFIG", "C"}, {"LER", "B"}, {"LER", "D"}};
    const Documento inteira = Documento::ler(dividir_linhas(bytes));
    const Documento parte = Documento::ler(bytes, procuradas);
    for (const auto& p : procuradas) {
        const Chave* esperada = inteira.achar(p.secao, p.nome);
        const Chave* achada = parte.achar(p.secao, p.nome);
        ASSERT_NE(esperada, nullptr) << p.nome;
        ASSERT_NE(achada, nullptr) << p.nome;
        EXPECT_EQ(achada->valor, esperada->valor) << p.nome;
        EXPECT_EQ(achada->linha, esperada->linha) << p.nome;
    }
    EXPECT_EQ(parte.achar("CONFIG", "X"), nullptr); // not asked for
    EXPECT_FALSE(parte.tem_secao("outra"));
    EXPECT_TRUE(parte.tem_secao("ler"));
}

} // namespace
} // namespace quarvel::documents::ini
