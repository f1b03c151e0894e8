#pragma once
// Which folder holds the backups. An installed program (under /usr or /opt)
// never writes beside itself, as root neither: its backups go to the user's
// data folder. A program run from where it was built keeps them beside it
// while it may write there.
#include <string>
#include <string_view>

namespace quarvel::backup {

struct AmbienteBackup {
    std::string forcada;        // QUARVEL_PASTA_BACKUP, when set
    std::string pasta_programa; // the folder of the executable
    bool junto_gravavel;        // Backup beside it is, or can be made, writable
    std::string dados_xdg;      // XDG_DATA_HOME
    std::string casa;           // HOME
};

// Whether the program in `pasta` is installed: under /usr or /opt.
bool pasta_instalada(std::string_view pasta);

// The user's data folder for Quarvel's backups: $XDG_DATA_HOME/Quarvel/Backup
// (when absolute), else ~/.local/share/Quarvel/Backup; empty without either.
std::string backup_nos_dados(const AmbienteBackup& a);

// The Backup folder in use; empty when there is none.
std::string local_backup(const AmbienteBackup& a);

} // namespace quarvel::backup
