#include "documents/arquivos.h"

#include "documents/limite_leitura.h"
#include "documents/mensagens.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::documents {

namespace {

// Runs a call again for as long as a signal interrupts it.
template <class F> auto sem_interrupcao(F chamada) {
    decltype(chamada()) r;
    do {
        r = chamada();
    } while (r == -1 && errno == EINTR);
    return r;
}

std::string pasta_de(const std::string& caminho) {
    const std::size_t barra = caminho.rfind('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? std::string("/") : caminho.substr(0, barra);
}

std::string nome_de(const std::string& caminho) {
    const std::size_t barra = caminho.rfind('/');
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

// Follows a chain of symbolic links standing at `caminho` to the name they
// lead to, which need not exist yet. False (errno set) on a loop.
bool seguir_ligacoes(std::string& caminho) {
    std::vector<char> alvo(PATH_MAX);
    for (int salto = 0; salto < 40; ++salto) {
        struct stat st {};
        // Anything but a link, or a name that cannot be examined: the open
        // that follows says what is wrong with it.
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

// A new, empty file with a name nobody else uses, in the folder of the one
// it will replace. Its descriptor, or -1 with errno set.
int criar_temporario(const std::string& pasta, const std::string& nome, std::string& temporario) {
    static std::atomic<unsigned> serie{0};
    static const char letras[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // Hidden, and short enough that a long document name still leaves room.
    const std::string base = pasta + "/." + nome.substr(0, 200) + '.';
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        timespec agora{};
        ::clock_gettime(CLOCK_REALTIME, &agora);
        unsigned long long sorteio = static_cast<unsigned long long>(agora.tv_nsec) * 2654435761u ^
                                     (static_cast<unsigned long long>(::getpid()) << 20) ^
                                     (static_cast<unsigned long long>(serie++) << 40);
        temporario = base;
        for (int i = 0; i < 6; ++i) {
            temporario += letras[sorteio % 36];
            sorteio /= 36;
        }
        const int fd = sem_interrupcao([&] {
            return ::open(temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool escrever_tudo(int fd, const char* p, std::size_t resta) {
    while (resta > 0) {
        const ssize_t n = ::write(fd, p, resta);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) { // no progress and no reason: take it as a device failure
            errno = EIO;
            return false;
        }
        p += n;
        resta -= static_cast<std::size_t>(n);
    }
    return true;
}

// Why a file of this kind is not read; empty for a regular file.
const char* recusa_do_tipo(mode_t modo) {
    if (S_ISREG(modo)) return nullptr;
    if (S_ISDIR(modo)) return kEPasta;
    if (S_ISFIFO(modo)) return kEFifo;
    if (S_ISCHR(modo) || S_ISBLK(modo)) return kEDispositivo;
    if (S_ISSOCK(modo)) return kESocket;
    return kNaoEArquivoComum;
}

// Why a name could not be opened for reading: a socket cannot be opened at
// all, and says so by its kind rather than by the system's ENXIO.
QString motivo_ao_abrir(const QByteArray& nome, int numero) {
    struct stat st {};
    if (numero == ENXIO && ::stat(nome.constData(), &st) == 0)
        if (const char* tipo = recusa_do_tipo(st.st_mode)) return QString::fromUtf8(tipo);
    return motivo_do_sistema(numero);
}

// Only a regular file, and only up to the size 50,000 values can take: a
// pipe or a device would block or never end, and the size is known before
// a byte is read.
std::optional<QByteArray> ler_descritor(int fd, QString* erro) {
    auto recusar = [&](const QString& motivo) -> std::optional<QByteArray> {
        ::close(fd);
        if (erro) *erro = motivo;
        return std::nullopt;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) return recusar(motivo_do_sistema(errno));
    if (const char* tipo = recusa_do_tipo(st.st_mode)) return recusar(QString::fromUtf8(tipo));
    constexpr auto limite = static_cast<qsizetype>(kMaximoBytesLeitura);
    if (st.st_size > limite) return recusar(QString::fromUtf8(kGrandeDemais));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char bloco[65536];
    // A file that grows while it is read stops one byte past the limit.
    while (bytes.size() <= limite) {
        const auto pedir = std::min<qsizetype>(sizeof bloco, limite + 1 - bytes.size());
        const ssize_t n =
            sem_interrupcao([&] { return ::read(fd, bloco, static_cast<std::size_t>(pedir)); });
        if (n < 0) return recusar(motivo_do_sistema(errno));
        if (n == 0) break;
        bytes.append(bloco, static_cast<qsizetype>(n));
    }
    if (bytes.size() > limite) return recusar(QString::fromUtf8(kGrandeDemais));
    ::close(fd);
    return bytes;
}

} // namespace

QString motivo_do_sistema(int numero) {
    struct Motivo {
        int numero;
        const char* texto;
    };
    static const Motivo motivos[] = {
        {ENOSPC, "Não há espaço disponível no dispositivo"},
        {EDQUOT, "Cota de disco excedida"},
        {EIO, "Erro de entrada/saída"},
        {EACCES, "Permissão negada"},
        {EPERM, "Operação não permitida"},
        {EROFS, "Sistema de arquivos somente para leitura"},
        {ENOENT, "Arquivo ou pasta inexistente"},
        {ENOTDIR, "Não é uma pasta"},
        {EISDIR, "É uma pasta"},
        {ENAMETOOLONG, "Nome de arquivo muito longo"},
        {ELOOP, "Ligações simbólicas demais no caminho"},
        {EFBIG, "Arquivo grande demais"},
        {EMFILE, "Arquivos abertos demais neste programa"},
        {ENFILE, "Arquivos abertos demais no sistema"},
        {EXDEV, "Ligação entre sistemas de arquivos diferentes"},
        {ETXTBSY, "Arquivo em uso por um programa em execução"},
        {EBUSY, "Dispositivo ou recurso ocupado"},
        {EEXIST, "O arquivo já existe"},
        {ENOMEM, "Memória insuficiente"},
        {EINVAL, "Argumento inválido"},
        {EAGAIN, "Recurso temporariamente indisponível"},
        {ENXIO, "Dispositivo ou endereço inexistente"},
        {ENODEV, "Dispositivo inexistente"},
        {ESTALE, "Arquivo remoto não está mais disponível"},
        {ENOTCONN, "O sistema de arquivos remoto não está conectado"},
        {EMLINK, "Ligações demais"},
        {ENOTEMPTY, "A pasta não está vazia"},
        {EBADF, "Descritor de arquivo inválido"},
    };
    for (const Motivo& m : motivos)
        if (m.numero == numero) return QString::fromUtf8(m.texto);
    return QString::fromLocal8Bit(std::strerror(numero));
}

std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro) {
    const QByteArray nome = QFile::encodeName(caminho);
    // Not blocked by a FIFO: the open returns at once and the type refuses it.
    const int fd = sem_interrupcao(
        [&] { return ::open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
    if (fd < 0) {
        if (erro) *erro = motivo_ao_abrir(nome, errno);
        return std::nullopt;
    }
    return ler_descritor(fd, erro);
}

std::optional<QByteArray> ler_arquivo_comum(const QString& caminho, QString* erro) {
    const QByteArray nome = QFile::encodeName(caminho);
    const int fd = sem_interrupcao(
        [&] { return ::open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK); });
    if (fd < 0) {
        const int numero = errno;
        struct stat st {};
        if (erro)
            *erro = numero == ELOOP && ::lstat(nome.constData(), &st) == 0 && S_ISLNK(st.st_mode)
                        ? QStringLiteral("É uma ligação simbólica, que não é seguida")
                        : motivo_ao_abrir(nome, numero);
        return std::nullopt;
    }
    return ler_descritor(fd, erro);
}

bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro,
                    Ligacao ligacao) {
    auto falhar = [erro](int numero) {
        if (erro) *erro = motivo_do_sistema(numero);
        return false;
    };
    std::string destino = QFile::encodeName(caminho).toStdString();
    if (destino.empty()) return falhar(ENOENT);
    if (ligacao == Ligacao::Seguir && !seguir_ligacoes(destino)) return falhar(errno);

    // The file being replaced gives its owner and permission bits; a link
    // being replaced gives nothing, and a folder is never replaced.
    struct stat antigo {};
    const bool existe = ::lstat(destino.c_str(), &antigo) == 0;
    if (existe && S_ISDIR(antigo.st_mode)) return falhar(EISDIR);
    const bool substitui_arquivo = existe && S_ISREG(antigo.st_mode);

    const std::string pasta = pasta_de(destino);
    std::string temporario;
    int fd = criar_temporario(pasta, nome_de(destino), temporario);
    if (fd < 0) return falhar(errno);
    auto desistir = [&](int numero) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporario.c_str());
        return falhar(numero);
    };

    if (substitui_arquivo) {
        // Best effort: a file system without owners or modes still saves.
        // The mode after the owner, which may clear the set-id bits.
        [[maybe_unused]] const bool mesmo_dono =
            (antigo.st_uid == ::geteuid() && antigo.st_gid == ::getegid()) ||
            ::fchown(fd, antigo.st_uid, antigo.st_gid) == 0;
        ::fchmod(fd, antigo.st_mode & 07777);
    }
    if (!escrever_tudo(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())))
        return desistir(errno);
    // The bytes on the disk before the name points at them.
    if (sem_interrupcao([&] { return ::fsync(fd); }) != 0) return desistir(errno);
    const int fechou = ::close(fd);
    fd = -1;
    if (fechou != 0 && errno != EINTR) return desistir(errno);
    if (::rename(temporario.c_str(), destino.c_str()) != 0) return desistir(errno);

    // The new name reaches the disk with its folder. Should that fail, the new
    // file is already complete in place, but the save is reported as failed:
    // it might not survive a power cut, and the document stays unsaved.
    const int dir =
        sem_interrupcao([&] { return ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (dir >= 0) {
        const int sincronizou = sem_interrupcao([&] { return ::fsync(dir); });
        const int numero = errno;
        ::close(dir);
        // EINVAL: a file system that cannot sync folders.
        if (sincronizou != 0 && numero != EINVAL) return falhar(numero);
    }
    return true;
}

QString nome_sem_pasta(const QString& caminho) {
    const qsizetype barra =
        std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}

} // namespace quarvel::documents
