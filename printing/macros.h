#pragma once
// Macros of the header and footer texts: "$PAGENUM$", "$TITLE$", "$DATE$" and
// the rest, replaced by their values for the page being drawn.
#include <string>

namespace quarvel::printing {

// The values of the macros for one page; texts are UTF-8.
struct ValoresMacro {
    int pagina = 1;
    int paginas = 1;
    std::string titulo;
    std::string data; // short date, read once per layout
    std::string hora; // long time, read once per layout
};

// True when the text is empty or holds only spaces and control characters.
bool so_brancos(const std::string& texto);

// Expands the macros of a header or footer text. Names are matched without
// regard to case; anything else, stray dollar signs included, is kept as typed.
std::string expandir_macros(const std::string& texto, const ValoresMacro& valores);

} // namespace quarvel::printing
