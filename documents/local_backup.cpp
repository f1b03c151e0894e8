#include "documents/local_backup.h"

namespace quarvel::documents {

namespace {

bool dentro_de(std::string_view pasta, std::string_view raiz) {
    return pasta.compare(0, raiz.size(), raiz) == 0 &&
           (pasta.size() == raiz.size() || pasta[raiz.size()] == '/');
}

} // namespace

bool pasta_instalada(std::string_view pasta) {
    return dentro_de(pasta, "/usr") || dentro_de(pasta, "/opt");
}

std::string backup_nos_dados(const AmbienteBackup& a) {
    // The XDG rule: a relative value is ignored.
    if (!a.dados_xdg.empty() && a.dados_xdg.front() == '/') return a.dados_xdg + "/Quarvel/Backup";
    if (!a.casa.empty()) return a.casa + "/.local/share/Quarvel/Backup";
    return {};
}

std::string local_backup(const AmbienteBackup& a) {
    if (!a.forcada.empty()) return a.forcada;
    if (!a.pasta_programa.empty() && !pasta_instalada(a.pasta_programa) && a.junto_gravavel)
        return a.pasta_programa + "/Backup";
    return backup_nos_dados(a);
}

} // namespace quarvel::documents
