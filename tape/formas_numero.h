#pragma once
// The text forms of an amount: the raw value kept in the list and in files,
// the money mask shown on the tape, and the two readings of number text.
// Separators are fixed: "," before decimals, "." between thousands.
#include "calc/estendido.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarvel::tape {

// "'%s' is not a valid floating point value"
class ErroConversao : public std::runtime_error {
  public:
    explicit ErroConversao(std::string_view texto);
};

// General decimal form, at most 15 significant digits, "," as decimal
// separator, exponent form outside 0.0001 <= |v| < 1e15 ("5E-5", "1,5E15").
std::string valor_bruto(calc::Estendido valor);

// "###,###,##0.00" with "." and ","; more than 18 integer digits fall back
// to valor_bruto. -0,001 gives "0,00" (no sign on a zero). The cents are
// calc::centavos, the same the amount in words reads.
std::string mascara_dinheiro(calc::Estendido valor);

// The money mask with every integer digit, also past 18 ("1E20" is written
// "100.000.000.000.000.000.000,00"): a text that reads back by its digits.
std::string mascara_completa(calc::Estendido valor);

// The tape line of a raw value: its money mask, read strictly. Throws
// ErroConversao.
std::string linha_fita(std::string_view bruto);

// Strict reading: blanks, optional sign, digits, optional "," and digits,
// optional exponent, blanks. Accumulated in extended precision.
std::optional<calc::Estendido> ler_estrito(std::string_view texto);
calc::Estendido ler_estrito_ou_erro(std::string_view texto); // throws ErroConversao

// Lenient reading: keeps the digits, the last "," and a sign in first place,
// then reads strictly. Empty when nothing readable survives.
std::optional<calc::Estendido> extrair_valor(std::string_view texto);

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
