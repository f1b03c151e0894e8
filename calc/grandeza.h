#pragma once
// The evaluator's magnitude test, decided exactly. Its rule: m, the decimal
// logarithm of a product or quotient taken from natural logarithms in extended
// precision and stored as a double, below -37 gives 0 and above 37 an error.
// A double above 37 is a logarithm above 37 + 2^-48 (half a unit in the last
// place of 37; the exact half rounds to 37, which is even), and one below -37
// a logarithm below -37 - 2^-48. So the test compares the exact product or
// quotient with 10^(37 + 2^-48) and 10^(-37 - 2^-48) themselves, kept to 256
// bits: the same answer on every processor, whatever its logarithms do.
namespace quarvel::calc {

enum class Grandeza {
    Abaixo, // m < -37: the result becomes 0
    Dentro, // -37 <= m <= 37
    Acima,  // m > 37: an error
};

// |a| * |b|, a and b finite and not zero.
Grandeza grandeza_produto(double a, double b);
// |a| / |b|, a and b finite and not zero.
Grandeza grandeza_quociente(double a, double b);

} // namespace quarvel::calc
