#include "tape/mensagens.h"

namespace quarvel::tape {

int posicao_digitada(std::string_view digitado, int posicao_avaliador) {
    int avaliados = 0;  // bytes the evaluator saw so far
    int caracteres = 0; // characters of the typed text so far
    for (const char c : digitado) {
        // A UTF-8 continuation byte belongs to the character before it.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++caracteres;
        if (c == '.') continue; // converter_entrada drops every point
        if (++avaliados == posicao_avaliador) return caracteres;
    }
    return caracteres + (posicao_avaliador - avaliados);
}

std::string expressao_invalida(std::string_view digitado, int posicao_avaliador) {
    std::string texto = "Expressão inválida: ";
    texto.append(digitado);
    texto += " (posição " + std::to_string(posicao_digitada(digitado, posicao_avaliador)) + ")";
    return texto;
}

} // namespace quarvel::tape
