#pragma once
// How large a file the program reads at all. Every file it opens holds at
// most 50,000 values, so a larger one is refused before it is read whole,
// and a pipe, a device or an endless input cannot fill the memory.
#include "documents/arquivo_calculo.h"
#include "tape/mensagens.h"

#include <cstddef>

namespace quarvel::documents {

// The longest line, CR LF included, that the bound leaves room for on
// average. A tape line or a raw value takes at most 26 bytes; a line of a
// text file from elsewhere ("R$ 1.234,56 - fornecedor, nota 123") a few
// dozen more. Single lines may be longer: only the sum is bounded.
inline constexpr std::size_t kBytesPorLinha = 256;

// The INI part: five settings of at most kMaximoTextoConfiguracao
// characters with their keys, the two section headers and two indexes.
inline constexpr std::size_t kBytesConfiguracao = 5 * (kMaximoTextoConfiguracao + 16) + 4 * 32;

// One line past the limit still reads, to be refused as one value too many
// with the limit's own message; 12.9 MB, rounded up to 13 MiB.
inline constexpr std::size_t kMaximoBytesLeitura = 13u << 20;
static_assert(kMaximoBytesLeitura >=
              (tape::kMaximoValores + 1) * kBytesPorLinha + kBytesConfiguracao);

} // namespace quarvel::documents
