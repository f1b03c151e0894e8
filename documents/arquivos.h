#pragma once
// Reading and writing whole files. Writes are atomic: a temporary file in the
// same folder is renamed over the old one only once it is complete, so an
// interrupted save leaves the old file or the new one, never a part.
#include <QByteArray>
#include <QString>
#include <optional>

namespace quarvel::documents {

// Empty optional on failure, with the system's reason in *erro.
std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro);
bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro);

// The file name without its folder, for titles and messages.
QString nome_sem_pasta(const QString& caminho);

}  // namespace quarvel::documents
