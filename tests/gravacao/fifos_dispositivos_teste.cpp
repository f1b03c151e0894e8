// What stands at the name being saved, when it is not a regular file: a
// named pipe or a character device is written into and stays what it was;
// anything else is refused, untouched. Real nodes, made with mkfifo, mknod
// and bind in a temporary folder.
#include "gravacao/gravar.h"
#include "gravacao/mensagens.h"
#include "tests/gravacao/pasta_temporaria.h"
#include "tests/gravacao/processo.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace quarvel::gravacao {
namespace {

using testes::PastaTemporaria;

const std::string kBytes = "1.234,56\r\n-5,00\r\n";

// Makes the node; empty when made, else why the machine does not allow it.
using Preparo = std::function<std::string(const std::string& caminho)>;

std::string dispositivo(const std::string& caminho, mode_t tipo, unsigned maior, unsigned menor) {
    if (::mknod(caminho.c_str(), tipo | 0666, makedev(maior, menor)) != 0)
        return std::string("mknod is not allowed here: ") + std::strerror(errno);
    const int fd = ::open(caminho.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0 && errno == EACCES) return "device nodes cannot be opened here (nodev)";
    if (fd >= 0) ::close(fd);
    return {};
}

std::string fifo(const std::string& caminho) {
    return ::mkfifo(caminho.c_str(), 0666) == 0 ? std::string() : std::strerror(errno);
}

std::string soquete(const std::string& caminho) {
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    if (caminho.size() >= sizeof endereco.sun_path) return "the folder's path is too long";
    caminho.copy(endereco.sun_path, caminho.size());
    const bool ok = ::bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0;
    ::close(s);
    return ok ? std::string() : std::strerror(errno);
}

struct Caso {
    const char* nome;
    Preparo preparar;
    mode_t tipo;        // the kind of node that must stay at the name
    bool com_leitor;    // a reader takes the bytes from the pipe
    const char* recusa; // nullptr: the save goes through
    Ligacao ligacao = Ligacao::Seguir;
};

const Caso kCasos[] = {
    {"PipeComLeitor", fifo, S_IFIFO, true, nullptr},
    {"PipeComLeitorNoBackup", fifo, S_IFIFO, true, nullptr, Ligacao::Substituir},
    {"PipeSemLeitor", fifo, S_IFIFO, false, kPipeSemLeitor},
    {"DispositivoNulo", [](const std::string& c) { return dispositivo(c, S_IFCHR, 1, 3); }, S_IFCHR,
     false, nullptr},
    {"DispositivoZeroNoBackup", [](const std::string& c) { return dispositivo(c, S_IFCHR, 1, 5); },
     S_IFCHR, false, nullptr, Ligacao::Substituir},
    {"DispositivoDeBloco", [](const std::string& c) { return dispositivo(c, S_IFBLK, 7, 0); },
     S_IFBLK, false, kNaoEArquivoComum},
    {"Soquete", soquete, S_IFSOCK, false, kNaoEArquivoComum},
    {"Pasta", [](const std::string& c) { return ::mkdir(c.c_str(), 0777) == 0 ? "" : "mkdir"; },
     S_IFDIR, false, "É uma pasta"},
};

class NoEspecial : public ::testing::TestWithParam<Caso> {};

TEST_P(NoEspecial, EscritoDentroOuRecusadoSemSerSubstituido) {
    const Caso& c = GetParam();
    PastaTemporaria pasta;
    const std::string alvo = pasta / "alvo.qvl";
    if (const std::string motivo = c.preparar(alvo); !motivo.empty()) GTEST_SKIP() << motivo;

    std::string lido;
    std::thread leitor;
    int outro_escritor = -1;
    if (c.com_leitor) {
        // Opened before the save starts, as the reading end of `| lp` is.
        const int fd = ::open(alvo.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        ::fcntl(fd, F_SETFL, 0);
        // Keeps the reader from seeing the end before the save has begun.
        outro_escritor = ::open(alvo.c_str(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(outro_escritor, 0);
        leitor = std::thread([fd, &lido] {
            lido = testes::ler_tudo(fd);
            ::close(fd);
        });
    }
    std::string erro;
    const bool ok = gravar_atomico(alvo, kBytes, &erro, c.ligacao);
    if (outro_escritor >= 0) ::close(outro_escritor);
    if (leitor.joinable()) leitor.join();

    if (c.recusa) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(erro, c.recusa);
    } else {
        EXPECT_TRUE(ok) << erro;
    }
    if (c.com_leitor) {
        EXPECT_EQ(lido, kBytes);
    }
    struct stat st {};
    ASSERT_EQ(::lstat(alvo.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, c.tipo) << "the node was replaced";
    // Nothing else was made in the folder.
    std::size_t entradas = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(pasta.caminho()))
        ++entradas;
    EXPECT_EQ(entradas, 1u);
}

INSTANTIATE_TEST_SUITE_P(Nos, NoEspecial, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

// A reader that stops, or takes a little now and then, ends the save when
// the one deadline of the whole save runs out, however short each wait is.
enum class Leitor { Parado, ContaGotas, Desiste };

struct CasoLento {
    const char* nome;
    Leitor leitor;
};

const CasoLento kLentos[] = {
    {"LeitorParado", Leitor::Parado},
    {"LeitorContaGotas", Leitor::ContaGotas},
    {"DesistenciaDoUsuario", Leitor::Desiste},
};

class PipeLento : public ::testing::TestWithParam<CasoLento> {};

TEST_P(PipeLento, UmPrazoParaAGravacaoInteira) {
    PastaTemporaria pasta;
    const std::string alvo = pasta / "lento.pdf";
    ASSERT_EQ(fifo(alvo), "");
    const int fd = ::open(alvo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    // More than the pipe holds: the save must wait for the reader.
    const std::string bytes(200 * 1024, 'x');
    std::atomic<bool> fim{false}, desistir{false};
    std::thread leitor([&] {
        char bloco[4096];
        // 4 KiB every 200 ms: each wait is short, the whole would take 10 s.
        while (!fim && GetParam().leitor == Leitor::ContaGotas) {
            [[maybe_unused]] const ssize_t n = ::read(fd, bloco, sizeof bloco);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        if (GetParam().leitor == Leitor::Desiste) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            desistir = true;
        }
    });
    std::string erro;
    const Prazo prazo{GetParam().leitor == Leitor::Desiste ? kEsperaMaximaMs : 1500, &desistir};
    const bool ok = gravar_atomico(alvo, bytes, &erro, Ligacao::Seguir, prazo);
    fim = true;
    leitor.join();
    ::close(fd);
    EXPECT_FALSE(ok);
    EXPECT_EQ(erro, GetParam().leitor == Leitor::Desiste
                        ? std::string(kGravacaoCancelada)
                        : "O programa que lê não recebeu os dados em 2 s; a gravação foi "
                          "interrompida");
}

INSTANTIATE_TEST_SUITE_P(Prazo, PipeLento, ::testing::ValuesIn(kLentos),
                         [](const ::testing::TestParamInfo<CasoLento>& i) { return i.param.nome; });

// The program's own standard output, named as /dev/stdout: a pipe to the
// next program, or a device; never replaced by a file.
TEST(SaidaPadrao, PdfParaUmPipe) {
    PastaTemporaria pasta;
    const std::string entrada = pasta / "fita.txt";
    ASSERT_TRUE(testes::escrever(entrada, "12*50\r\n1.234,56\r\n"));
    testes::Processo quarvel({QUARVEL_BINARIO, "--pdf", "/dev/stdout", entrada}, true);
    const testes::Saida s = quarvel.esperar();
    EXPECT_EQ(s.status, 0) << s.erros;
    EXPECT_EQ(s.saida.substr(0, 5), "%PDF-");
    EXPECT_NE(s.saida.find("%%EOF"), std::string::npos);
}

} // namespace
} // namespace quarvel::gravacao
