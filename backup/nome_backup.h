#pragma once
// The backup file name typed by the user, and the file it leads to.
#include <string>
#include <string_view>

namespace quarvel::backup {

// The name without its extension (from the last "." on) plus ".qvlbackup":
// "malote.dia" -> "malote.qvlbackup", ".x" -> ".qvlbackup".
std::string arquivo_backup(std::string_view nome);

// A name whose file stays inside the Backup folder: no "/" or "\" and no
// control character. The bare "." and ".." are refused too: they name
// folders, and whoever types them most likely meant a path.
bool nome_backup_valido(std::string_view nome);

// Why the backup cannot run with this name: none typed, or one that
// nome_backup_valido refuses. Empty when it can.
std::string recusa_nome_backup(std::string_view nome);

} // namespace quarvel::backup
