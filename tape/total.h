#pragma once
// The one place where a tape's total becomes the texts shown for it: the
// total display valor_final and the words display valor_leitor in the
// window, and the last two lines of `quarvel --total`.
#include <string>
#include <vector>

namespace quarvel::tape {

struct TextosTotal {
    std::string figuras; // kPrefixoReais and the money mask: "R$ 1.234,56"
    std::string extenso; // the amount in words: "UM MIL, ..."
};

// The sum of the raw values as somar_brutos makes it. Throws
// calc::ErroConversao for a raw value that does not read strictly.
TextosTotal textos_total(const std::vector<std::string>& brutos);

class Fita;
// The same texts from a tape's kept total (Fita::total), with no new sum.
TextosTotal textos_total(const Fita& fita);
// The texts of a total already summed.
TextosTotal textos_do_total(double total);

} // namespace quarvel::tape
