#include "documents/nome_backup.h"

#include <cctype>
#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

struct CasoNome {
    std::string nome;
    std::string arquivo;
    bool valido;
};

void PrintTo(const CasoNome& c, std::ostream* os) {
    *os << (c.valido ? "valido" : "recusado");
}

class NomeBackup : public ::testing::TestWithParam<CasoNome> {};

TEST_P(NomeBackup, ArquivoEValidade) {
    EXPECT_EQ(arquivo_backup(GetParam().nome), GetParam().arquivo);
    EXPECT_EQ(nome_backup_valido(GetParam().nome), GetParam().valido);
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
    // The typed name spelled out: "..x" gives "ponto_ponto_x".
    [](const ::testing::TestParamInfo<CasoNome>& i) {
        std::string r;
        for (const unsigned char c : i.param.nome) {
            const char* palavra = c == '.'    ? "ponto"
                                  : c == '/'  ? "barra"
                                  : c == '\\' ? "contrabarra"
                                  : c == ' '  ? "espaco"
                                              : nullptr;
            if (!r.empty() && r.back() != '_' && (palavra || !std::isalnum(c))) r += '_';
            if (palavra) {
                r += palavra;
                r += '_';
            } else if (std::isalnum(c)) {
                r += static_cast<char>(c);
            } else {
                static const char hex[] = "0123456789abcdef";
                r += 'x';
                r += hex[c >> 4];
                r += hex[c & 15];
                r += '_';
            }
        }
        while (!r.empty() && r.back() == '_')
            r.pop_back();
        return r.empty() ? std::string("vazio") : r;
    });

} // namespace
} // namespace quarvel::documents
