#pragma once
// Extensos: a money amount in Brazilian Portuguese words, upper-case ASCII,
// as written on a cheque ("UM MIL, CEM REAIS E DEZ CENTAVOS").
#include <string>
#include <string_view>

namespace quarvel::calc {

// Words of a group of three digit characters ("000" gives an empty text).
std::string grupo_extenso(std::string_view tres_digitos);

// Words of an amount in reais; negative amounts read as their magnitude,
// 0 reads "ZERO". Amounts whose whole reais a double cannot carry exactly
// give kValorGrandeDemais instead of wrong words.
std::string valor_extenso(double valor);

inline constexpr const char* kValorGrandeDemais = "VALOR GRANDE DEMAIS PARA SER ESCRITO POR EXTENSO";

}  // namespace quarvel::calc
