// The texts of a total, as the two displays and `quarvel --total` show them.
#include "calc/dinheiro.h"
#include "tape/total.h"

#include <gtest/gtest.h>

using namespace quarvel::tape;
using quarvel::calc::ErroConversao;

namespace {

TEST(TextosTotal, FigurasEExtensoDaSomaDosBrutos) {
    struct Caso {
        std::vector<std::string> brutos;
        const char* figuras;
        const char* extenso;
    };
    const Caso casos[] = {
        {{}, "R$ 0,00", "ZERO"},
        {{"1000", "234,56"},
         "R$ 1.234,56",
         "UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS"},
        // The raw values are summed, not the lines: three 3,33 lines total 10,00.
        {{"3,33333333333333", "3,33333333333333", "3,33333333333333"}, "R$ 10,00", "DEZ REAIS"},
        {{"-5"}, "R$ -5,00", "CINCO REAIS"},
    };
    for (const Caso& c : casos) {
        const TextosTotal t = textos_total(c.brutos);
        EXPECT_EQ(t.figuras, c.figuras);
        EXPECT_EQ(t.extenso, c.extenso) << c.figuras;
    }
}

TEST(TextosTotal, BrutoQueNaoLeEstritoEErroDeConversao) {
    EXPECT_THROW(textos_total({"1", "1.234"}), ErroConversao);
}

} // namespace
