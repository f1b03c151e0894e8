#include "gravacao/atributos.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace quarvel::gravacao {

namespace {

// The names of the file's extended attributes, NUL-separated. False (errno
// set) when they cannot be listed; a file system without them gives none.
bool listar(int fd, std::vector<char>& nomes) {
    for (int tentativa = 0; tentativa < 5; ++tentativa) {
        const ssize_t n = ::flistxattr(fd, nullptr, 0);
        if (n < 0) {
            if (errno == ENOTSUP) {
                nomes.clear();
                return true;
            }
            return false;
        }
        nomes.resize(static_cast<std::size_t>(n));
        const ssize_t lido = n == 0 ? 0 : ::flistxattr(fd, nomes.data(), nomes.size());
        if (lido >= 0) {
            nomes.resize(static_cast<std::size_t>(lido));
            return true;
        }
        if (errno != ERANGE) return false; // ERANGE: one was added meanwhile
    }
    return false;
}

bool copiar_um(int origem, int destino, const char* nome) {
    std::vector<char> valor;
    for (int tentativa = 0; tentativa < 5; ++tentativa) {
        const ssize_t n = ::fgetxattr(origem, nome, nullptr, 0);
        if (n < 0) return errno == ENODATA; // removed meanwhile: nothing to keep
        valor.resize(static_cast<std::size_t>(n));
        const ssize_t lido = n == 0 ? 0 : ::fgetxattr(origem, nome, valor.data(), valor.size());
        if (lido >= 0) {
            valor.resize(static_cast<std::size_t>(lido));
            return ::fsetxattr(destino, nome, valor.data(), valor.size(), 0) == 0;
        }
        if (errno != ERANGE) return false;
    }
    return false;
}

} // namespace

bool copiar_atributos(int origem, int destino) {
    struct stat antigo {};
    if (::fstat(origem, &antigo) != 0) return false;
    // The owner first: changing it clears the set-id bits the mode then sets.
    struct stat novo {};
    if (::fstat(destino, &novo) != 0) return false;
    if ((novo.st_uid != antigo.st_uid || novo.st_gid != antigo.st_gid) &&
        ::fchown(destino, antigo.st_uid, antigo.st_gid) != 0)
        return false;
    if (::fchmod(destino, antigo.st_mode & 07777) != 0) return false;
    // The ACL last: it carries the group bits of the mode as its mask.
    std::vector<char> nomes;
    if (!listar(origem, nomes)) return false;
    for (std::size_t i = 0; i < nomes.size();) {
        const std::string nome(nomes.data() + i);
        i += nome.size() + 1;
        if (nome.empty()) continue;
        if (!copiar_um(origem, destino, nome.c_str())) return false;
    }
    if (::fstat(destino, &novo) != 0) return false;
    if (novo.st_uid != antigo.st_uid || novo.st_gid != antigo.st_gid ||
        (novo.st_mode & 07777) != (antigo.st_mode & 07777)) {
        errno = EPERM;
        return false;
    }
    return true;
}

} // namespace quarvel::gravacao
