#pragma once
// Finding an amount on the tape (buscar) and its further occurrences
// (buscar_prox). Numbers are compared, not texts: the raw value, read
// strictly, must equal the value searched for as an extended-precision
// number, so 1.234,5 finds 1234,5 and 3,33 does not find 3,33333333333333.
#include "calc/estendido.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::tape {

// The index of the first raw value from `inicio` on that equals `valor`.
std::optional<std::size_t> localizar(const std::vector<std::string>& brutos, calc::Estendido valor,
                                     std::size_t inicio);

// The search state of the main window: valor_busca and posicao_busca.
struct Busca {
    calc::Estendido valor = 0; // of the last search; 0 means none, and find-next is off
    int posicao = 0;           // 1-based line of the last match; find-next goes on after it

    bool ativa() const { return valor != 0; }

    // From the first line. The value is kept even when nothing matches; the
    // line found (1-based) becomes `posicao`, which is left alone otherwise.
    std::optional<int> buscar(const std::vector<std::string>& brutos, calc::Estendido procurado);
    // From the line after the last match, whichever search made it.
    std::optional<int> buscar_proximo(const std::vector<std::string>& brutos);
};

} // namespace quarvel::tape
