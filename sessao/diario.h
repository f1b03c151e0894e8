#pragma once
// The session journal of a window: what lets the tape survive a kill or a
// power cut. A journal is a header, a snapshot of the whole document, then
// one record per change after it: an edit of the tape (a few bytes, however
// long the tape) or the document's settings. Every record carries its length
// and a checksum, so a record torn by a power cut is recognised and left out
// on replay, and the document comes back as it was after the record before.
#include "documents/arquivo_calculo.h"
#include "tape/alteracao.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::documents {

// What of the document is not the tape.
struct EstadoDocumento {
    std::string arquivo; // the calculation file, empty for one never saved
    Configuracao config;
};
bool operator==(const EstadoDocumento& a, const EstadoDocumento& b);
inline bool operator!=(const EstadoDocumento& a, const EstadoDocumento& b) {
    return !(a == b);
}

// A whole new journal: the header and the snapshot.
std::string iniciar_diario(const EstadoDocumento& estado, const std::vector<std::string>& brutos);
// One record to append: the settings, or an edit of the tape (not Trocar,
// which starts a new journal instead).
std::string registro_estado(const EstadoDocumento& estado);
std::string registro_alteracao(const tape::Alteracao& alteracao);

// A journal replayed.
struct Sessao {
    EstadoDocumento estado;
    std::vector<std::string> brutos;
    std::size_t registros = 0;     // records replayed after the snapshot
    bool cauda_descartada = false; // bytes after the last whole record were left out
};

// Empty when the bytes are no journal of this format, its snapshot is not
// whole or holds a value a calculation file could not, or its records would
// take unbounded work to replay (a journal no window writes); *motivo then
// says why, in Portuguese. Otherwise the document after the last whole
// record; replay stops at the first record that is torn, fails its checksum,
// does not apply or carries such a value. Replay does at most a fixed amount
// of work, whatever the records ask.
std::optional<Sessao> reler_diario(std::string_view bytes, std::string* motivo = nullptr);

// Nothing to offer: no values and the settings of a new document.
bool sessao_vazia(const Sessao& sessao);

// CRC-32 (the one of zip and PNG).
std::uint32_t crc32(std::string_view bytes);

} // namespace quarvel::documents
