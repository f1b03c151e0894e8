// libFuzzer harness for the entry field's regrouping rule: any text (valid
// UTF-8 or not) gives an answer without a crash, and the text it asks the
// field to hold is already settled, so the field does not rewrite itself
// again on the change it has just made.
#include "tape/regra_entrada.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    const auto novo = quarvel::tape::reagrupar(texto);
    if (!novo) return 0;
    if (*novo == texto) std::abort(); // "no change" is said with nothing
    if (quarvel::tape::reagrupar(*novo)) std::abort();
    return 0;
}
