#pragma once
// Typing rules of the entry field (and of the modify/search dialog field),
// and the conversion of what was typed into a raw value.
#include <optional>
#include <string>
#include <string_view>

namespace quarvel::tape {

// Character filter: the accepted character ("." becomes ","), or nothing when
// the character is discarded. Control characters Backspace, Enter, Escape and
// Delete pass unchanged.
std::optional<char32_t> filtrar_caractere(char32_t c);

// Non-overlapping occurrences of one character in the first 255 characters.
int contar_ocorrencias(char padrao, std::string_view texto);

// Regrouping rule run on every change of the text (UTF-8). Returns the text
// the field must hold afterwards when it differs, or nothing to leave it.
// A text without digits, and a number in the exponent form the rule writes
// for more than 18 digits, are left as they are.
std::optional<std::string> reagrupar(std::string_view texto);

// Whether the rule writes the field for this text, also when it writes the
// text already there (a digit typed into a grouped number that stays
// grouped): the text cursor then goes to the end all the same.
bool regra_escreve(std::string_view texto);

// converter_entrada: removes ".", turns "," into ".", evaluates, and gives the
// raw value. posicao_erro is the evaluator's (0 = well formed).
struct Conversao {
    std::string bruto;
    int posicao_erro = 0;
};
Conversao converter_entrada(std::string_view texto_entrada);

// Whether a malformed conversion must be refused: the evaluator reported an
// error and the text is not empty or all blanks (those still add 0,00).
bool entrada_recusada(std::string_view texto_entrada, const Conversao& c);

} // namespace quarvel::tape
