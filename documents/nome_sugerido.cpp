#include "documents/nome_sugerido.h"

namespace quarvel::documents {

std::string nome_sugerido(std::string_view caminho, std::string_view extensao) {
    if (caminho.empty()) return {};
    const std::size_t barra = caminho.find_last_of('/');
    const std::size_t inicio = barra == std::string_view::npos ? 0 : barra + 1;
    const std::size_t ponto = caminho.rfind('.');
    const bool tem_extensao = ponto != std::string_view::npos && ponto > inicio;
    std::string r(tem_extensao ? caminho.substr(0, ponto) : caminho);
    if (r.size() == inicio) return r; // a folder: no name to give an extension
    r += '.';
    r += extensao;
    return r;
}

} // namespace quarvel::documents
