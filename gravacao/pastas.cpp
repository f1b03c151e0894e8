#include "gravacao/pastas.h"

#include "gravacao/descritores.h"

#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::gravacao {
namespace {

std::string pasta_de(const std::string& caminho) {
    const std::size_t barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ".";
    if (barra == 0) return "/";
    return caminho.substr(0, barra);
}

bool sincronizar_fd(int fd) {
    const int r = sem_interrupcao([fd] { return ::fsync(fd); });
    return r == 0 || errno == EINVAL || errno == EROFS;
}

} // namespace

bool sincronizar_pasta(const std::string& pasta) {
    const int fd =
        sem_interrupcao([&] { return ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) return false;
    const bool ok = sincronizar_fd(fd);
    const int numero = errno;
    ::close(fd);
    errno = numero;
    return ok;
}

bool criar_pastas(const std::string& caminho, mode_t modo, bool* criada) {
    if (criada) *criada = false;
    // The missing folders, deepest first.
    std::vector<std::string> faltam;
    std::string atual = caminho;
    while (atual.size() > 1 && atual.back() == '/')
        atual.pop_back();
    struct stat st {};
    while (::stat(atual.c_str(), &st) != 0) {
        if (errno != ENOENT) return false;
        faltam.push_back(atual);
        const std::string acima = pasta_de(atual);
        if (acima == atual) break;
        atual = acima;
    }
    if (faltam.empty()) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    for (auto it = faltam.rbegin(); it != faltam.rend(); ++it) {
        if (::mkdir(it->c_str(), modo) != 0) {
            // Another process may have made it meanwhile.
            if (errno != EEXIST || ::stat(it->c_str(), &st) != 0) return false;
            if (!S_ISDIR(st.st_mode)) {
                errno = ENOTDIR;
                return false;
            }
            continue;
        }
        if (!sincronizar_pasta(pasta_de(*it))) return false;
        if (criada && std::next(it) == faltam.rend()) *criada = true;
    }
    return true;
}

bool apagar_sincronizado(const std::string& caminho) {
    if (::unlink(caminho.c_str()) != 0) return errno == ENOENT;
    return sincronizar_pasta(pasta_de(caminho));
}

bool apagar_sincronizado_em(int pasta, const std::string& nome) {
    if (::unlinkat(pasta, nome.c_str(), 0) != 0) return errno == ENOENT;
    return sincronizar_fd(pasta);
}

} // namespace quarvel::gravacao
