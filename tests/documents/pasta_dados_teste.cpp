#include "documents/pasta_dados.h"

#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

struct Caso {
    const char* nome;
    const char* dados_xdg;
    const char* casa;
    const char* pasta;
};

const Caso kCasos[] = {
    {"XdgAbsoluta", "/dados", "/home/ana", "/dados/Quarvel"},
    {"XdgRelativaIgnorada", "dados", "/home/ana", "/home/ana/.local/share/Quarvel"},
    {"SemXdg", "", "/home/ana", "/home/ana/.local/share/Quarvel"},
    {"SoXdg", "/dados", "", "/dados/Quarvel"},
    {"Nenhuma", "", "", ""},
    {"XdgRelativaSemCasa", "dados", "", ""},
};

class PastaDados : public ::testing::TestWithParam<Caso> {};

TEST_P(PastaDados, RegraXdg) {
    EXPECT_EQ(pasta_dados(GetParam().dados_xdg, GetParam().casa), GetParam().pasta);
}

INSTANTIATE_TEST_SUITE_P(Ambientes, PastaDados, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

} // namespace
} // namespace quarvel::documents
