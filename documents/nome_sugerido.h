#pragma once
// The name the save dialog suggests: the last name used, with its folder and
// base name, but the extension of the kind being saved, so that exporting
// text after saving caixa.qvl suggests caixa.txt, never the calculation file.
#include <string>
#include <string_view>

namespace quarvel::documents {

// `caminho` with its extension (from the last "." of its last name on; a
// name's leading "." starts no extension) replaced by `extensao`, or with
// `extensao` added when it has none. Empty stays empty.
std::string nome_sugerido(std::string_view caminho, std::string_view extensao);

} // namespace quarvel::documents
