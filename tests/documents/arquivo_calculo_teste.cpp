#include "documents/arquivo_calculo.h"

#include "documents/codificacao.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

using Estado = CargaCalculo::Estado;

Documento exemplo() {
    Documento d;
    d.config.cabecalho = "Loja Centro";
    d.config.rodape = "Conferido por:";
    d.config.backup = true;
    d.config.qtdetempo = 2;
    d.config.texto_backup = "malote1";
    d.brutos = {"150", "1234,56", "20,5"};
    return d;
}

// A file laid out line by line, CR LF after each.
std::string arquivo(const std::vector<std::string>& linhas, const char* quebra = "\r\n") {
    std::string s;
    for (const auto& l : linhas)
        s += l + quebra;
    return s;
}

TEST(EscreverCalculo, BytesDoExemplo) {
    EXPECT_EQ(escrever_calculo(exemplo()), "[CONFIG]\r\n"
                                           "CABECALHO=Loja Centro\r\n"
                                           "RODAPE=Conferido por:\r\n"
                                           "BACKUP=1\r\n"
                                           "QTDETEMPO=2\r\n"
                                           "TEXTO_BACKUP=malote1\r\n"
                                           "[LER]\r\n"
                                           "INICIO=10\r\n"
                                           "FIM=12\r\n"
                                           "\r\n"
                                           "150\r\n"
                                           "1234,56\r\n"
                                           "20,5\r\n");
}

TEST(EscreverCalculo, FitaVaziaTerminaNaLinhaSeparadora) {
    Documento d;
    d.config.qtdetempo = -1;
    const std::string bytes = escrever_calculo(d);
    EXPECT_EQ(bytes, "[CONFIG]\r\nCABECALHO=\r\nRODAPE=\r\nBACKUP=0\r\nQTDETEMPO=-1\r\n"
                     "TEXTO_BACKUP=\r\n[LER]\r\nINICIO=10\r\nFIM=9\r\n\r\n");
    const auto c = carregar_calculo(bytes);
    ASSERT_EQ(c.estado, Estado::Ok);
    EXPECT_TRUE(c.doc.brutos.empty());
    EXPECT_EQ(c.doc.config.qtdetempo, -1);
}

TEST(EscreverCalculo, SegundaGravacaoIgualEIdaEVolta) {
    const std::string a = escrever_calculo(exemplo());
    EXPECT_EQ(escrever_calculo(exemplo()), a);
    const auto c = carregar_calculo(a);
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_EQ(c.doc.brutos, exemplo().brutos);
    EXPECT_EQ(c.linhas, (std::vector<std::string>{"150,00", "1.234,56", "20,50"}));
    EXPECT_EQ(c.doc.config.cabecalho, "Loja Centro");
    EXPECT_EQ(c.doc.config.rodape, "Conferido por:");
    EXPECT_EQ(c.doc.config.texto_backup, "malote1");
    EXPECT_TRUE(c.doc.config.backup);
    EXPECT_EQ(c.doc.config.qtdetempo, 2);
    EXPECT_EQ(escrever_calculo(c.doc), a);
}

TEST(EscreverCalculo, TodosOsCaracteresDaPaginaNosTextos) {
    std::string todos;
    for (int b = 0x20; b < 256; ++b)
        todos += static_cast<char>(b);
    Documento d = exemplo();
    d.config.cabecalho = "  " + cp1252_para_utf8(todos) + "  "; // blanks kept
    d.config.rodape = "\"entre aspas\"";
    d.config.texto_backup = "[x]=y;z";
    const auto c = carregar_calculo(escrever_calculo(d));
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_EQ(c.doc.config.cabecalho, d.config.cabecalho);
    EXPECT_EQ(c.doc.config.rodape, d.config.rodape);
    EXPECT_EQ(c.doc.config.texto_backup, d.config.texto_backup);
}

TEST(EscreverCalculo, QuebrasNosTextosViramBrancos) {
    Documento d = exemplo();
    d.config.cabecalho = "linha1\r\nlinha2\rfim";
    d.config.rodape = std::string("a\nb\0c", 5);
    const std::string bytes = escrever_calculo(d);
    EXPECT_EQ(dividir_linhas(bytes).size(), 13u);
    const auto c = carregar_calculo(bytes);
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_EQ(c.doc.config.cabecalho, "linha1  linha2 fim");
    EXPECT_EQ(c.doc.config.rodape, "a b c");
    EXPECT_EQ(c.doc.brutos.size(), 3u);
}

TEST(CarregarCalculo, OutrosEscritoresDeIni) {
    const std::vector<std::string> linhas = {
        "[config]", "",        "cabecalho=Caixa 2", "extra=1", "backup=0x1", "qtdetempo=0X3", "",
        "[ler]",    "fim=0xC", "inicio=11",         "",        "5",          "-2,5"};
    for (const char* quebra : {"\r\n", "\n", "\r"}) {
        const auto c = carregar_calculo(arquivo(linhas, quebra));
        ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
        EXPECT_EQ(c.doc.brutos, (std::vector<std::string>{"5", "-2,5"}));
        EXPECT_EQ(c.linhas, (std::vector<std::string>{"5,00", "-2,50"}));
        EXPECT_EQ(c.doc.config.cabecalho, "Caixa 2");
        EXPECT_EQ(c.doc.config.rodape, "");
        EXPECT_TRUE(c.doc.config.backup);
        EXPECT_EQ(c.doc.config.qtdetempo, 3);
    }
    // Without the CR LF after the last value.
    std::string sem_fim = arquivo(linhas);
    sem_fim.resize(sem_fim.size() - 2);
    EXPECT_EQ(carregar_calculo(sem_fim).doc.brutos.size(), 2u);
}

TEST(CarregarCalculo, ConfiguracaoIlegivelUsaOPadrao) {
    for (const char* tempo : {"5", "-1", "abc", "", "99999999999999999999"}) {
        const auto c = carregar_calculo(arquivo({"[CONFIG]", std::string("QTDETEMPO=") + tempo,
                                                 "BACKUP=sim", "[LER]", "INICIO=7", "FIM=6", ""}));
        ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
        EXPECT_EQ(c.doc.config.qtdetempo, -1) << tempo;
        EXPECT_FALSE(c.doc.config.backup);
    }
    const auto c =
        carregar_calculo(arquivo({"[CONFIG]", "BACKUP=-7", "[LER]", "INICIO=6", "FIM=5", ""}));
    EXPECT_TRUE(c.doc.config.backup);
}

TEST(CarregarCalculo, TextoLidoAte2047Caracteres) {
    Documento d = exemplo();
    d.config.cabecalho = std::string(3000, 'x');
    const auto c = carregar_calculo(escrever_calculo(d));
    ASSERT_EQ(c.estado, Estado::Ok);
    EXPECT_EQ(c.doc.config.cabecalho, std::string(2047, 'x'));
}

struct TextoConfiguracao {
    const char* nome;
    std::string texto;
    bool cabe;
    friend void PrintTo(const TextoConfiguracao& c, std::ostream* os) { *os << c.nome; }
};

class CabeNaConfiguracao : public ::testing::TestWithParam<TextoConfiguracao> {};

// Whatever the field accepts must come back from the file exactly.
TEST_P(CabeNaConfiguracao, SoAceitaOQueVoltaDoArquivoIgual) {
    const TextoConfiguracao& t = GetParam();
    EXPECT_EQ(cabe_na_configuracao(t.texto), t.cabe);
    if (!t.cabe) return;
    Documento d = exemplo();
    d.config.cabecalho = d.config.rodape = d.config.texto_backup = t.texto;
    const auto c = carregar_calculo(escrever_calculo(d));
    ASSERT_EQ(c.estado, Estado::Ok);
    EXPECT_EQ(c.doc.config.cabecalho, t.texto);
    EXPECT_EQ(c.doc.config.rodape, t.texto);
    EXPECT_EQ(c.doc.config.texto_backup, t.texto);
}

INSTANTIATE_TEST_SUITE_P(
    Textos, CabeNaConfiguracao,
    ::testing::Values(TextoConfiguracao{"Vazio", "", true},
                      TextoConfiguracao{"Acentos", "Conferência à vista: ÇÃO ñ ü", true},
                      TextoConfiguracao{"EuroEAspas",
                                        "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xE2\x80\x94",
                                        true},
                      TextoConfiguracao{"BrancosNasPontas", "  Loja Centro  ", true},
                      TextoConfiguracao{"Com2047Caracteres", std::string(2047, 'x'), true},
                      TextoConfiguracao{"Com2047Acentuados",
                                        [] {
                                            std::string s;
                                            for (int i = 0; i < 2047; ++i)
                                                s += "\xC3\xA9";
                                            return s;
                                        }(),
                                        true},
                      TextoConfiguracao{"Com2048Caracteres", std::string(2048, 'x'), false},
                      TextoConfiguracao{"Seta", "a \xE2\x86\x92 b", false},
                      TextoConfiguracao{"Emoji", "\xF0\x9F\x98\x80", false},
                      TextoConfiguracao{"QuebraDeLinha", "Loja\nCentro", false},
                      TextoConfiguracao{"RetornoDeCarro", "Loja\rCentro", false},
                      TextoConfiguracao{"Tabulacao", "a\tb", false},
                      TextoConfiguracao{"ControleC1", "\xC2\x81", false},
                      TextoConfiguracao{"Utf8Invalido", "\xC3", false},
                      TextoConfiguracao{"Interrogacao", "quem?", true}),
    [](const ::testing::TestParamInfo<TextoConfiguracao>& i) { return std::string(i.param.nome); });

std::string com_valores(std::size_t n) {
    Documento d;
    d.brutos.assign(n, "1");
    return escrever_calculo(d);
}

TEST(CarregarCalculo, CinquentaMilPassamCinquentaMilEUmNao) {
    std::size_t chamadas = 0;
    const auto c = carregar_calculo(com_valores(50000), [&](std::size_t i) {
        EXPECT_EQ(i, chamadas);
        ++chamadas;
    });
    ASSERT_EQ(c.estado, Estado::Ok);
    EXPECT_EQ(c.doc.brutos.size(), 50000u);
    EXPECT_EQ(chamadas, 50000u);

    chamadas = 0;
    EXPECT_EQ(carregar_calculo(com_valores(50001), [&](std::size_t) { ++chamadas; }).estado,
              Estado::ExcedeMaximo);
    EXPECT_EQ(chamadas, 0u);
    // Refused by the indexes alone, before any line is looked at.
    EXPECT_EQ(carregar_calculo(arquivo({"[LER]", "INICIO=3", "FIM=2000000000", ""})).estado,
              Estado::ExcedeMaximo);
}

struct CasoDanificado {
    std::string nome;
    std::string bytes;
    std::string detalhe;
};

void PrintTo(const CasoDanificado& c, std::ostream* os) {
    *os << c.nome;
}

class ArquivoDanificado : public ::testing::TestWithParam<CasoDanificado> {};

TEST_P(ArquivoDanificado, DizOndeEstaOErro) {
    const auto c = carregar_calculo(GetParam().bytes);
    EXPECT_EQ(c.estado, Estado::Danificado);
    EXPECT_EQ(c.detalhe, GetParam().detalhe);
    EXPECT_TRUE(c.doc.brutos.empty());
    EXPECT_TRUE(c.linhas.empty());
}

const std::string kTopo = "[CONFIG]\r\nCABECALHO=x\r\n[LER]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Casos, ArquivoDanificado,
    ::testing::Values(
        CasoDanificado{"SemLer", "[CONFIG]\r\nCABECALHO=x\r\n", "a seção [LER] não foi encontrada"},
        CasoDanificado{"Vazio", "", "a seção [LER] não foi encontrada"},
        CasoDanificado{"LerSemChaves", kTopo + "\r\n5\r\n",
                       "a seção [LER] não tem as chaves INICIO e FIM"},
        CasoDanificado{"SemFim", kTopo + "INICIO=5\r\n\r\n5\r\n",
                       "a chave FIM não foi encontrada na seção [LER]"},
        CasoDanificado{"InicioNaoNumero", kTopo + "INICIO=abc\r\nFIM=6\r\n\r\n5\r\n",
                       "linha 4: INICIO=abc não é um número inteiro"},
        CasoDanificado{"InicioEstourado", kTopo + "INICIO=99999999999\r\nFIM=6\r\n\r\n5\r\n",
                       "linha 4: INICIO=99999999999 não é um número inteiro"},
        CasoDanificado{"InicioNegativo", kTopo + "INICIO=-3\r\nFIM=6\r\n\r\n5\r\n",
                       "linha 4: INICIO=-3 não pode ser negativo"},
        CasoDanificado{"InicioNaConfiguracao", kTopo + "INICIO=1\r\nFIM=2\r\n\r\n5\r\n",
                       "linha 4: INICIO=1 aponta para dentro da configuração"},
        CasoDanificado{"FimAlemDoArquivo",
                       kTopo + "INICIO=6\r\nFIM=14\r\n\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n",
                       "linha 15 não existe: o arquivo tem 13 linhas"},
        CasoDanificado{"UmaLinhaSo", "[LER]INICIO=1\r\n",
                       "a seção [LER] não tem as chaves INICIO e FIM"},
        CasoDanificado{"ValorComLetras", kTopo + "INICIO=6\r\nFIM=7\r\n\r\n5\r\nabc\r\n",
                       "linha 8: 'abc' não é um valor"},
        CasoDanificado{"ValorComMilhar", kTopo + "INICIO=6\r\nFIM=6\r\n\r\n1.234,56\r\n",
                       "linha 7: '1.234,56' não é um valor"},
        CasoDanificado{"ValorVazio", kTopo + "INICIO=6\r\nFIM=7\r\n\r\n5\r\n\r\n",
                       "linha 8: '' não é um valor"},
        CasoDanificado{"ValorVazioNoMeio", kTopo + "INICIO=6\r\nFIM=7\r\n\r\n\r\n5\r\n",
                       "linha 7: '' não é um valor"},
        CasoDanificado{"ValorGrandeDemais", kTopo + "INICIO=6\r\nFIM=6\r\n\r\n1E400\r\n",
                       "linha 7: '1E400' é grande demais para um valor"},
        CasoDanificado{"NulCortaOArquivo",
                       kTopo + "INICIO=6\r\nFIM=7\r\n\r\n5\r\n" +
                           std::string("\0"
                                       "6\r\n",
                                       4),
                       "linha 8: bytes nulos no lugar do texto"},
        // What a save cut by a power failure leaves: blocks that never
        // reached the disk read as zeros, the tail of the longer old file
        // after the new one's values.
        CasoDanificado{"BlocoZeradoNoMeio",
                       kTopo + "INICIO=6\r\nFIM=8\r\n\r\n5\r\n" + std::string(8, '\0') +
                           "\r\n7\r\n",
                       "linha 8: bytes nulos no lugar do texto"},
        CasoDanificado{"ZerosAlemDoFim",
                       kTopo + "INICIO=6\r\nFIM=6\r\n\r\n5\r\n" + std::string(512, '\0'),
                       "linha 8: bytes nulos no lugar do texto"},
        CasoDanificado{"CaudaDeOutraVersao",
                       kTopo + "INICIO=6\r\nFIM=7\r\n\r\n5\r\n6\r\n822\r\n823\r\n",
                       "linha 9: '822' vem depois do último valor (FIM=7)"},
        CasoDanificado{"LinhaEnorme",
                       kTopo + "INICIO=6\r\nFIM=6\r\n\r\n" + std::string(2 << 20, 'z') + "\r\n",
                       "linha 7: '" + std::string(40, 'z') + "...' não é um valor"},
        CasoDanificado{"CitacaoCortadaEmCaractere",
                       kTopo + "INICIO=6\r\nFIM=6\r\n\r\n" + std::string(60, '\xE9') + "\r\n",
                       "linha 7: '" +
                           [] {
                               std::string s;
                               for (int i = 0; i < 40; ++i)
                                   s += "é";
                               return s;
                           }() +
                           "...' não é um valor"}),
    [](const auto& caso) { return caso.param.nome; });

TEST(CarregarCalculo, LinhasEmBrancoDepoisDoFimSaoAceitas) {
    const auto c = carregar_calculo(arquivo({"[LER]", "INICIO=4", "FIM=4", "", "7", "", ""}));
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_EQ(c.doc.brutos, (std::vector<std::string>{"7"}));
}

TEST(CarregarCalculo, FimAntesDoInicioDaFitaVazia) {
    const auto c = carregar_calculo(arquivo({"[LER]", "INICIO=3", "FIM=-50", ""}));
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_TRUE(c.doc.brutos.empty());
}

TEST(CarregarCalculo, ValoresGuardadosComoEstao) {
    const auto c =
        carregar_calculo(arquivo({"[LER]", "INICIO=4", "FIM=6", "", " 7 ", "1E-5", "0,10"}));
    ASSERT_EQ(c.estado, Estado::Ok) << c.detalhe;
    EXPECT_EQ(c.doc.brutos, (std::vector<std::string>{" 7 ", "1E-5", "0,10"}));
    EXPECT_EQ(c.linhas, (std::vector<std::string>{"7,00", "0,00", "0,10"}));
}

TEST(LerConfiguracao, ChavesAusentes) {
    const Configuracao c = ler_configuracao("[CONFIG]\r\nRODAPE=ok\r\n");
    EXPECT_EQ(c.cabecalho, "");
    EXPECT_EQ(c.rodape, "ok");
    EXPECT_FALSE(c.backup);
    EXPECT_EQ(c.qtdetempo, -1);
    EXPECT_EQ(ler_configuracao(escrever_calculo(exemplo())).texto_backup, "malote1");
}

} // namespace
} // namespace quarvel::documents

namespace quarvel::documents {
namespace {

// Damaged files made by mutating a good one: every load must end in one of
// the three states, with a detail when damaged and consistent lists when not.
TEST(CarregarCalculo, BytesEmbaralhadosNaoQuebramALeitura) {
    const std::string base = escrever_calculo(exemplo());
    const std::string alfabeto = std::string("\0\r\n=[];x9-,.E ", 15) + "\xFF";
    std::uint32_t semente = 12345;
    auto proximo = [&] { return semente = semente * 1664525u + 1013904223u; };
    for (int rodada = 0; rodada < 3000; ++rodada) {
        std::string s = base;
        const int trocas = 1 + static_cast<int>(proximo() % 6);
        for (int t = 0; t < trocas; ++t)
            s[proximo() % s.size()] = alfabeto[(proximo() >> 8) % alfabeto.size()];
        const auto c = carregar_calculo(s);
        if (c.estado == CargaCalculo::Estado::Danificado) {
            EXPECT_FALSE(c.detalhe.empty());
        } else if (c.estado == CargaCalculo::Estado::Ok) {
            EXPECT_EQ(c.doc.brutos.size(), c.linhas.size());
        }
        (void)ler_configuracao(s);
    }
}

} // namespace
} // namespace quarvel::documents
