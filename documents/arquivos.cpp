#include "documents/arquivos.h"

#include "documents/limite_leitura.h"
#include "documents/mensagens.h"
#include "gravacao/descritores.h"
#include "gravacao/motivos.h"
#include "gravacao/temporarios.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

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

using gravacao::sem_interrupcao;

namespace {

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
    return QString::fromStdString(gravacao::motivo_do_sistema(numero));
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
    std::string motivo;
    if (gravacao::gravar_atomico(QFile::encodeName(caminho).toStdString(),
                                 {bytes.constData(), static_cast<std::size_t>(bytes.size())},
                                 &motivo, ligacao))
        return true;
    if (erro) *erro = QString::fromStdString(motivo);
    return false;
}

QString copia_interrompida(const QString& caminho) {
    // Several interrupted saves: the newest copy holds the last document
    // saved whole.
    QString nova;
    QDateTime quando;
    for (const std::string& c : gravacao::copias_de(QFile::encodeName(caminho).toStdString())) {
        const QString copia = QFile::decodeName(QByteArray::fromStdString(c));
        const QDateTime modificada = QFileInfo(copia).lastModified();
        if (nova.isEmpty() || modificada > quando) {
            nova = copia;
            quando = modificada;
        }
    }
    return nova;
}

QString nome_sem_pasta(const QString& caminho) {
    const qsizetype barra =
        std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}

} // namespace quarvel::documents
