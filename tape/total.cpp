#include "tape/total.h"

#include "calc/dinheiro.h"
#include "calc/extensos.h"
#include "tape/fita.h"
#include "tape/mensagens.h"

namespace quarvel::tape {

TextosTotal textos_do_total(double total) {
    return {kPrefixoReais + calc::mascara_dinheiro(total), calc::valor_extenso(total)};
}

TextosTotal textos_total(const std::vector<std::string>& brutos) {
    return textos_do_total(somar_brutos(brutos));
}

TextosTotal textos_total(const Fita& fita) {
    return textos_do_total(fita.total());
}

} // namespace quarvel::tape
