#include "tape/alteracao.h"

#include "calc/dinheiro.h"
#include "tape/mensagens.h"

namespace quarvel::tape {

bool aplicar(std::vector<std::string>& brutos, const Alteracao& a) {
    using T = Alteracao::Tipo;
    const bool precisa_bruto =
        a.tipo == T::Acrescentar || a.tipo == T::Inserir || a.tipo == T::Substituir;
    if (precisa_bruto && !calc::ler_estrito(a.bruto)) return false;
    const std::size_t n = brutos.size();
    const auto pos = static_cast<std::ptrdiff_t>(a.posicao);
    switch (a.tipo) {
    case T::Acrescentar:
        if (a.quantidade > kMaximoValores - n) return false;
        brutos.insert(brutos.end(), a.quantidade, a.bruto);
        return true;
    case T::Inserir:
        if (a.posicao > n || n >= kMaximoValores) return false;
        brutos.insert(brutos.begin() + pos, a.bruto);
        return true;
    case T::Substituir:
        if (a.posicao >= n) return false;
        brutos[a.posicao] = a.bruto;
        return true;
    case T::Remover:
        if (a.posicao >= n) return false;
        brutos.erase(brutos.begin() + pos);
        return true;
    case T::Cortar:
        if (a.posicao > n) return false;
        brutos.resize(a.posicao);
        return true;
    case T::Trocar:
        break;
    }
    return false;
}

} // namespace quarvel::tape
