#pragma once
// Money as text, every form in one place: the raw value kept in the list and
// in files, the money mask shown on the tape, the full mask, the tape line,
// the strict and lenient readings of number text and the sum of raw values.
// Separators are fixed: "," before decimals, "." between thousands. The cents
// come from calc/centavos.h, the same the amount in words reads.
#include "calc/estendido.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::calc {

// "'%s' is not a valid floating point value"
class ErroConversao : public std::runtime_error {
  public:
    explicit ErroConversao(std::string_view texto);
};

// General decimal form, at most 15 significant digits, "," as decimal
// separator, exponent form outside 0.0001 <= |v| < 1e15 ("5E-5", "1,5E15").
std::string valor_bruto(Estendido valor);

// "###,###,##0.00" with "." and ","; more than 18 integer digits fall back
// to valor_bruto. -0,001 gives "0,00" (no sign on a zero). The cents are
// centavos, the same the amount in words reads.
std::string mascara_dinheiro(Estendido valor);

// The money mask with every integer digit, also past 18 ("1E20" is written
// "100.000.000.000.000.000.000,00"): a text that reads back by its digits.
std::string mascara_completa(Estendido valor);

// The tape line of a raw value: its money mask, read strictly. Throws
// ErroConversao.
std::string linha_fita(std::string_view bruto);

// Strict reading: blanks, optional sign, digits, optional "," and digits,
// optional exponent, blanks. Accumulated in extended precision.
std::optional<Estendido> ler_estrito(std::string_view texto);
Estendido ler_estrito_ou_erro(std::string_view texto); // throws ErroConversao

// Lenient reading: keeps the digits, the last "," and a sign in first place,
// then reads strictly. Empty when nothing readable survives.
std::optional<Estendido> extrair_valor(std::string_view texto);

// The sum of raw values as the tape's total makes it: each read strictly and
// kept as a double; value i goes to partial sum (4 - i % 4) % 4, as a buffer
// of a multiple of four slots summed from its top slot down feeds them, and
// the values are taken from the last one down into four extended-precision
// partial sums. Throws ErroConversao naming the first value in list order
// that does not read or lies beyond the range of a double. The tape bounds
// the count.
double somar_brutos(const std::vector<std::string>& brutos);

// The slot a raw value takes in the total's buffer: its strict reading as a
// double, NaN when it does not read or lies beyond the range of a double.
double slot_do_bruto(const std::string& bruto) noexcept;
// somar_brutos over slots already read, in the same order and arithmetic so
// the two agree to the last bit, and in two steps, for a total kept while the
// tape changes: each of the four partial sums over the slots of its class
// (slot i belongs to class (4 - i % 4) % 4), added from the top slot down,
// empty when one of them is NaN; then the four combined. A change at the top of the tape touches
// one class only, so the other three partial sums stay as they were.
std::optional<Estendido> parcial_dos_slots(const std::vector<double>& slots, int classe);
double combinar_parciais(const Estendido (&parciais)[4]);
inline int classe_do_slot(std::size_t i) {
    return static_cast<int>((4 - i % 4) % 4);
}

} // namespace quarvel::calc
