#include "gravacao/gravar.h"

#include "gravacao/atributos.h"
#include "gravacao/descritores.h"
#include "gravacao/mensagens.h"
#include "gravacao/motivos.h"
#include "gravacao/temporarios.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::gravacao {

namespace {

std::string pasta_de(const std::string& caminho) {
    const std::size_t barra = caminho.rfind('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? std::string("/") : caminho.substr(0, barra);
}

std::string nome_de(const std::string& caminho) {
    const std::size_t barra = caminho.rfind('/');
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

bool mesmo_arquivo(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Follows a chain of symbolic links standing at `caminho` to the name they
// lead to, which need not exist yet. False (errno set) on a loop.
bool seguir_ligacoes(std::string& caminho) {
    std::vector<char> alvo(PATH_MAX);
    for (int salto = 0; salto < 40; ++salto) {
        struct stat st {};
        // Anything but a link, or a name that cannot be examined: the calls
        // that follow say what is wrong with it.
        if (::lstat(caminho.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        const ssize_t n = ::readlink(caminho.c_str(), alvo.data(), alvo.size());
        if (n < 0) return true;
        if (static_cast<std::size_t>(n) >= alvo.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string destino(alvo.data(), static_cast<std::size_t>(n));
        caminho = destino.front() == '/' ? destino : pasta_de(caminho) + '/' + destino;
    }
    errno = ELOOP;
    return false;
}

bool ler_tudo(int fd, std::string& bytes) {
    char bloco[65536];
    for (;;) {
        const ssize_t n = sem_interrupcao([&] { return ::read(fd, bloco, sizeof bloco); });
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(bloco, static_cast<std::size_t>(n));
    }
}

// The folder's entries reach the disk. EINVAL: a file system that cannot
// sync folders.
bool sincronizar_pasta(const std::string& pasta) {
    const int dir =
        sem_interrupcao([&] { return ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (dir < 0) return true;
    const int sincronizou = sem_interrupcao([&] { return ::fsync(dir); });
    const int numero = errno;
    ::close(dir);
    errno = numero;
    return sincronizou == 0 || numero == EINVAL;
}

class Gravacao {
  public:
    Gravacao(std::string_view bytes, std::string* erro, const Prazo& prazo)
        : bytes_(bytes), erro_(erro), prazo_(prazo) {}
    ~Gravacao() {
        if (alvo_ >= 0) ::close(alvo_);
    }

    bool executar(const std::string& caminho, Ligacao ligacao);

  private:
    bool falhar(int numero) { return falhar_com(motivo_do_sistema(numero)); }
    bool falhar_com(const std::string& motivo) {
        if (erro_) *erro_ = motivo;
        return false;
    }
    bool recusar_abertura(const std::string& caminho, int numero);
    bool em_especial();
    bool arquivo_novo(const std::string& destino, const struct stat* antigo);
    bool no_lugar(const std::string& destino, const struct stat& antigo);

    std::string_view bytes_;
    std::string* erro_;
    Prazo prazo_;
    int alvo_ = -1; // the file at the name, opened for writing
};

bool Gravacao::executar(const std::string& caminho, Ligacao ligacao) {
    if (caminho.empty()) return falhar(ENOENT);
    // Opening for writing is the test a plain write would pass: permissions,
    // ACLs, read-only mounts. Never blocking: a pipe without a reader is
    // refused, not waited for. Nothing is truncated.
    const int seguir = ligacao == Ligacao::Seguir ? 0 : O_NOFOLLOW;
    alvo_ = sem_interrupcao([&] {
        return ::open(caminho.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | seguir);
    });
    if (alvo_ < 0) {
        const int numero = errno;
        struct stat st {};
        std::string destino = caminho;
        if (numero == ENOENT) {
            // Nothing there yet, or a link to a name that does not exist.
            if (ligacao == Ligacao::Seguir && !seguir_ligacoes(destino)) return falhar(errno);
            return arquivo_novo(destino, nullptr);
        }
        if (numero == ELOOP && ligacao == Ligacao::Substituir &&
            ::lstat(caminho.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            return arquivo_novo(destino, nullptr); // the link itself is replaced
        return recusar_abertura(caminho, numero);
    }
    struct stat antigo {};
    if (::fstat(alvo_, &antigo) != 0) return falhar(errno);
    if (S_ISFIFO(antigo.st_mode) || S_ISCHR(antigo.st_mode)) return em_especial();
    if (!S_ISREG(antigo.st_mode)) return falhar_com(kNaoEArquivoComum);

    // The name to rename over: where the links lead, still this very file.
    std::string destino = caminho;
    if (ligacao == Ligacao::Seguir && !seguir_ligacoes(destino)) return falhar(errno);
    struct stat pelo_nome {};
    if (::lstat(destino.c_str(), &pelo_nome) != 0 || !mesmo_arquivo(antigo, pelo_nome))
        return falhar_com(kTrocadoDuranteAGravacao);
    // Renaming would split hard links: they all see the new bytes instead.
    if (antigo.st_nlink > 1) return no_lugar(destino, antigo);
    return arquivo_novo(destino, &antigo);
}

bool Gravacao::recusar_abertura(const std::string& caminho, int numero) {
    struct stat st {};
    const bool existe = ::stat(caminho.c_str(), &st) == 0;
    if (numero == ENXIO && existe)
        return falhar_com(S_ISFIFO(st.st_mode) ? kPipeSemLeitor : kNaoEArquivoComum);
    if (numero == EACCES && existe && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
        return falhar_com(kSomenteLeitura);
    return falhar(numero);
}

// A pipe or a device: the bytes go into it, as a shell's redirection would
// send them; there is nothing to sync or rename.
bool Gravacao::em_especial() {
    // A reader that went away fails the write with EPIPE instead of killing
    // the program with SIGPIPE.
    sigset_t pipe_fechado, antes, pendentes;
    sigemptyset(&pipe_fechado);
    sigaddset(&pipe_fechado, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipe_fechado, &antes);
    sigpending(&pendentes);
    const bool ja_pendente = sigismember(&pendentes, SIGPIPE) == 1;

    // One deadline for the whole save: a reader that takes a little now and
    // then must not stretch it wait by wait.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(prazo_.ms);
    const char* p = bytes_.data();
    std::size_t resta = bytes_.size();
    int numero = 0;
    const char* motivo = nullptr;
    while (resta > 0) {
        const ssize_t n = ::write(alvo_, p, resta);
        if (n > 0) {
            p += n;
            resta -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            if (prazo_.desistir && prazo_.desistir->load()) {
                motivo = kGravacaoCancelada;
                break;
            }
            const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   limite - std::chrono::steady_clock::now())
                                   .count();
            if (falta <= 0) {
                motivo = kPrazoEsgotado;
                break;
            }
            const int espera = static_cast<int>(
                prazo_.desistir ? std::min<long long>(falta, kIntervaloDesistenciaMs) : falta);
            pollfd pf{alvo_, POLLOUT, 0};
            if (sem_interrupcao([&] { return ::poll(&pf, 1, espera); }) >= 0) continue;
        }
        numero = n == 0 ? EIO : errno;
        break;
    }
    if (numero == EPIPE && !ja_pendente) {
        const timespec nada{0, 0};
        sigtimedwait(&pipe_fechado, nullptr, &nada);
    }
    ::pthread_sigmask(SIG_SETMASK, &antes, nullptr);
    if (motivo == kPrazoEsgotado) {
        std::string texto = kPrazoEsgotado;
        texto.replace(texto.find("%1"), 2, std::to_string((prazo_.ms + 999) / 1000));
        return falhar_com(texto);
    }
    if (motivo) return falhar_com(motivo);
    return numero == 0 || falhar(numero);
}

// A new file takes the name: written beside it, synced, then renamed over
// whatever stands there. `antigo`: the regular file it replaces, whose
// owner, mode and attributes it must carry; when it cannot, the save goes
// in place instead.
bool Gravacao::arquivo_novo(const std::string& destino, const struct stat* antigo) {
    const std::string pasta = pasta_de(destino);
    const std::string nome = nome_de(destino);
    apagar_sobras(pasta, nome);
    std::string temporario;
    int fd = criar_temporario(pasta, nome, &temporario);
    if (fd < 0) return falhar(errno);
    auto desistir = [&](int numero) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporario.c_str());
        return falhar(numero);
    };
    if (antigo) {
        if (!copiar_atributos(alvo_, fd)) {
            ::close(fd);
            fd = -1;
            ::unlink(temporario.c_str());
            return no_lugar(destino, *antigo);
        }
    } else if (::fchmod(fd, modo_de_arquivo_novo(pasta)) != 0) {
        return desistir(errno);
    }
    if (!escrever_tudo(fd, bytes_.data(), bytes_.size())) return desistir(errno);
    // The bytes on the disk before the name points at them.
    if (sem_interrupcao([&] { return ::fsync(fd); }) != 0) return desistir(errno);
    const int fechou = ::close(fd);
    fd = -1;
    if (fechou != 0 && errno != EINTR) return desistir(errno);
    if (::rename(temporario.c_str(), destino.c_str()) != 0) return desistir(errno);
    // The new name reaches the disk with its folder. Should that fail, the new
    // file is already complete in place, but the save is reported as failed:
    // it might not survive a power cut, and the document stays unsaved.
    return sincronizar_pasta(pasta) || falhar(errno);
}

// The file keeps its inode, so its owner, group, mode, ACL, attributes and
// hard links stay. Its old bytes are first kept in a synced, verified copy
// beside it; that copy goes only when the new bytes are on the disk, or the
// old ones are back.
bool Gravacao::no_lugar(const std::string& destino, const struct stat& antigo) {
    const std::string pasta = pasta_de(destino);
    std::string antigos;
    {
        const int ler = sem_interrupcao([&] {
            return ::open(destino.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        });
        if (ler < 0) return falhar(errno);
        struct stat st {};
        const bool mesmo = ::fstat(ler, &st) == 0 && mesmo_arquivo(st, antigo);
        const bool lido = mesmo && ler_tudo(ler, antigos);
        const int numero = errno;
        ::close(ler);
        if (!mesmo) return falhar_com(kTrocadoDuranteAGravacao);
        if (!lido) return falhar(numero);
    }

    const auto [prefixo, sufixo] = partes_da_copia(nome_de(destino));
    std::string copia;
    const int fd = criar_unico(pasta, prefixo, sufixo, &copia);
    if (fd < 0) return falhar(errno);
    // Readable by those who could read the file (best effort: the saver may
    // not belong to its group).
    [[maybe_unused]] const int grupo = ::fchown(fd, static_cast<uid_t>(-1), antigo.st_gid);
    ::fchmod(fd, antigo.st_mode & 0666);
    std::string conferida;
    const bool guardada = escrever_tudo(fd, antigos.data(), antigos.size()) &&
                          sem_interrupcao([&] { return ::fsync(fd); }) == 0 &&
                          ::lseek(fd, 0, SEEK_SET) == 0;
    int numero = errno;
    if (guardada) {
        const int releitura = ::open(copia.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (releitura >= 0) {
            ler_tudo(releitura, conferida);
            ::close(releitura);
        }
    }
    ::close(fd);
    if (!guardada || conferida != antigos || !sincronizar_pasta(pasta)) {
        if (guardada) numero = errno;
        ::unlink(copia.c_str());
        return guardada && conferida != antigos ? falhar_com(kCopiaNaoConfere) : falhar(numero);
    }

    auto escrever = [this](std::string_view b) {
        return ::lseek(alvo_, 0, SEEK_SET) == 0 && escrever_tudo(alvo_, b.data(), b.size()) &&
               sem_interrupcao([&] { return ::ftruncate(alvo_, static_cast<off_t>(b.size())); }) ==
                   0 &&
               sem_interrupcao([&] { return ::fsync(alvo_); }) == 0;
    };
    ::fcntl(alvo_, F_SETFL, ::fcntl(alvo_, F_GETFL) & ~O_NONBLOCK);
    if (!escrever(bytes_)) {
        numero = errno;
        // The old bytes back where they were; the copy stays if they are not.
        if (!escrever(antigos)) {
            std::string motivo = kCopiaGuardada;
            motivo.replace(motivo.find("%1"), 2, motivo_do_sistema(numero));
            motivo.replace(motivo.find("%2"), 2, copia);
            return falhar_com(motivo);
        }
        ::unlink(copia.c_str());
        sincronizar_pasta(pasta);
        return falhar(numero);
    }
    ::unlink(copia.c_str());
    sincronizar_pasta(pasta); // a copy that comes back after a power cut is harmless
    return true;
}

} // namespace

bool gravar_atomico(const std::string& caminho, std::string_view bytes, std::string* erro,
                    Ligacao ligacao, const Prazo& prazo) {
    return Gravacao(bytes, erro, prazo).executar(caminho, ligacao);
}

bool e_pipe_ou_dispositivo(const std::string& caminho) {
    struct stat st {};
    return ::stat(caminho.c_str(), &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode));
}

} // namespace quarvel::gravacao
