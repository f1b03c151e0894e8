#include "printing/macros.h"

#include <cstddef>

namespace quarvel::printing {

namespace {

bool igual_sem_caixa(const std::string& texto, std::size_t inicio, std::size_t tamanho,
                     const char* nome) {
    std::size_t i = 0;
    for (; i < tamanho; ++i) {
        if (nome[i] == '\0') return false;
        char c = texto[inicio + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != nome[i]) return false;
    }
    return nome[i] == '\0';
}

// The value of the macro "$...$" that starts at inicio, or false if none matches.
bool valor_macro(const std::string& texto, std::size_t inicio, std::size_t tamanho,
                 const ValoresMacro& v, std::string& valor) {
    auto e = [&](const char* nome) { return igual_sem_caixa(texto, inicio, tamanho, nome); };
    if (e("$PAGENUM$")) {
        valor = std::to_string(v.pagina);
    } else if (e("$PAGECOUNT$")) {
        valor = std::to_string(v.paginas);
    } else if (e("$TITLE$")) {
        valor = v.titulo;
    } else if (e("$DATE$")) {
        valor = v.data;
    } else if (e("$TIME$")) {
        valor = v.hora;
    } else if (e("$DATETIME$")) {
        valor = v.data + " " + v.hora;
    } else if (e("$TIMEDATE$")) {
        valor = v.hora + " " + v.data;
    } else {
        return false;
    }
    return true;
}

} // namespace

bool so_brancos(const std::string& texto) {
    for (char c : texto)
        if (static_cast<unsigned char>(c) > ' ' && c != '\x7f') return false;
    return true;
}

std::string expandir_macros(const std::string& texto, const ValoresMacro& valores) {
    if (so_brancos(texto)) return {};
    std::string saida;
    saida.reserve(texto.size() + 16);
    std::size_t i = 0;
    while (i < texto.size()) {
        const std::size_t abre = texto.find('$', i);
        if (abre == std::string::npos) {
            saida.append(texto, i, std::string::npos);
            break;
        }
        saida.append(texto, i, abre - i);
        const std::size_t fecha = texto.find('$', abre + 1);
        if (fecha == std::string::npos) {
            saida.append(texto, abre, std::string::npos);
            break;
        }
        std::string valor;
        if (valor_macro(texto, abre, fecha - abre + 1, valores, valor)) {
            saida += valor;
            i = fecha + 1;
        } else {
            // The closing "$" may open the next macro ("R$ 5 $DATE$").
            saida.append(texto, abre, fecha - abre);
            i = fecha;
        }
    }
    return saida;
}

} // namespace quarvel::printing
