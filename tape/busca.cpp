#include "tape/busca.h"

#include "calc/dinheiro.h"

#include <algorithm>

namespace quarvel::tape {
namespace {

std::optional<int> achar(Busca& b, const std::vector<std::string>& brutos, std::size_t inicio) {
    const auto i = localizar(brutos, b.valor, inicio);
    if (!i) return std::nullopt;
    b.posicao = static_cast<int>(*i) + 1;
    return b.posicao;
}

} // namespace

std::optional<std::size_t> localizar(const std::vector<std::string>& brutos, calc::Estendido valor,
                                     std::size_t inicio) {
    for (std::size_t i = inicio; i < brutos.size(); ++i)
        if (calc::ler_estrito(brutos[i]) == valor) return i;
    return std::nullopt;
}

std::optional<int> Busca::buscar(const std::vector<std::string>& brutos,
                                 calc::Estendido procurado) {
    valor = procurado;
    return achar(*this, brutos, 0);
}

std::optional<int> Busca::buscar_proximo(const std::vector<std::string>& brutos) {
    return achar(*this, brutos, static_cast<std::size_t>(std::max(posicao, 0)));
}

} // namespace quarvel::tape
