#include "documents/arquivos.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace quarvel::documents {

std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) {
        if (erro) *erro = f.errorString();
        return std::nullopt;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (erro) *erro = f.errorString();
        return std::nullopt;
    }
    return bytes;
}

bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro) {
    QSaveFile f(caminho);
    // Never fall back to writing the target in place: an interrupted write
    // would then leave a part of the file.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) {
        if (erro) *erro = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (erro) *erro = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (erro) *erro = f.errorString();
        return false;
    }
    return true;
}

QString nome_sem_pasta(const QString& caminho) {
    const qsizetype barra =
        std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}

} // namespace quarvel::documents
