#include "tape/total.h"

#include "calc/dinheiro.h"
#include "calc/extensos.h"
#include "tape/fita.h"
#include "tape/mensagens.h"

namespace quarvel::tape {

TextosTotal textos_total(const std::vector<std::string>& brutos) {
    const double total = somar_brutos(brutos);
    return {kPrefixoReais + calc::mascara_dinheiro(total), calc::valor_extenso(total)};
}

} // namespace quarvel::tape
