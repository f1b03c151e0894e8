#include "tape/fita.h"

#include "calc/dinheiro.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace quarvel::tape;
using quarvel::calc::ErroConversao;
using quarvel::calc::mascara_dinheiro;

namespace {

// Raw values at the given positions of an otherwise zero list.
std::vector<std::string> nas_posicoes(std::size_t tamanho,
                                      std::vector<std::pair<std::size_t, std::string>> valores) {
    std::vector<std::string> r(tamanho, "0");
    for (auto& [i, v] : valores)
        r[i] = v;
    return r;
}

TEST(SomarBrutos, SomaOsBrutosENaoAsLinhas) {
    EXPECT_EQ(mascara_dinheiro(somar_brutos({})), "0,00");
    Fita fita;
    fita.acrescentar_varios("3,33333333333333", 3);
    EXPECT_EQ(fita.linha(2), "3,33");
    EXPECT_EQ(mascara_dinheiro(fita.total()), "10,00");
}

// Position i feeds partial sum (50000 - i) % 4: 0 -> s0, 1 -> s3, 2 -> s2,
// 3 -> s1, 4 -> s0 again. The partials are added as ((s0 + s1) + s2) + s3.
TEST(SomarBrutos, QuatroSomasParciais) {
    // 1E30 and -1E30 cancel in s0 + s1 before the 1 of s3 comes in.
    EXPECT_EQ(somar_brutos(nas_posicoes(4, {{0, "1E30"}, {3, "-1E30"}, {1, "1"}})), 1.0);
    // All in s0: the walk from the top adds 1 to 1E30 first, where it is lost.
    EXPECT_EQ(somar_brutos(nas_posicoes(9, {{0, "-1E30"}, {4, "1E30"}, {8, "1"}})), 0.0);
    // Same values the other way round survive.
    EXPECT_EQ(somar_brutos(nas_posicoes(9, {{0, "1"}, {4, "1E30"}, {8, "-1E30"}})), 1.0);
    // Separate partials: 1 is in s3 and survives the cancellation in s0.
    EXPECT_EQ(somar_brutos({"1E30", "1", "-1E30"}), 1.0);
}

TEST(SomarBrutos, SomaEmPrecisaoEstendida) {
    // In doubles 1E16 + 1 + 1 stays at 1E16; the partial sum holds the 2.
    EXPECT_EQ(somar_brutos(nas_posicoes(9, {{8, "1E16"}, {4, "1"}, {0, "1"}})),
              10000000000000002.0);
}

TEST(SomarBrutos, BrutoInvalidoLevantaErroDoPrimeiro) {
    try {
        somar_brutos({"1", "1.234", "2", "abc"});
        FAIL();
    } catch (const ErroConversao& e) {
        EXPECT_STREQ(e.what(), "'1.234' is not a valid floating point value");
    }
    // Beyond the range of a double a value has no slot.
    EXPECT_THROW(somar_brutos({"1E400"}), ErroConversao);
}

TEST(SomarBrutos, CabeNoBufferDeCinquentaMil) {
    std::vector<std::string> cheia(kMaximoValores, "0,01");
    EXPECT_EQ(mascara_dinheiro(somar_brutos(cheia)), "500,00");
    cheia.push_back("0,01");
    EXPECT_THROW(somar_brutos(cheia), std::length_error);
}

TEST(Fita, ListasAndamJuntas) {
    Fita fita;
    EXPECT_TRUE(fita.vazia());
    fita.acrescentar("1234,5");
    fita.acrescentar("-0,125");
    fita.acrescentar("1E20");
    ASSERT_EQ(fita.tamanho(), 3u);
    EXPECT_EQ(fita.linhas(), (std::vector<std::string>{"1.234,50", "-0,13", "1E20"}));
    EXPECT_EQ(fita.bruto(1), "-0,125");

    fita.substituir(1, "6170");
    EXPECT_EQ(fita.bruto(1), "6170");
    EXPECT_EQ(fita.linha(1), "6.170,00");

    fita.remover(0);
    EXPECT_EQ(fita.brutos(), (std::vector<std::string>{"6170", "1E20"}));
    EXPECT_EQ(fita.linhas(), (std::vector<std::string>{"6.170,00", "1E20"}));

    fita.limpar();
    EXPECT_TRUE(fita.vazia());
    EXPECT_TRUE(fita.linhas().empty());
}

TEST(Fita, BrutoInvalidoNaoMudaNada) {
    Fita fita;
    fita.acrescentar("1");
    EXPECT_THROW(fita.acrescentar("1.000"), ErroConversao);
    EXPECT_THROW(fita.acrescentar_varios("x", 3), ErroConversao);
    EXPECT_THROW(fita.substituir(0, ""), ErroConversao);
    EXPECT_EQ(fita.brutos(), std::vector<std::string>{"1"});
    EXPECT_EQ(fita.linhas(), std::vector<std::string>{"1,00"});
}

TEST(Fita, RepetirAcrescentaCopiasIguais) {
    Fita fita;
    fita.acrescentar("7");
    fita.acrescentar_varios("2,5", 5000);
    ASSERT_EQ(fita.tamanho(), 5001u);
    EXPECT_EQ(fita.linhas().size(), 5001u);
    EXPECT_EQ(fita.bruto(5000), "2,5");
    EXPECT_EQ(fita.linha(1), "2,50");
    EXPECT_EQ(fita.linha(5000), "2,50");
    EXPECT_EQ(mascara_dinheiro(fita.total()), "12.507,00");
    fita.acrescentar_varios("1", 0);
    EXPECT_EQ(fita.tamanho(), 5001u);
}

TEST(Fita, LimiteDeCinquentaMilValores) {
    Fita fita;
    fita.acrescentar_varios("1", kMaximoValores - 1);
    EXPECT_TRUE(fita.cabe(1));
    EXPECT_FALSE(fita.cabe(2));
    fita.acrescentar("1"); // the 50,000th still goes in
    EXPECT_EQ(fita.tamanho(), kMaximoValores);
    EXPECT_TRUE(fita.cabe(0));
    EXPECT_FALSE(fita.cabe(1));

    EXPECT_THROW(fita.acrescentar("1"), std::length_error);
    EXPECT_THROW(fita.acrescentar_varios("1", 1), std::length_error);
    EXPECT_EQ(fita.tamanho(), kMaximoValores);
    EXPECT_EQ(fita.linhas().size(), kMaximoValores);
    EXPECT_EQ(mascara_dinheiro(fita.total()), "50.000,00");

    // Replacing in a full tape is still allowed.
    fita.substituir(0, "2");
    EXPECT_EQ(mascara_dinheiro(fita.total()), "50.001,00");
}

TEST(Fita, TrocarExigeListasIguaisDentroDoLimite) {
    Fita fita;
    fita.trocar({"1", "2,5"}, {"1,00", "2,50"});
    EXPECT_EQ(fita.tamanho(), 2u);
    EXPECT_EQ(fita.linha(1), "2,50");
    EXPECT_THROW(fita.trocar({"1"}, {}), std::invalid_argument);
    EXPECT_THROW(fita.trocar(std::vector<std::string>(kMaximoValores + 1, "1"),
                             std::vector<std::string>(kMaximoValores + 1, "1,00")),
                 std::length_error);
    EXPECT_EQ(fita.tamanho(), 2u);
}

// The kept total against a fresh sum of the raw values, bit for bit, after
// every step of random command sequences: what the window's commands and
// their undo do to the tape (add, repeat, delete last or middle, modify, put
// back, cut, clear, replace all). The values mix sizes whose order of
// addition changes the result, a -0 and one beyond the range of a double.
std::uint64_t bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

TEST(FitaTotal, IgualASomaNovaAposCadaComando) {
    const std::vector<std::string> valores = {
        "1",      "0,01",   "1234,56",           "-0,125", "1E30",
        "-1E30",  "1E16",   "3,33333333333333",  "-0",     "0",
        "1E308",  "-1E308", "12345678901234,56", "0,1",    "-7,77",
        "2E-300", "1E400"};
    for (unsigned semente = 1; semente <= 40; ++semente) {
        std::mt19937 g(semente);
        auto qualquer = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(g);
        };
        auto valor = [&] { return valores[qualquer(valores.size())]; };
        Fita fita;
        for (int passo = 0; passo < 300; ++passo) {
            const std::size_t n = fita.tamanho();
            std::string feito;
            switch (qualquer(10)) {
            case 0:
            case 1:
                feito = "acrescentar";
                fita.acrescentar(valor());
                break;
            case 2:
                feito = "repetir";
                fita.acrescentar_varios(valor(), qualquer(7));
                break;
            case 3:
                feito = "remover a ultima";
                if (n > 0) fita.remover(n - 1);
                break;
            case 4:
                feito = "remover do meio";
                if (n > 0) fita.remover(qualquer(n));
                break;
            case 5:
                feito = "substituir";
                if (n > 0) fita.substituir(qualquer(n), valor());
                break;
            case 6:
                feito = "inserir";
                fita.inserir(qualquer(n + 1), valor());
                break;
            case 7:
                feito = "cortar";
                fita.cortar(qualquer(n + 1));
                break;
            case 8: {
                feito = "trocar";
                std::vector<std::string> b, l;
                for (std::size_t i = qualquer(30); i > 0; --i) {
                    b.push_back(valor());
                    l.push_back(quarvel::calc::linha_fita(b.back()));
                }
                fita.trocar(b, l);
                break;
            }
            default:
                feito = "limpar";
                if (qualquer(4) == 0) fita.limpar();
                break;
            }
            const auto onde = "semente " + std::to_string(semente) + ", passo " +
                              std::to_string(passo) + ": " + feito;
            double nova = 0;
            bool nova_falha = false;
            try {
                nova = somar_brutos(fita.brutos());
            } catch (const ErroConversao&) {
                nova_falha = true;
            }
            if (nova_falha) {
                EXPECT_THROW(fita.total(), ErroConversao) << onde;
                continue;
            }
            ASSERT_EQ(bits(fita.total()), bits(nova)) << onde;
            ASSERT_EQ(bits(fita.total()), bits(nova)) << onde << " (de novo, guardado)";
        }
    }
}

} // namespace
