#include "gravacao/temporarios.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::gravacao {

namespace {

constexpr std::size_t kLetras = 6; // the XXXXXX of mkostemps
constexpr std::size_t kNomeMaximo = 200;

bool letra_de_sorteio(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool mesmo_arquivo(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string prefixo_temporario(const std::string& nome) {
    return '.' + nome.substr(0, kNomeMaximo) + '.';
}

bool e_temporario(const std::string& entrada, std::string* nome) {
    // "." + at least one byte + "." + six letters.
    if (entrada.size() < kLetras + 3 || entrada.front() != '.') return false;
    const std::size_t ponto = entrada.size() - kLetras - 1;
    if (entrada[ponto] != '.') return false;
    for (std::size_t i = ponto + 1; i < entrada.size(); ++i)
        if (!letra_de_sorteio(entrada[i])) return false;
    if (nome) *nome = entrada.substr(1, ponto - 1);
    return true;
}

bool e_temporario_de(const std::string& entrada, const std::string& nome) {
    const std::string prefixo = prefixo_temporario(nome);
    return entrada.size() == prefixo.size() + kLetras &&
           entrada.compare(0, prefixo.size(), prefixo) == 0 && e_temporario(entrada);
}

int criar_unico(const std::string& pasta, const std::string& prefixo, const std::string& sufixo,
                std::string* caminho) {
    for (int tentativa = 0; tentativa < 10; ++tentativa) {
        std::string modelo = pasta + '/' + prefixo + "XXXXXX" + sufixo;
        std::vector<char> texto(modelo.begin(), modelo.end());
        texto.push_back('\0');
        const int fd = ::mkostemps(texto.data(), static_cast<int>(sufixo.size()), O_CLOEXEC);
        if (fd < 0) return -1;
        // Held until the descriptor closes: a cleaner that finds the file
        // locked knows its save is alive.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // A cleaner may have taken the name between mkostemps and flock.
        struct stat aberto {
        }, pelo_nome{};
        if (::fstat(fd, &aberto) == 0 && ::lstat(texto.data(), &pelo_nome) == 0 &&
            mesmo_arquivo(aberto, pelo_nome)) {
            if (caminho) *caminho = texto.data();
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

int criar_temporario(const std::string& pasta, const std::string& nome, std::string* caminho) {
    return criar_unico(pasta, prefixo_temporario(nome), std::string(), caminho);
}

Sobra apagar_sobra(int pasta_fd, const std::string& entrada) {
    const int fd =
        ::openat(pasta_fd, entrada.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Sobra::Apagada : Sobra::Falhou;
    Sobra r = Sobra::Apagada;
    struct stat aberto {
    }, pelo_nome{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        r = errno == EWOULDBLOCK ? Sobra::EmUso : Sobra::Falhou;
    } else if (::fstat(fd, &aberto) != 0 || !S_ISREG(aberto.st_mode)) {
        r = Sobra::Falhou;
        errno = EINVAL;
    } else if (::fstatat(pasta_fd, entrada.c_str(), &pelo_nome, AT_SYMLINK_NOFOLLOW) == 0 &&
               mesmo_arquivo(aberto, pelo_nome) && ::unlinkat(pasta_fd, entrada.c_str(), 0) != 0) {
        r = errno == ENOENT ? Sobra::Apagada : Sobra::Falhou;
    }
    const int numero = errno;
    ::close(fd);
    errno = numero;
    return r;
}

void apagar_sobras(const std::string& pasta, const std::string& nome) {
    const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int copia = ::dup(fd);
    DIR* d = copia >= 0 ? ::fdopendir(copia) : nullptr;
    if (!d) {
        if (copia >= 0) ::close(copia);
        ::close(fd);
        return;
    }
    // Most folders hold no leftover: a cheap look at each name first.
    const std::string prefixo = prefixo_temporario(nome);
    std::vector<std::string> sobras;
    while (const dirent* e = ::readdir(d)) {
        if (std::strncmp(e->d_name, prefixo.c_str(), prefixo.size()) != 0 ||
            std::strlen(e->d_name) != prefixo.size() + kLetras)
            continue;
        if (e_temporario_de(e->d_name, nome)) sobras.emplace_back(e->d_name);
    }
    ::closedir(d);
    for (const std::string& s : sobras)
        apagar_sobra(fd, s);
    ::close(fd);
}

} // namespace quarvel::gravacao
