#include "backup/pasta_backup.h"

#include "backup/local_backup.h"
#include "documents/arquivos.h"
#include "documents/mensagens.h"
#include "gravacao/pastas.h"
#include "gravacao/temporarios.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::backup {

using documents::kGravacaoEmCurso;
using documents::kNotaBackupJunto;
using documents::kNotaBackupPasta;
using documents::kPastaIndefinida;
using documents::kPastaNaoAberta;
using documents::kPastaNaoCriada;
using documents::kPastaNaoLida;
using documents::motivo_do_sistema;

namespace {

// Makes the folder and its missing parents, each synced into the folder
// above it. False with errno set when it cannot; a name that exists but is
// no folder gives ENOTDIR.
bool criar_pasta(const std::string& caminho) {
    if (gravacao::criar_pastas(caminho, 0777)) return true;
    // A link to nothing has a missing target: say so, not "exists".
    const int numero = errno;
    struct stat st {};
    if (numero == ENOTDIR && ::lstat(caminho.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::stat(caminho.c_str(), &st) != 0) {
        errno = ENOENT;
        return false;
    }
    errno = numero;
    return false;
}

// The folder, made when missing; empty with the warning in *erro otherwise.
QString criar(const QString& pasta, QString* erro) {
    const QString absoluta = QDir::cleanPath(QDir(pasta).absolutePath());
    if (criar_pasta(QFile::encodeName(absoluta).toStdString())) return absoluta;
    if (erro)
        *erro = QString::fromUtf8(kPastaNaoCriada)
                    .arg(QDir::toNativeSeparators(absoluta), motivo_do_sistema(errno));
    return {};
}

bool termina_com(const std::string& s, const char* fim) {
    const std::string f(fim);
    return s.size() >= f.size() && s.compare(s.size() - f.size(), f.size(), f) == 0;
}

bool e_backup(const std::string& nome) {
    return termina_com(nome, ".qvlbackup");
}

bool e_recuperacao(const std::string& nome) {
    return nome.rfind("recuperacao-", 0) == 0 && termina_com(nome, ".qvl");
}

// A temporary file of a save of a backup or a recovery file.
bool e_sobra(const std::string& nome) {
    std::string de;
    return gravacao::e_temporario(nome, &de) && (e_backup(de) || e_recuperacao(de));
}

// The hold of a window on a backup name (backup/trava_backup.h).
bool e_trava(const std::string& nome) {
    return nome.size() > 1 && nome.front() == '.' && termina_com(nome, ".qvlbackup.trava");
}

// Backup beside the program is, or could be made, writable.
bool junto_gravavel(const QByteArray& programa, const QByteArray& junto) {
    struct stat st {};
    if (::stat(junto.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) && ::access(junto.constData(), W_OK | X_OK) == 0;
    return errno == ENOENT && ::access(programa.constData(), W_OK | X_OK) == 0;
}

// The names of the regular files (not links) in the open folder `fd` that
// pass `aceitar`, in the folder's order.
template <class Filtro> std::vector<std::string> arquivos_comuns(int fd, Filtro aceitar) {
    std::vector<std::string> nomes;
    const int copia = ::dup(fd);
    DIR* d = copia >= 0 ? ::fdopendir(copia) : nullptr;
    if (!d) {
        if (copia >= 0) ::close(copia);
        return nomes;
    }
    while (const dirent* e = ::readdir(d)) {
        const std::string nome(e->d_name);
        if (!aceitar(nome)) continue;
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            nomes.push_back(nome);
    }
    ::closedir(d);
    return nomes;
}

} // namespace

QString local_de_backup() {
    AmbienteBackup a;
    a.forcada = qEnvironmentVariable("QUARVEL_PASTA_BACKUP").toStdString();
    const QString programa =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    a.pasta_programa = QFile::encodeName(programa).toStdString();
    a.junto_gravavel = !programa.isEmpty() &&
                       junto_gravavel(QFile::encodeName(programa),
                                      QFile::encodeName(programa + QStringLiteral("/Backup")));
    a.dados_xdg = qEnvironmentVariable("XDG_DATA_HOME").toStdString();
    a.casa = qEnvironmentVariable("HOME").toStdString();
    const std::string pasta = local_backup(a);
    if (pasta.empty()) return {};
    return QDir::cleanPath(
        QDir(QFile::decodeName(QByteArray::fromStdString(pasta))).absolutePath());
}

QString pasta_legivel(const QString& pasta, const QFontMetrics& medida, int largura) {
    QString legivel = pasta;
    const QString casa = QDir::cleanPath(qEnvironmentVariable("HOME"));
    if (casa.size() > 1 && pasta.startsWith(casa + QLatin1Char('/')))
        legivel = QLatin1Char('~') + pasta.mid(casa.size());
    return largura < 0 ? legivel : medida.elidedText(legivel, Qt::ElideMiddle, largura);
}

QString nota_pasta_backup(const QString& pasta, const QFontMetrics& medida, int largura) {
    if (pasta.isEmpty()) return QString::fromUtf8(kPastaIndefinida);
    const QString programa =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!programa.isEmpty() &&
        pasta == QDir::cleanPath(QDir(programa).absoluteFilePath(QStringLiteral("Backup"))))
        return QString::fromUtf8(kNotaBackupJunto);
    return QString::fromUtf8(kNotaBackupPasta).arg(pasta_legivel(pasta, medida, largura));
}

QString motivo_pasta_backup(const QString& pasta) {
    if (pasta.isEmpty()) return QString::fromUtf8(kPastaIndefinida);
    const QString nativo = QDir::toNativeSeparators(pasta);
    const QByteArray caminho = QFile::encodeName(pasta);
    const int fd = ::open(caminho.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    const int numero_aberto = errno;
    struct stat st {};
    // There but not readable as a folder.
    if (::stat(caminho.constData(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR))
        return QString::fromUtf8(kPastaNaoLida).arg(nativo, motivo_do_sistema(numero_aberto));
    // Missing: it could be made if the nearest folder that exists lets us.
    std::string acima = caminho.toStdString();
    while (::stat(acima.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) break;
        const std::size_t barra = acima.rfind('/');
        if (barra == std::string::npos || barra == 0) {
            acima = "/";
            break;
        }
        acima.resize(barra);
    }
    int numero = 0;
    if (::stat(acima.c_str(), &st) != 0)
        numero = errno;
    else if (!S_ISDIR(st.st_mode))
        numero = ENOTDIR;
    else if (::access(acima.c_str(), W_OK | X_OK) != 0)
        numero = errno;
    return numero == 0 ? QString()
                       : QString::fromUtf8(kPastaNaoCriada).arg(nativo, motivo_do_sistema(numero));
}

QString pasta_backup(QString* erro) {
    const QString pasta = local_de_backup();
    if (pasta.isEmpty()) {
        if (erro) *erro = QString::fromUtf8(kPastaIndefinida);
        return {};
    }
    return criar(pasta, erro);
}

QStringList listar_backups(const QString& pasta) {
    if (pasta.isEmpty()) return {};
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return {};
    QStringList nomes;
    // Hidden included: the name ".x" leads to the file ".qvlbackup".
    for (const std::string& nome :
         arquivos_comuns(fd, [](const std::string& n) { return e_backup(n) || e_recuperacao(n); }))
        nomes << QFile::decodeName(QByteArray::fromStdString(nome));
    ::close(fd);
    return nomes;
}

bool limpar_pasta_backup(const QString& pasta, QString* erro) {
    auto falhar = [erro](const QString& motivo) {
        if (erro) *erro = motivo;
        return false;
    };
    // An empty path would mean the current folder.
    if (pasta.isEmpty()) return falhar(QString::fromUtf8(kPastaIndefinida));
    const QByteArray caminho = QFile::encodeName(pasta);
    const QString nativo = QDir::toNativeSeparators(pasta);
    struct stat st {};
    if (::lstat(caminho.constData(), &st) != 0) {
        if (errno != ENOENT)
            return falhar(QString::fromUtf8(kPastaNaoAberta).arg(nativo, motivo_do_sistema(errno)));
        QString motivo;
        return !criar(pasta, &motivo).isEmpty() || falhar(motivo);
    }
    // Emptying the folder a link leads to could empty any folder at all.
    if (S_ISLNK(st.st_mode))
        return falhar(QStringLiteral("a pasta %1 é uma ligação simbólica, que não é seguida; "
                                     "nada foi apagado.")
                          .arg(nativo));
    // O_NOFOLLOW: a link swapped in after the check above is refused too.
    const int fd = ::open(caminho.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return falhar(QString::fromUtf8(kPastaNaoAberta)
                          .arg(nativo, motivo_do_sistema(errno == ELOOP ? ENOTDIR : errno)));
    QStringList ficaram;
    for (const std::string& nome : arquivos_comuns(fd, [](const std::string& n) {
             return e_backup(n) || e_recuperacao(n) || e_sobra(n) || e_trava(n);
         })) {
        const QString dito = QFile::decodeName(QByteArray::fromStdString(nome));
        if (e_trava(nome)) {
            // A window that holds it keeps it; it is no leftover.
            gravacao::apagar_sobra(fd, nome);
        } else if (e_sobra(nome)) {
            // Its save may still run: only a dead one's file goes.
            const gravacao::Sobra r = gravacao::apagar_sobra(fd, nome);
            if (r == gravacao::Sobra::EmUso)
                ficaram << QStringLiteral("%1 (%2)").arg(dito, QString::fromUtf8(kGravacaoEmCurso));
            else if (r == gravacao::Sobra::Falhou)
                ficaram << QStringLiteral("%1 (%2)").arg(dito, motivo_do_sistema(errno));
        } else if (::unlinkat(fd, nome.c_str(), 0) != 0) {
            ficaram << QStringLiteral("%1 (%2)").arg(dito, motivo_do_sistema(errno));
        }
    }
    ::close(fd);
    if (ficaram.isEmpty()) return true;
    if (ficaram.size() == 1)
        return falhar(QStringLiteral("o arquivo %1 não foi apagado.").arg(ficaram.first()));
    // Each file that stayed, with its reason; a long list is cut short.
    constexpr qsizetype kMostrados = 10;
    const QStringList mostrados = ficaram.mid(0, kMostrados);
    QString lista = mostrados.mid(0, mostrados.size() - 1).join(QStringLiteral(", "));
    if (ficaram.size() > kMostrados)
        lista +=
            QStringLiteral(", %1 e mais %2").arg(mostrados.last()).arg(ficaram.size() - kMostrados);
    else
        lista += QStringLiteral(" e %1").arg(mostrados.last());
    return falhar(QStringLiteral("os arquivos %1 não foram apagados.").arg(lista));
}

} // namespace quarvel::backup
