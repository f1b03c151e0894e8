#include "gravacao/atributos.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// Umask of the process, read without changing it (umask() would, for a
// moment, for every thread).
mode_t mascara_do_processo() {
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 022;
    char texto[4096];
    const ssize_t n = ::read(fd, texto, sizeof texto - 1);
    ::close(fd);
    if (n <= 0) return 022;
    texto[n] = '\0';
    const char* linha = std::strstr(texto, "Umask:");
    return linha ? static_cast<mode_t>(std::strtoul(linha + 6, nullptr, 8) & 0777) : 022;
}

// The permissions of a default ACL's owner, mask (else owning group) and
// others entries, from its system.posix_acl_default value: a 4-byte version,
// then entries of tag (16 bits), permissions (16 bits) and id (32 bits).
bool bits_do_acl_padrao(const std::vector<char>& valor, mode_t& modo) {
    constexpr std::size_t kCabecalho = 4, kEntrada = 8;
    if (valor.size() < kCabecalho || (valor.size() - kCabecalho) % kEntrada != 0) return false;
    auto u16 = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(valor[i])) |
               static_cast<unsigned>(static_cast<unsigned char>(valor[i + 1])) << 8;
    };
    int dono = -1, grupo = -1, mascara = -1, outros = -1;
    for (std::size_t i = kCabecalho; i < valor.size(); i += kEntrada) {
        const int bits = static_cast<int>(u16(i + 2) & 7);
        switch (u16(i)) {
        case 0x01:
            dono = bits;
            break; // ACL_USER_OBJ
        case 0x04:
            grupo = bits;
            break; // ACL_GROUP_OBJ
        case 0x10:
            mascara = bits;
            break; // ACL_MASK
        case 0x20:
            outros = bits;
            break; // ACL_OTHER
        default:
            break;
        }
    }
    if (dono < 0 || grupo < 0 || outros < 0) return false;
    modo = static_cast<mode_t>(dono << 6 | (mascara >= 0 ? mascara : grupo) << 3 | outros);
    return true;
}

} // namespace

mode_t modo_de_arquivo_novo(const std::string& pasta) {
    const char* nome = "system.posix_acl_default";
    for (int tentativa = 0; tentativa < 5; ++tentativa) {
        const ssize_t tamanho = ::getxattr(pasta.c_str(), nome, nullptr, 0);
        if (tamanho <= 0) break;
        std::vector<char> valor(static_cast<std::size_t>(tamanho));
        const ssize_t n = ::getxattr(pasta.c_str(), nome, valor.data(), valor.size());
        if (n < 0 && errno == ERANGE) continue; // it grew meanwhile
        mode_t modo = 0;
        if (n < 0) break;
        valor.resize(static_cast<std::size_t>(n));
        if (bits_do_acl_padrao(valor, modo)) return modo & 0666;
        break;
    }
    return 0666 & ~mascara_do_processo();
}

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
