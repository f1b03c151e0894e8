// libFuzzer harness for the expression evaluator: any byte string must give
// a value and a position inside the text (or just past it), never a crash.
#include "calc/infix.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    const auto r = quarvel::calc::evaluate_expression(texto);
    if (r.posicao_erro < 0 || static_cast<std::size_t>(r.posicao_erro) > tamanho + 1) std::abort();
    // every value stays inside the evaluator's magnitude range
    if (!std::isfinite(r.valor) || std::fabs(r.valor) > 1.0000001e37) std::abort();
    return 0;
}
