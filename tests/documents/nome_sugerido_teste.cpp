#include "documents/nome_sugerido.h"

#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

struct Caso {
    const char* nome;
    const char* caminho;
    const char* extensao;
    const char* sugerido;
};

const Caso kCasos[] = {
    {"CalculoParaTexto", "/home/ana/caixa.qvl", "txt", "/home/ana/caixa.txt"},
    {"TextoParaCalculo", "/home/ana/caixa.txt", "qvl", "/home/ana/caixa.qvl"},
    {"SemExtensao", "/home/ana/caixa", "txt", "/home/ana/caixa.txt"},
    {"SoOUltimoPonto", "/home/ana/malote.dia.qvl", "txt", "/home/ana/malote.dia.txt"},
    {"PontoNaPastaNaoConta", "/home/ana.b/caixa", "txt", "/home/ana.b/caixa.txt"},
    {"OcultoSemExtensao", "/home/ana/.caixa", "txt", "/home/ana/.caixa.txt"},
    {"Vazio", "", "txt", ""},
    {"SoAPasta", "/home/ana/", "txt", "/home/ana/"},
};

class NomeSugerido : public ::testing::TestWithParam<Caso> {};

TEST_P(NomeSugerido, PastaEBaseFicamExtensaoMuda) {
    EXPECT_EQ(nome_sugerido(GetParam().caminho, GetParam().extensao), GetParam().sugerido);
}

INSTANTIATE_TEST_SUITE_P(Nomes, NomeSugerido, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

} // namespace
} // namespace quarvel::documents
