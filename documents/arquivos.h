#pragma once
// Reading and writing whole files. Writes are atomic: the bytes go to a new
// temporary file in the same folder, reach the disk, and only then is it
// renamed over the old one, so a failed or interrupted save leaves the old
// file or the new one, complete, never a part.
#include <QByteArray>
#include <QString>
#include <optional>

namespace quarvel::documents {

// What a symbolic link standing at the name being written gets.
enum class Ligacao {
    Seguir,     // the file it leads to is written; the link stays (documents)
    Substituir, // the link itself is replaced by the new file (backups)
};

// A regular file of at most kMaximoBytesLeitura bytes, read whole; a folder,
// pipe, device or socket is refused at once, without blocking. Empty
// optional on failure, with the reason in *erro.
std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro);
// The same for a regular file only, never read through a symbolic link.
std::optional<QByteArray> ler_arquivo_comum(const QString& caminho, QString* erro);

// False on failure, with the system's reason in *erro; the old file, if any,
// is then untouched and no temporary file stays behind. Replacing a file
// keeps its permission bits.
bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro,
                    Ligacao ligacao = Ligacao::Seguir);

// The system's reason for an errno value, in Portuguese.
QString motivo_do_sistema(int numero);

// The file name without its folder, for titles and messages.
QString nome_sem_pasta(const QString& caminho);

} // namespace quarvel::documents
