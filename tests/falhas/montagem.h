#pragma once
// A small tmpfs mounted on a folder for one test and unmounted when the test
// ends, however it ends. Only root (with the right to mount) can have one;
// elsewhere `motivo` says why, for the skip message.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace quarvel::testes {

class Tmpfs {
  public:
    Tmpfs(const QString& pasta, const char* opcoes) : pasta_(QFile::encodeName(pasta)) {
        if (::geteuid() != 0) {
            motivo = QStringLiteral("mounting a tmpfs needs root");
            return;
        }
        if (::mount("tmpfs", pasta_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, opcoes) != 0) {
            motivo = QStringLiteral("cannot mount a tmpfs here: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        montado_ = true;
    }
    ~Tmpfs() {
        if (montado_) ::umount2(pasta_.constData(), MNT_DETACH);
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;

    bool montado() const { return montado_; }

    // Read-only from now on (files stay, nothing can be deleted or written).
    bool somente_leitura() {
        return ::mount("tmpfs", pasta_.constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

    // Fills every free block with a file of zeros.
    bool encher(const QString& arquivo) {
        const QByteArray nome = QFile::encodeName(arquivo);
        const int fd = ::open(nome.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        char zeros[512] = {};
        while (::write(fd, zeros, sizeof zeros) > 0) {
        }
        const bool cheio = errno == ENOSPC;
        // Byte by byte, to the very last one.
        while (::write(fd, zeros, 1) > 0) {
        }
        ::close(fd);
        return cheio;
    }

    QString motivo;

  private:
    QByteArray pasta_;
    bool montado_ = false;
};

} // namespace quarvel::testes
