// libFuzzer harness for the calculation file loader: any bytes either load or
// are refused with a reason, never a crash; a file that loads is written
// again and must load back to the very same document.
#include "calc/dinheiro.h"
#include "documents/arquivo_calculo.h"
#include "tape/fita.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using quarvel::documents::CargaCalculo;
using quarvel::documents::Configuracao;

bool iguais(const Configuracao& a, const Configuracao& b) {
    return a.cabecalho == b.cabecalho && a.rodape == b.rodape && a.texto_backup == b.texto_backup &&
           a.backup == b.backup && a.qtdetempo == b.qtdetempo;
}

// What every successful load promises, whatever the bytes were.
void conferir_carga(const CargaCalculo& c, std::size_t chamadas) {
    if (c.doc.brutos.size() != c.linhas.size()) std::abort();
    if (c.doc.brutos.size() > quarvel::tape::kMaximoValores) std::abort();
    if (chamadas != c.doc.brutos.size()) std::abort();
    if (c.doc.config.qtdetempo < -1 || c.doc.config.qtdetempo > 4) std::abort();
    for (std::size_t i = 0; i < c.linhas.size(); ++i) {
        const auto v = quarvel::calc::ler_estrito(c.doc.brutos[i]);
        if (!v) std::abort();
        if (quarvel::calc::mascara_dinheiro(*v) != c.linhas[i]) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view bytes(reinterpret_cast<const char*>(dados), tamanho);

    std::size_t chamadas = 0;
    const CargaCalculo primeira =
        quarvel::documents::carregar_calculo(bytes, [&](std::size_t) { ++chamadas; });
    if (primeira.estado == CargaCalculo::Estado::Danificado && primeira.detalhe.empty())
        std::abort();
    if (primeira.estado != CargaCalculo::Estado::Ok) return 0;
    conferir_carga(primeira, chamadas);

    const std::string escrito = quarvel::documents::escrever_calculo(primeira.doc);
    chamadas = 0;
    const CargaCalculo segunda =
        quarvel::documents::carregar_calculo(escrito, [&](std::size_t) { ++chamadas; });
    if (segunda.estado != CargaCalculo::Estado::Ok) std::abort();
    conferir_carga(segunda, chamadas);
    if (!iguais(primeira.doc.config, segunda.doc.config)) std::abort();
    if (primeira.doc.brutos != segunda.doc.brutos) std::abort();
    if (primeira.linhas != segunda.linhas) std::abort();

    // The settings as the unsaved-changes test reads them agree with the load.
    if (!iguais(quarvel::documents::ler_configuracao(escrito), segunda.doc.config)) std::abort();
    // Writing is a function of the document alone.
    if (quarvel::documents::escrever_calculo(segunda.doc) != escrito) std::abort();
    return 0;
}
