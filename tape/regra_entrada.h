#pragma once
// Typing rules of the entry field (and of the modify/search dialog field).
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

} // namespace quarvel::tape
