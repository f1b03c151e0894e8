#include "backup/local_backup.h"

#include "documents/pasta_dados.h"

namespace quarvel::backup {

using documents::pasta_dados;

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
    const std::string dados = pasta_dados(a.dados_xdg, a.casa);
    return dados.empty() ? dados : dados + "/Backup";
}

std::string local_backup(const AmbienteBackup& a) {
    if (!a.forcada.empty()) return a.forcada;
    if (!a.pasta_programa.empty() && !pasta_instalada(a.pasta_programa) && a.junto_gravavel)
        return a.pasta_programa + "/Backup";
    return backup_nos_dados(a);
}

} // namespace quarvel::backup
