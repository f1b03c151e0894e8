// libFuzzer harness for the text import: any bytes give values, a refused
// line, or the size refusal, never a crash; every imported value is a raw
// value that reads back strictly to the tape line beside it.
#include "calc/dinheiro.h"
#include "documents/codificacao.h"
#include "documents/texto.h"
#include "tape/fita.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using quarvel::documents::LeituraTexto;
    const std::string_view bytes(reinterpret_cast<const char*>(dados), tamanho);

    std::size_t chamadas = 0;
    const LeituraTexto l = quarvel::documents::ler_texto(bytes, [&](std::size_t) {
        ++chamadas;
        return true;
    });
    switch (l.estado) {
    case LeituraTexto::Estado::Cancelado:
        std::abort(); // nobody asked to cancel
    case LeituraTexto::Estado::LinhaSemValor: {
        // The refused line is one of the input's, and not a blank one: those
        // are passed over without a call, so there was at least one.
        std::size_t linhas = 0;
        quarvel::documents::LeitorLinhas leitor(bytes);
        for (std::string_view linha; leitor.proxima(linha);)
            ++linhas;
        if (l.numero_linha < 1 || static_cast<std::size_t>(l.numero_linha) > linhas ||
            chamadas == 0)
            std::abort();
        return 0;
    }
    case LeituraTexto::Estado::ExcedeMaximo:
        return 0;
    case LeituraTexto::Estado::Ok:
        break;
    }
    if (l.brutos.size() != l.linhas.size()) std::abort();
    if (l.brutos.size() > quarvel::tape::kMaximoValores) std::abort();
    for (std::size_t i = 0; i < l.brutos.size(); ++i) {
        const auto v = quarvel::calc::ler_estrito(l.brutos[i]);
        if (!v) std::abort();
        if (quarvel::calc::mascara_dinheiro(*v) != l.linhas[i]) std::abort();
    }

    // Cancelling on the first line leaves nothing behind.
    if (chamadas > 0) {
        const LeituraTexto c =
            quarvel::documents::ler_texto(bytes, [](std::size_t) { return false; });
        if (c.estado != LeituraTexto::Estado::Cancelado || !c.brutos.empty()) std::abort();
    }

    // An exported tape imports back as the lines it showed.
    const LeituraTexto volta =
        quarvel::documents::ler_texto(quarvel::documents::escrever_texto(l.linhas));
    if (volta.estado != LeituraTexto::Estado::Ok) std::abort();
    if (volta.linhas != l.linhas) std::abort();
    return 0;
}
