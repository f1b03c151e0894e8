#include "backup/nome_backup.h"
#include "documents/texto.h"

#include "tests/apoio/nome_teste.h"

#include <gtest/gtest.h>

namespace quarvel::backup {
namespace {

using documents::e_arquivo_backup;

struct CasoNome {
    std::string nome;
    std::string arquivo;
    bool valido;
};

void PrintTo(const CasoNome& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.nome) << (c.valido ? " valido" : " recusado");
}

class NomeBackup : public ::testing::TestWithParam<CasoNome> {};

TEST_P(NomeBackup, ArquivoEValidade) {
    EXPECT_EQ(arquivo_backup(GetParam().nome), GetParam().arquivo);
    EXPECT_EQ(nome_backup_valido(GetParam().nome), GetParam().valido);
    // Whatever a tick writes opens again as a backup.
    EXPECT_TRUE(e_arquivo_backup(GetParam().arquivo));
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, NomeBackup,
    ::testing::Values(CasoNome{"malote.dia", "malote.qvlbackup", true},
                      CasoNome{"malote", "malote.qvlbackup", true},
                      CasoNome{"a.b.c", "a.b.qvlbackup", true}, CasoNome{".x", ".qvlbackup", true},
                      CasoNome{"caixa de sábado", "caixa de sábado.qvlbackup", true},
                      CasoNome{"fim.", "fim.qvlbackup", true},
                      CasoNome{"pasta.v1/malote", "pasta.v1/malote.qvlbackup", false},
                      CasoNome{"pasta.v1\\malote", "pasta.v1\\malote.qvlbackup", false},
                      CasoNome{"../fora.x", "../fora.qvlbackup", false},
                      CasoNome{"..", "..qvlbackup", false}, CasoNome{".", ".qvlbackup", false},
                      CasoNome{"..x", "..qvlbackup", true}, CasoNome{"...", "...qvlbackup", true},
                      CasoNome{"a..b", "a..qvlbackup", true},
                      CasoNome{"../x", "../x.qvlbackup", false}, CasoNome{"", ".qvlbackup", false},
                      CasoNome{"a\tb", "a\tb.qvlbackup", false},
                      CasoNome{"a\x7F", "a\x7F.qvlbackup", false},
                      CasoNome{"a\u0085b", "a\u0085b.qvlbackup", false}),
    [](const auto& caso) { return testes::nome_de_texto(caso.param.nome); });

TEST(RecusaNomeBackup, NenhumNomeOuUmQueSairiaDaPasta) {
    EXPECT_EQ(recusa_nome_backup(""), "Arquivo Não Definido !");
    EXPECT_EQ(recusa_nome_backup("../fora"), "Nome de arquivo de backup inválido: ../fora");
    // The name is quoted as typed, even when it holds what looks like a marker.
    EXPECT_EQ(recusa_nome_backup("a/%1"), "Nome de arquivo de backup inválido: a/%1");
    EXPECT_EQ(recusa_nome_backup("malote.dia"), "");
    EXPECT_EQ(recusa_nome_backup("caixa de sábado"), "");
}

} // namespace
} // namespace quarvel::backup
