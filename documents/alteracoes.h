#pragma once
// Whether a document has changes the user may want to save: two snapshots of
// it compared, the one the window holds now and the one last opened or saved.
#include "documents/arquivo_calculo.h"

#include <optional>
#include <string>

namespace quarvel::documents {

// The document as the window holds it at one moment.
struct Retrato {
    Documento doc;
    std::string entrada;     // typed in the entry field and not yet added
    bool modificado = false; // a value was modified in place since the last open or save
};

// Whether New, Open or closing the window must ask to save `atual`.
// Untitled (`salvo` empty): anything that differs from the empty document, a
// text typed in the entry field included. Titled: the settings against
// `salvo->config`, the file's [CONFIG] as it stands on disk now (what
// ler_configuracao gives, so a file that cannot be read differs), and the
// values against `salvo->brutos`, those last opened or saved; a value
// modified in place counts even when it came back the same. The entry field
// does not count for a titled document.
bool documento_alterado(const Retrato& atual, const std::optional<Documento>& salvo);

} // namespace quarvel::documents
