#include "documents/arquivos.h"

#include "gravacao/motivos.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
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

std::optional<QByteArray> ler_descritor(int fd, QString* erro) {
    auto falhar = [&](int numero) -> std::optional<QByteArray> {
        ::close(fd);
        if (erro) *erro = motivo_do_sistema(numero);
        return std::nullopt;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) return falhar(errno);
    if (S_ISDIR(st.st_mode)) return falhar(EISDIR);
    QByteArray bytes;
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<qsizetype>(st.st_size));
    char bloco[65536];
    for (;;) {
        const ssize_t n = sem_interrupcao([&] { return ::read(fd, bloco, sizeof bloco); });
        if (n < 0) return falhar(errno);
        if (n == 0) break;
        bytes.append(bloco, static_cast<qsizetype>(n));
    }
    ::close(fd);
    return bytes;
}

} // namespace

QString motivo_do_sistema(int numero) {
    return QString::fromStdString(gravacao::motivo_do_sistema(numero));
}

std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro) {
    const QByteArray nome = QFile::encodeName(caminho);
    const int fd = sem_interrupcao([&] { return ::open(nome.constData(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        if (erro) *erro = motivo_do_sistema(errno);
        return std::nullopt;
    }
    return ler_descritor(fd, erro);
}

std::optional<QByteArray> ler_arquivo_comum(const QString& caminho, QString* erro) {
    const QByteArray nome = QFile::encodeName(caminho);
    // Not blocked by a FIFO put in place of the file: it is refused below.
    const int fd = sem_interrupcao(
        [&] { return ::open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK); });
    if (fd < 0) {
        const int numero = errno;
        struct stat st {};
        if (erro)
            *erro = numero == ELOOP && ::lstat(nome.constData(), &st) == 0 && S_ISLNK(st.st_mode)
                        ? QStringLiteral("É uma ligação simbólica, que não é seguida")
                        : motivo_do_sistema(numero);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (erro) *erro = QStringLiteral("Não é um arquivo comum");
        return std::nullopt;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return ler_descritor(fd, erro);
}

bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro,
                    Ligacao ligacao) {
    std::string motivo;
    if (gravacao::gravar_atomico(QFile::encodeName(caminho).toStdString(),
                                 {bytes.constData(), static_cast<std::size_t>(bytes.size())},
                                 &motivo, ligacao))
        return true;
    if (erro) *erro = QString::fromStdString(motivo);
    return false;
}

QString nome_sem_pasta(const QString& caminho) {
    const qsizetype barra =
        std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}

} // namespace quarvel::documents
