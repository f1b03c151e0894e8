#pragma once
// Where backups go: the folder Backup beside the executable, or, when that
// folder cannot be written, Backup under the user's data folder.
#include <QString>
#include <QStringList>

namespace quarvel::documents {

// The folder in use, created when missing. Empty when none can be made.
QString pasta_backup();

// The ".qvlbackup" files in the folder, by name, in the folder's order.
QStringList listar_backups(const QString& pasta);

// Deletes the folder with everything in it and makes it again, empty.
// Returns false (with the reason) when anything could not be deleted.
bool limpar_pasta_backup(const QString& pasta, QString* erro);

}  // namespace quarvel::documents
