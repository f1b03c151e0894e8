#include "documents/pasta_backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quarvel::documents {

namespace {

// The folder exists (made when missing) and a file can really be created in
// it; permission bits alone do not tell about read-only mounts.
bool pasta_utilizavel(const QString& pasta) {
    if (pasta.isEmpty() || !QDir().mkpath(pasta)) return false;
    QTemporaryFile teste(pasta + QStringLiteral("/.quarvel-teste-XXXXXX"));
    return teste.open();
}

} // namespace

QString pasta_backup() {
    const QString forcada = qEnvironmentVariable("QUARVEL_PASTA_BACKUP");
    if (!forcada.isEmpty())
        return QDir().mkpath(forcada) ? QDir(forcada).absolutePath() : QString();

    const QString junto = QCoreApplication::applicationDirPath() + QStringLiteral("/Backup");
    if (!QCoreApplication::applicationDirPath().isEmpty() && pasta_utilizavel(junto))
        return QDir(junto).absolutePath();

    const QString dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dados.isEmpty()) return {};
    const QString alternativa = dados + QStringLiteral("/Backup");
    return QDir().mkpath(alternativa) ? QDir(alternativa).absolutePath() : QString();
}

QStringList listar_backups(const QString& pasta) {
    if (pasta.isEmpty()) return {};
    // Hidden included: the name ".x" leads to the file ".qvlbackup".
    return QDir(pasta).entryList({QStringLiteral("*.qvlbackup")},
                                 QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
}

bool limpar_pasta_backup(const QString& pasta, QString* erro) {
    // An empty path would mean the current folder.
    if (pasta.isEmpty()) {
        if (erro) *erro = QStringLiteral("A pasta Backup não está definida.");
        return false;
    }
    QDir dir(pasta);
    bool ok = true;
    QString motivo;
    if (dir.exists() && !dir.removeRecursively()) {
        ok = false;
        motivo = QStringLiteral("Não foi possível apagar todo o conteúdo da pasta %1.")
                     .arg(QDir::toNativeSeparators(pasta));
    }
    if (!QDir().mkpath(pasta)) {
        if (!motivo.isEmpty()) motivo += QLatin1Char(' ');
        motivo += QStringLiteral("Não foi possível criar a pasta %1.")
                      .arg(QDir::toNativeSeparators(pasta));
        ok = false;
    }
    if (!ok && erro) *erro = motivo;
    return ok;
}

} // namespace quarvel::documents
