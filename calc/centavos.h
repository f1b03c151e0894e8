#pragma once
// An amount as its figures show it: the value expanded to 18 significant
// decimal digits, and the whole number of cents cut from that expansion. The
// money mask and the amount in words both take their cents from here, so the
// figures and the words of a total can never disagree.
#include "calc/estendido.h"

#include <string>

namespace quarvel::calc {

// valor = d0,d1...d17 x 10^expoente, correctly rounded to nearest.
struct Expansao {
    bool negativo = false;
    std::string digitos; // exactly 18, digitos[0] != '0'
    int expoente = 0;
};

// valor must be finite and not zero.
Expansao expandir(Estendido valor);

// Adds one unit in the last place of a digit string; true when it carried out
// of the first digit (all nines became zeros).
bool incrementar(std::string& digitos);

// The magnitude in whole cents: the expansion cut at the second decimal, a
// third decimal of 5 or more rounding away from zero. Digits without leading
// zeros; "0" when nothing is left.
std::string centavos(const Expansao& x);

} // namespace quarvel::calc
