#pragma once
// Extensos: a money amount in Brazilian Portuguese words, upper-case ASCII,
// as written on a cheque ("UM MIL, CEM REAIS E DEZ CENTAVOS").
#include <string>
#include <string_view>

namespace quarvel::calc {

// Words of a group of three digit characters ("000" gives an empty text).
std::string grupo_extenso(std::string_view tres_digitos);

// Words of an amount in reais: the whole number of cents that the money mask
// shows (calc/centavos.h), read as its magnitude, so the words say what the
// figures say. An amount shown as 0,00 reads "ZERO". From 10^15 reais on, and
// for infinities and NaN, kValorGrandeDemais instead of words.
std::string valor_extenso(double valor);

inline constexpr const char* kValorGrandeDemais =
    "VALOR GRANDE DEMAIS PARA SER ESCRITO POR EXTENSO";

} // namespace quarvel::calc
