#include "documents/pasta_dados.h"

namespace quarvel::documents {

std::string pasta_dados(std::string_view dados_xdg, std::string_view casa) {
    if (!dados_xdg.empty() && dados_xdg.front() == '/') return std::string(dados_xdg) + "/Quarvel";
    if (!casa.empty()) return std::string(casa) + "/.local/share/Quarvel";
    return {};
}

} // namespace quarvel::documents
