// A save written in place (here: a file with two hard links) under real
// failing system calls, injected by the preloaded fault library: whichever
// write or sync fails, the file and both its names hold the old bytes, the
// copy of them is gone, and the reason is the system's. Only the folder's
// last sync, after the copy is deleted, may fail without failing the save:
// the new bytes are on the disk by then.
#include "gravacao/gravar.h"
#include "tests/falhas/falhas.h"
#include "tests/gravacao/pasta_temporaria.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::gravacao {
namespace {

using testes::Chamada;
using testes::Falhas;

enum class Posicao { Primeira, Meio, Ultima };

struct Caso {
    Chamada chamada;
    Posicao posicao;
    bool salvo; // the failure comes when the new bytes are already synced
};

std::string nome_caso(const ::testing::TestParamInfo<Caso>& i) {
    static const char* chamadas[] = {"Escrita", "Sincronia", "Renomeacao"};
    static const char* posicoes[] = {"Primeira", "Meio", "Ultima"};
    return std::string(chamadas[static_cast<int>(i.param.chamada)]) + '_' +
           posicoes[static_cast<int>(i.param.posicao)];
}

// A file of old bytes with a second name in `pasta`; the new bytes are
// longer, so writing them in place grows the file.
struct Cena {
    explicit Cena(const testes::PastaTemporaria& pasta)
        : arquivo(pasta / "malote.qvl"), outro(pasta / "outro.qvl") {
        testes::escrever(arquivo, antigos);
        ::link(arquivo.c_str(), outro.c_str());
    }
    std::string arquivo, outro;
    std::string antigos = std::string(3000, 'a');
    std::string novos = std::string(5000, 'n');
};

std::size_t entradas(const std::string& pasta) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(pasta))
        ++n;
    return n;
}

class NoLugarComFalha : public ::testing::TestWithParam<Caso> {};

TEST_P(NoLugarComFalha, OArquivoFicaComOsBytesAntigos) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    testes::Desarmar desarmar;
    std::string erro;
    int chamadas = 0;
    {
        // A rehearsal counts the calls of the same save.
        testes::PastaTemporaria ensaio;
        Cena cena(ensaio);
        Falhas::contar(QString::fromStdString(ensaio.caminho()));
        Falhas::escritas_curtas(512);
        ASSERT_TRUE(gravar_atomico(cena.arquivo, cena.novos, &erro)) << erro;
        Falhas::desarmar();
        chamadas = Falhas::contagem(GetParam().chamada);
        ASSERT_EQ(testes::conteudo(cena.outro), cena.novos);
    }
    ASSERT_GT(chamadas, 0);
    const int ordem = GetParam().posicao == Posicao::Primeira ? 1
                      : GetParam().posicao == Posicao::Meio   ? (chamadas + 1) / 2
                                                              : chamadas;
    testes::PastaTemporaria pasta;
    Cena cena(pasta);
    struct stat antes {};
    ASSERT_EQ(::stat(cena.arquivo.c_str(), &antes), 0);
    Falhas::armar(QString::fromStdString(pasta.caminho()), GetParam().chamada, ordem, EIO);
    Falhas::escritas_curtas(512);
    const bool ok = gravar_atomico(cena.arquivo, cena.novos, &erro);
    Falhas::desarmar();
    ASSERT_TRUE(Falhas::disparou()) << "call " << ordem << " of " << chamadas << " never came";

    const std::string& esperados = GetParam().salvo ? cena.novos : cena.antigos;
    EXPECT_EQ(ok, GetParam().salvo) << erro;
    if (!GetParam().salvo) {
        EXPECT_EQ(erro, "Erro de entrada/saída");
    }
    EXPECT_TRUE(testes::conteudo(cena.arquivo) == esperados);
    EXPECT_TRUE(testes::conteudo(cena.outro) == esperados);
    struct stat depois {};
    ASSERT_EQ(::stat(cena.arquivo.c_str(), &depois), 0);
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(depois.st_nlink, 2u);
    EXPECT_EQ(entradas(pasta.caminho()), 2u) << "the copy or a temporary file stayed";
}

std::vector<Caso> casos() {
    std::vector<Caso> r;
    for (Chamada c : {Chamada::Escrita, Chamada::Sincronia})
        for (Posicao p : {Posicao::Primeira, Posicao::Meio, Posicao::Ultima})
            r.push_back({c, p, c == Chamada::Sincronia && p == Posicao::Ultima});
    return r;
}

INSTANTIATE_TEST_SUITE_P(Chamadas, NoLugarComFalha, ::testing::ValuesIn(casos()), nome_caso);

} // namespace
} // namespace quarvel::gravacao
