#pragma once
// One change of the tape as the tape model makes it: small for the edits,
// and only a mark for a whole-tape replacement, whose result is the tape
// itself. The session journal records these and replays them.
#include <cstddef>
#include <string>
#include <vector>

namespace quarvel::tape {

struct Alteracao {
    enum class Tipo {
        Acrescentar, // `quantidade` copies of `bruto` at the end
        Inserir,     // `bruto` at `posicao`, the rest moving down
        Substituir,  // `bruto` in place of entry `posicao`
        Remover,     // entry `posicao`
        Cortar,      // the tape cut down to its first `posicao` entries
        Trocar,      // everything replaced (a load, a clear)
    };
    Tipo tipo = Tipo::Trocar;
    std::size_t posicao = 0;
    std::size_t quantidade = 1;
    std::string bruto;
};

// Applies an edit (any kind but Trocar) to a raw value list. False, with the
// list untouched, when it does not fit: a position off the list, more than
// kMaximoValores entries, a raw value that does not read strictly.
bool aplicar(std::vector<std::string>& brutos, const Alteracao& a);

} // namespace quarvel::tape
