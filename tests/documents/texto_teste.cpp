#include "documents/texto.h"

#include "tests/apoio/nome_teste.h"

#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

using Estado = LeituraTexto::Estado;

TEST(EscreverTexto, LinhasDaFitaEmCp1252ComCrLf) {
    EXPECT_EQ(escrever_texto({"1.234,56", "-5,00"}), "1.234,56\r\n-5,00\r\n");
    EXPECT_EQ(escrever_texto({}), "");
    EXPECT_EQ(escrever_texto({"é"}), "\xE9\r\n");
}

struct CasoImportacao {
    std::string linha;
    std::string bruto;
    std::string mascara;
};

void PrintTo(const CasoImportacao& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.linha);
}

class ImportarLinha : public ::testing::TestWithParam<CasoImportacao> {};

TEST_P(ImportarLinha, Le) {
    const auto l = ler_texto(GetParam().linha + "\r\n");
    ASSERT_EQ(l.estado, Estado::Ok);
    ASSERT_EQ(l.brutos.size(), 1u);
    EXPECT_EQ(l.brutos[0], GetParam().bruto);
    EXPECT_EQ(l.linhas[0], GetParam().mascara);
}

INSTANTIATE_TEST_SUITE_P(Linhas, ImportarLinha,
                         ::testing::Values(CasoImportacao{"R$ 1.234,56", "1234,56", "1.234,56"},
                                           CasoImportacao{"1,2,3", "12,3", "12,30"},
                                           CasoImportacao{"5-", "5", "5,00"},
                                           CasoImportacao{"-5", "-5", "-5,00"},
                                           CasoImportacao{"Total: 3", "3", "3,00"},
                                           CasoImportacao{"3,33", "3,33", "3,33"},
                                           CasoImportacao{"  \t7,5\t ", "7,5", "7,50"},
                                           CasoImportacao{"abc,", "0", "0,00"}),
                         [](const auto& caso) { return testes::nome_de_texto(caso.param.linha); });

TEST(LerTexto, ExportadoVoltaComoMostrado) {
    const std::vector<std::string> fita = {"150,00", "1.234,56", "20,50", "-0,01", "3,33"};
    const auto l = ler_texto(escrever_texto(fita));
    ASSERT_EQ(l.estado, Estado::Ok);
    EXPECT_EQ(l.linhas, fita);
    EXPECT_EQ(l.brutos, (std::vector<std::string>{"150", "1234,56", "20,5", "-0,01", "3,33"}));
}

TEST(LerTexto, NumerosAlemDeQuinzeDigitosVoltamComoMostrados) {
    // Past 18 integer digits the tape shows the exponent form; the file holds
    // every digit, so the import does not read 1E20 as 120.
    EXPECT_EQ(escrever_texto({"1E20", "-1,5E19"}),
              "100.000.000.000.000.000.000,00\r\n-15.000.000.000.000.000.000,00\r\n");
    const auto l = ler_texto(escrever_texto({"1E20", "-1,5E19", "1,23456789012346E19"}));
    ASSERT_EQ(l.estado, Estado::Ok);
    EXPECT_EQ(l.linhas, (std::vector<std::string>{"1E20", "-1,5E19", "1,23456789012346E19"}));

    // The line shown is the mask of the raw value kept, cut to 15 digits.
    const auto longo = ler_texto("12345678901234,567\r\n");
    ASSERT_EQ(longo.estado, Estado::Ok);
    EXPECT_EQ(longo.brutos[0], "12345678901234,6");
    EXPECT_EQ(longo.linhas[0], "12.345.678.901.234,60");
}

TEST(LerTexto, LinhasEmBrancoSaoPuladas) {
    const auto l = ler_texto("1\r\n\r\n   \r\n\t\n2\r\n\r\n");
    ASSERT_EQ(l.estado, Estado::Ok);
    EXPECT_EQ(l.brutos, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(ler_texto("").estado, Estado::Ok);
    EXPECT_TRUE(ler_texto("\r\n \r\n").brutos.empty());
}

struct CasoSemValor {
    std::string bytes;
    int numero;
    std::string texto;
};

void PrintTo(const CasoSemValor& c, std::ostream* os) {
    *os << "linha " << c.numero << ": " << ::testing::PrintToString(c.texto);
}

class LinhaSemValor : public ::testing::TestWithParam<CasoSemValor> {};

TEST_P(LinhaSemValor, RecusaOArquivoTodo) {
    const auto l = ler_texto(GetParam().bytes);
    EXPECT_EQ(l.estado, Estado::LinhaSemValor);
    EXPECT_EQ(l.numero_linha, GetParam().numero);
    EXPECT_EQ(l.texto_linha, GetParam().texto);
    EXPECT_TRUE(l.brutos.empty());
    EXPECT_TRUE(l.linhas.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LinhaSemValor,
    ::testing::Values(CasoSemValor{"1\r\n\r\nTotal geral\r\n2\r\n", 3, "Total geral"},
                      CasoSemValor{"-\r\n", 1, "-"},
                      CasoSemValor{"1\n2\nAten\xE7\xE3o\n", 3, "Atenção"},
                      CasoSemValor{"5\r\n" + std::string(400, '9') + "\r\n", 2,
                                   std::string(40, '9') + "..."}, // quoted cut in messages
                      CasoSemValor{"R$\xA0\r\n", 1, "R$\u00A0"}),
    [](const auto& caso) {
        return "linha_" + std::to_string(caso.param.numero) + "_" +
               testes::nome_de_texto(caso.param.texto);
    });

std::string linhas_de_um(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += "1\r\n";
    return s;
}

TEST(LerTexto, CinquentaMilPassamCinquentaMilEUmNao) {
    const auto l = ler_texto(linhas_de_um(50000) + "\r\n \r\n");
    ASSERT_EQ(l.estado, Estado::Ok);
    EXPECT_EQ(l.brutos.size(), 50000u);
    std::size_t chamadas = 0;
    EXPECT_EQ(ler_texto(linhas_de_um(50001), [&](std::size_t) { return ++chamadas, true; }).estado,
              Estado::ExcedeMaximo);
    EXPECT_EQ(chamadas, 0u);
}

TEST(LerTexto, CancelarDescartaTudo) {
    std::vector<std::size_t> vistos;
    const auto l = ler_texto("1\r\n2\r\n3\r\n4\r\n", [&](std::size_t i) {
        vistos.push_back(i);
        return i < 2;
    });
    EXPECT_EQ(l.estado, Estado::Cancelado);
    EXPECT_TRUE(l.brutos.empty());
    EXPECT_TRUE(l.linhas.empty());
    EXPECT_EQ(vistos, (std::vector<std::size_t>{0, 1, 2}));
}

TEST(ArquivoBackup, SoAExtensaoQvlbackupEmQualquerCaixa) {
    for (const char* sim : {"malote.qvlbackup", "/tmp/MALOTE.QVLBACKUP", "a.QvlBackup"})
        EXPECT_TRUE(e_arquivo_backup(sim)) << sim;
    for (const char* nao :
         {"malote.qvl", "malote.qvlbackup.txt", "qvlbackup", "malote_qvlbackup", ""})
        EXPECT_FALSE(e_arquivo_backup(nao)) << nao;
}

} // namespace
} // namespace quarvel::documents
