#include "gravacao/temporarios.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::gravacao {

namespace {

constexpr std::size_t kLetras = 6; // the XXXXXX of mkostemps
constexpr std::size_t kNomeMaximo = 200;
// The mark no file of the user's carries: ".saida.pdf.backup" or rsync's
// ".caixa.qvl.Ab12Cd" have the shape of a dot, a name and a suffix too.
constexpr std::string_view kMarca = ".quarvel-";

bool letra_de_sorteio(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool mesmo_arquivo(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string prefixo_temporario(const std::string& nome) {
    return '.' + nome.substr(0, kNomeMaximo) + std::string(kMarca);
}

bool e_temporario(const std::string& entrada, std::string* nome) {
    // "." + at least one byte + ".quarvel-" + six letters.
    if (entrada.size() < 2 + kMarca.size() + kLetras || entrada.front() != '.') return false;
    const std::size_t marca = entrada.size() - kLetras - kMarca.size();
    if (entrada.compare(marca, kMarca.size(), kMarca) != 0) return false;
    for (std::size_t i = marca + kMarca.size(); i < entrada.size(); ++i)
        if (!letra_de_sorteio(entrada[i])) return false;
    if (nome) *nome = entrada.substr(1, marca - 1);
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

std::pair<std::string, std::string> partes_da_copia(const std::string& nome) {
    const std::size_t ponto = nome.rfind('.');
    if (ponto == std::string::npos || ponto == 0) return {nome + ".copia-", std::string()};
    return {nome.substr(0, ponto) + ".copia-", nome.substr(ponto)};
}

std::vector<std::string> copias_de(const std::string& caminho) {
    const std::size_t barra = caminho.rfind('/');
    const std::string pasta =
        barra == std::string::npos ? "." : (barra == 0 ? "/" : caminho.substr(0, barra));
    const std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    const auto [prefixo, sufixo] = partes_da_copia(nome);
    std::vector<std::string> copias;
    DIR* d = ::opendir(pasta.c_str());
    if (!d) return copias;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view entrada(e->d_name);
        if (entrada.size() != prefixo.size() + kLetras + sufixo.size() ||
            entrada.compare(0, prefixo.size(), prefixo) != 0 ||
            entrada.compare(entrada.size() - sufixo.size(), sufixo.size(), sufixo) != 0)
            continue;
        bool letras = true;
        for (std::size_t i = prefixo.size(); i < prefixo.size() + kLetras; ++i)
            letras = letras && letra_de_sorteio(entrada[i]);
        struct stat st {};
        const std::string inteiro =
            (barra == std::string::npos ? std::string() : pasta + '/') + std::string(entrada);
        if (letras && ::lstat(inteiro.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            copias.push_back(inteiro);
    }
    ::closedir(d);
    std::sort(copias.begin(), copias.end());
    return copias;
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
