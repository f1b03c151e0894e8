#pragma once
// Reading whole files, and the Qt face of the checked writer of
// gravacao/gravar.h: a failed or interrupted save leaves the old file or the
// new one, complete, never a part.
#include "gravacao/gravar.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quarvel::documents {

using gravacao::Ligacao;

// A regular file of at most kMaximoBytesLeitura bytes, read whole; a folder,
// pipe, device or socket is refused at once, without blocking. Empty
// optional on failure, with the reason in *erro.
std::optional<QByteArray> ler_arquivo(const QString& caminho, QString* erro);
// The same for a regular file only, never read through a symbolic link.
std::optional<QByteArray> ler_arquivo_comum(const QString& caminho, QString* erro);

// gravacao::gravar_atomico for Qt strings.
bool gravar_atomico(const QString& caminho, const QByteArray& bytes, QString* erro,
                    Ligacao ligacao = Ligacao::Seguir);

// The synced copy of the old document an in-place save of `caminho` left
// beside it when it was cut short (killed, or a power failure), or empty.
// The file may then hold neither version whole.
QString copia_interrompida(const QString& caminho);

// The system's reason for an errno value, in Portuguese.
QString motivo_do_sistema(int numero);

// The file name without its folder, for titles and messages.
QString nome_sem_pasta(const QString& caminho);

} // namespace quarvel::documents
