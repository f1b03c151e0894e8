#pragma once
// An amount as its figures show it: the value expanded to 18 significant
// decimal digits, and the whole number of cents cut from that expansion. The
// money mask and the amount in words both take their cents from here, so the
// figures and the words of a total can never disagree.
#include "calc/estendido.h"

#include <cstdint>
#include <string>

namespace quarvel::calc {

// valor = digitos x 10^(expoente - 17), digitos of exactly 18 decimal digits
// (10^17 <= digitos < 10^18), correctly rounded to nearest, ties to even.
struct Expansao {
    bool negativo = false;
    std::uint64_t digitos = 0;
    int expoente = 0;
};

// valor must be finite and not zero.
Expansao expandir(Estendido valor);

// The magnitude in whole cents: the expansion cut at the second decimal, a
// third decimal of 5 or more rounding away from zero. Digits without leading
// zeros; "0" when nothing is left.
std::string centavos(const Expansao& x);

// The same as a number, when the cut falls within the 18 digits (amounts
// below 10^16); false otherwise.
bool centavos_inteiro(const Expansao& x, std::uint64_t& centavos);

// Writes the 18 digits of x.digitos to saida[0..17].
void escrever_digitos(const Expansao& x, char* saida);

} // namespace quarvel::calc
