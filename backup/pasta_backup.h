#pragma once
// Where backups go: the folder Backup beside the executable, or, for an
// installed program or when that folder cannot be written, Backup under the
// user's data folder (backup/local_backup.h).
#include <QString>
#include <QStringList>

class QFontMetrics;

namespace quarvel::backup {

// The folder in use, without making anything; empty when there is none.
QString local_de_backup();

// The folder as the user reads it: the home folder written "~", and cut in
// the middle to at most `largura` pixels of `medida` (whole when negative).
QString pasta_legivel(const QString& pasta, const QFontMetrics& medida, int largura);

// Where the main window's Backup box says a backup is saved: "the Backup
// folder where Quarvel is" when that is the folder in use, else the folder
// by name; why there is none when there is none.
QString nota_pasta_backup(const QString& pasta, const QFontMetrics& medida, int largura);

// Why the folder cannot be listed, or could not be made when it is missing,
// as a message naming it; empty when nothing is wrong.
QString motivo_pasta_backup(const QString& pasta);

// The folder in use, created when missing. Empty when none can be made, with
// the warning that names the folder and the reason in *erro.
QString pasta_backup(QString* erro = nullptr);

// The backup files in the folder, by name, in the folder's order: regular
// "*.qvlbackup" files and the "recuperacao-*.qvl" tapes kept after an unclean
// end, never a symbolic link or a folder.
QStringList listar_backups(const QString& pasta);

// Deletes the files Quarvel writes there (regular "*.qvlbackup" files, the
// "recuperacao-*.qvl" recovery files, and the temporary files their killed
// saves left; one whose save still runs stays) and nothing else: no subfolder, nothing
// through a symbolic link, and no folder that is itself a link. The folder is
// made when missing. Returns false with the reason, naming each file that
// could not be deleted, when anything stayed.
bool limpar_pasta_backup(const QString& pasta, QString* erro);

} // namespace quarvel::backup
