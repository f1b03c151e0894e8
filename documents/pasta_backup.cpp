#include "documents/pasta_backup.h"

#include "documents/arquivos.h"
#include "documents/mensagens.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::documents {

namespace {

// Makes the folder and its missing parents. False with errno set when it
// cannot; a name that exists but is no folder gives ENOTDIR.
bool criar_pasta(const std::string& caminho) {
    struct stat st {};
    if (::stat(caminho.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    if (errno != ENOENT) return false;
    const std::size_t barra = caminho.rfind('/');
    if (barra != std::string::npos && barra > 0 && !criar_pasta(caminho.substr(0, barra)))
        return false;
    if (::mkdir(caminho.c_str(), 0777) != 0 && errno != EEXIST) return false;
    if (::stat(caminho.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
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

// The folder exists (made when missing) and a file can really be created in
// it; permission bits alone do not tell about read-only mounts.
bool pasta_utilizavel(const QString& pasta) {
    if (criar(pasta, nullptr).isEmpty()) return false;
    QTemporaryFile teste(pasta + QStringLiteral("/.quarvel-teste-XXXXXX"));
    return teste.open();
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

QString pasta_backup(QString* erro) {
    const QString forcada = qEnvironmentVariable("QUARVEL_PASTA_BACKUP");
    if (!forcada.isEmpty()) return criar(forcada, erro);

    const QString junto = QCoreApplication::applicationDirPath() + QStringLiteral("/Backup");
    if (!QCoreApplication::applicationDirPath().isEmpty() && pasta_utilizavel(junto))
        return QDir::cleanPath(QDir(junto).absolutePath());

    const QString dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dados.isEmpty()) {
        if (erro)
            *erro = QString::fromUtf8(kPastaNaoCriada)
                        .arg(QDir::toNativeSeparators(junto), motivo_do_sistema(EACCES));
        return {};
    }
    return criar(dados + QStringLiteral("/Backup"), erro);
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
    if (pasta.isEmpty()) return falhar(QStringLiteral("A pasta Backup não está definida."));
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
    for (const std::string& nome : arquivos_comuns(
             fd, [](const std::string& n) { return e_backup(n) || e_recuperacao(n); })) {
        if (::unlinkat(fd, nome.c_str(), 0) != 0)
            ficaram << QStringLiteral("%1 (%2)").arg(
                QFile::decodeName(QByteArray::fromStdString(nome)), motivo_do_sistema(errno));
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

} // namespace quarvel::documents
