// The temporary file of a save killed with SIGKILL is removed by the next
// save of the same file; one whose save still runs (its lock held) is left
// alone, and so is anything that is not a temporary file of that file,
// such as the user's ".malote.qvl.antigo".
#include "gravacao/gravar.h"
#include "gravacao/temporarios.h"
#include "tests/gravacao/pasta_temporaria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace quarvel::gravacao {
namespace {

using testes::PastaTemporaria;

std::vector<std::string> entradas(const std::string& pasta) {
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        nomes.push_back(e.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

// A process that starts a save of `nome` in `pasta`: makes its temporary
// file, writes part of it, and then dies by SIGKILL (morrer) or waits,
// holding it, until it is killed. Its pid once the file is there.
pid_t salvar_pela_metade(const std::string& pasta, const std::string& nome, bool morrer) {
    int pronto[2];
    if (::pipe(pronto) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::string temporario;
        const int fd = criar_temporario(pasta, nome, &temporario);
        if (fd < 0 || ::write(fd, "1.234,", 6) != 6) ::_exit(1);
        if (morrer) ::raise(SIGKILL);
        if (::write(pronto[1], "x", 1) != 1) ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(pronto[1]);
    char c;
    if (morrer) {
        int status = 0;
        ::waitpid(pid, &status, 0);
    } else if (::read(pronto[0], &c, 1) != 1) {
        ::kill(pid, SIGKILL);
    }
    ::close(pronto[0]);
    return pid;
}

struct Caso {
    const char* nome;
    const char* sobra; // a leftover made by hand; nullptr: by a real save
    bool save_vivo;    // the save that made it still runs
    bool fica;         // the next save of `arquivo` leaves it
    const char* arquivo = "malote.qvl";
};

const Caso kCasos[] = {
    {"GravacaoMorta", nullptr, false, false},
    {"GravacaoEmAndamento", nullptr, true, true},
    {"SobraSemTrava", ".malote.qvl.quarvel-aB3xY9", false, false},
    {"DeOutroArquivo", ".outro.qvl.quarvel-aB3xY9", false, true},
    {"NomeQueNaoETemporario", ".malote.qvl.quarvel-ab", false, true},
    {"NomeSemPonto", "malote.qvl.quarvel-aB3xY9", false, true},
    // The user's own files, and other programs' temporaries (rsync's), of
    // the old shape: never ours to remove.
    {"CopiaAntigaDoUsuario", ".caixa.qvl.antigo", false, true, "caixa.qvl"},
    {"BackupDoUsuario", ".saida.pdf.backup", false, true, "saida.pdf"},
    {"TemporarioDoRsync", ".malote.qvl.aB3xY9", false, true},
};

class Sobras : public ::testing::TestWithParam<Caso> {};

TEST_P(Sobras, AProximaGravacaoApagaAsDeGravacoesMortas) {
    const Caso& c = GetParam();
    PastaTemporaria pasta;
    const std::string arquivo = pasta / c.arquivo;
    ASSERT_TRUE(gravar_atomico(arquivo, "antigo", nullptr));
    pid_t vivo = -1;
    if (c.sobra) {
        ASSERT_TRUE(testes::escrever(pasta / c.sobra, "1.234,"));
    } else {
        vivo = salvar_pela_metade(pasta.caminho(), c.arquivo, !c.save_vivo);
        ASSERT_GT(vivo, 0);
    }
    const std::vector<std::string> com_sobra = entradas(pasta.caminho());
    ASSERT_EQ(com_sobra.size(), 2u);

    std::string erro;
    ASSERT_TRUE(gravar_atomico(arquivo, "novo", &erro)) << erro;
    EXPECT_EQ(testes::conteudo(arquivo), "novo");
    EXPECT_EQ(entradas(pasta.caminho()), c.fica ? com_sobra : std::vector<std::string>{c.arquivo});

    if (c.save_vivo) {
        // Once that save dies, its file goes with the next save.
        ::kill(vivo, SIGKILL);
        ::waitpid(vivo, nullptr, 0);
        ASSERT_TRUE(gravar_atomico(arquivo, "outro", &erro)) << erro;
        EXPECT_EQ(entradas(pasta.caminho()), std::vector<std::string>{c.arquivo});
    }
}

INSTANTIATE_TEST_SUITE_P(Temporarios, Sobras, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

} // namespace
} // namespace quarvel::gravacao
