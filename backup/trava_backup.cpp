#include "backup/trava_backup.h"

#include "documents/arquivos.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::backup {

using documents::motivo_do_sistema;

QString TravaBackup::arquivo_trava(const QString& arquivo) {
    const qsizetype barra = arquivo.lastIndexOf(QLatin1Char('/'));
    return arquivo.left(barra + 1) + QLatin1Char('.') + arquivo.mid(barra + 1) +
           QStringLiteral(".trava");
}

TravaBackup::Resultado TravaBackup::tomar(const QString& arquivo, QString* erro) {
    if (fd_ >= 0 && arquivo == arquivo_) return Resultado::Obtida;
    soltar();
    const QByteArray nome = QFile::encodeName(arquivo_trava(arquivo));
    // Never through a link: the lock file is ours alone.
    const int fd =
        ::open(nome.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (erro) *erro = motivo_do_sistema(errno);
        return Resultado::Falhou;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int numero = errno;
        ::close(fd);
        if (numero == EWOULDBLOCK) return Resultado::EmUso;
        if (erro) *erro = motivo_do_sistema(numero);
        return Resultado::Falhou;
    }
    // Clearing the folder deletes lock files nobody holds: one deleted
    // between the open and the flock is no hold at all, so take it again.
    struct stat aberto {
    }, pelo_nome{};
    if (::fstat(fd, &aberto) != 0 || ::lstat(nome.constData(), &pelo_nome) != 0 ||
        aberto.st_dev != pelo_nome.st_dev || aberto.st_ino != pelo_nome.st_ino) {
        ::close(fd);
        if (++tentativas_ > 10) {
            tentativas_ = 0;
            if (erro) *erro = motivo_do_sistema(EAGAIN);
            return Resultado::Falhou;
        }
        const Resultado r = tomar(arquivo, erro);
        tentativas_ = 0;
        return r;
    }
    fd_ = fd;
    arquivo_ = arquivo;
    return Resultado::Obtida;
}

void TravaBackup::soltar() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    arquivo_.clear();
}

} // namespace quarvel::backup
