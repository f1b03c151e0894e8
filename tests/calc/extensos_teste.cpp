#include "calc/extensos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using quarvel::calc::grupo_extenso;
using quarvel::calc::kValorGrandeDemais;
using quarvel::calc::valor_extenso;

namespace {

struct Caso {
    double valor;
    std::string texto;
};

void verificar(const std::vector<Caso>& casos) {
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::Message() << std::to_string(c.valor));
        EXPECT_EQ(valor_extenso(c.valor), c.texto);
    }
}

} // namespace

TEST(Extensos, Groups) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"000", ""},
        {"001", "UM"},
        {"010", "DEZ"},
        {"011", "ONZE"},
        {"019", "DEZENOVE"},
        {"020", "VINTE"},
        {"021", "VINTE E UM"},
        {"100", "CEM"},
        {"101", "CENTO E UM"},
        {"110", "CENTO E DEZ"},
        {"115", "CENTO E QUINZE"},
        {"121", "CENTO E VINTE E UM"},
        {"200", "DUZENTOS"},
        {"205", "DUZENTOS E CINCO"},
        {"340", "TREZENTOS E QUARENTA"},
        {"414", "QUATROCENTOS E QUATORZE"},
        {"999", "NOVECENTOS E NOVENTA E NOVE"},
        // not a group of three digits
        {"", ""},
        {"12", ""},
        {"1234", ""},
        {"1a1", ""},
    };
    for (const auto& [g, texto] : casos) {
        EXPECT_EQ(grupo_extenso(g), texto) << g;
    }
}

TEST(Extensos, WorkedAmounts) {
    verificar({
        {0, "ZERO"},
        {0.01, "UM CENTAVO"},
        {0.21, "VINTE E UM CENTAVOS"},
        {0.50, "CINQUENTA CENTAVOS"},
        {1, "UM REAL"},
        {1.01, "UM REAL E UM CENTAVO"},
        {1.50, "UM REAL E CINQUENTA CENTAVOS"},
        {2, "DOIS REAIS"},
        {16, "DEZESSEIS REAIS"},
        {21, "VINTE E UM REAIS"},
        {100, "CEM REAIS"},
        {101, "CENTO E UM REAIS"},
        {999.99, "NOVECENTOS E NOVENTA E NOVE REAIS E NOVENTA E NOVE CENTAVOS"},
        {1000, "UM MIL REAIS"},
        {1001, "UM MIL E UM REAIS"},
        {1100, "UM MIL E CEM REAIS"},
        {1100.10, "UM MIL, CEM REAIS E DEZ CENTAVOS"},
        {21000, "VINTE E UM MIL REAIS"},
        {101000, "CENTO E UM MIL REAIS"},
        {1000000, "UM MILHAO DE REAIS"},
        {1000001, "UM MILHAO E UM REAIS"},
        {1001000, "UM MILHAO, UM MIL REAIS"},
        {2000000, "DOIS MILHOES DE REAIS"},
        {2000000.50, "DOIS MILHOES DE REAIS E CINQUENTA CENTAVOS"},
        {2500000, "DOIS MILHOES, QUINHENTOS MIL REAIS"},
        {1234567.89, "UM MILHAO, DUZENTOS E TRINTA E QUATRO MIL, QUINHENTOS E SESSENTA E SETE "
                     "REAIS E OITENTA E NOVE CENTAVOS"},
        {1000000000, "UM BILHAO DE REAIS"},
        {2000000000, "DOIS BILHOES DE REAIS"},
        {999999999999.99,
         "NOVECENTOS E NOVENTA E NOVE BILHOES, NOVECENTOS E NOVENTA E NOVE MILHOES, NOVECENTOS E "
         "NOVENTA E NOVE MIL, NOVECENTOS E NOVENTA E NOVE REAIS E NOVENTA E NOVE CENTAVOS"},
        {-1.50, "UM REAL E CINQUENTA CENTAVOS"},
        {-1234.56, "UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS"},
    });
}

TEST(Extensos, EdgeAmounts) {
    verificar({
        {-0.0, "ZERO"},
        {-1, "UM REAL"},
        {1.99, "UM REAL E NOVENTA E NOVE CENTAVOS"},
        {0.11, "ONZE CENTAVOS"},
        {1000000.01, "UM MILHAO DE REAIS E UM CENTAVO"},
        {1000002000, "UM BILHAO, DOIS MIL REAIS"},
        {1000000003, "UM BILHAO E TRES REAIS"},
        {1001000000, "UM BILHAO, UM MILHAO DE REAIS"},
        {1002, "UM MIL E DOIS REAIS"},
        {1002.01, "UM MIL, DOIS REAIS E UM CENTAVO"},
    });
}

TEST(Extensos, AmountsAreReadAtTheNearestCent) {
    verificar({
        {0.999, "UM REAL"},
        {1.999, "DOIS REAIS"},
        {1002.9999999, "UM MIL E TRES REAIS"},
        {1003.0000001, "UM MIL E TRES REAIS"},
        {0.1 + 0.2, "TRINTA CENTAVOS"},
        {0.995, "NOVENTA E NOVE CENTAVOS"}, // the binary value lies below 0.995
        {0.005000001, "UM CENTAVO"},
        {999999.999, "UM MILHAO DE REAIS"},
        {1.0049, "UM REAL"},
        // rounds to no cents at all: reads as the zero the figures show
        {0.004, "ZERO"},
        {-0.001, "ZERO"},
    });
}

TEST(Extensos, Trillions) {
    verificar({
        {1e12, "UM TRILHAO DE REAIS"},
        {2e12, "DOIS TRILHOES DE REAIS"},
        {1e12 + 0.5, "UM TRILHAO DE REAIS E CINQUENTA CENTAVOS"},
        {1000000000001.0, "UM TRILHAO E UM REAIS"},
        {1001000000000.0, "UM TRILHAO, UM BILHAO DE REAIS"},
        {1000001000000.0, "UM TRILHAO, UM MILHAO DE REAIS"},
        {1000000001000.0, "UM TRILHAO, UM MIL REAIS"},
        {999999999999.999, "UM TRILHAO DE REAIS"},
        {123456789012345.67,
         "CENTO E VINTE E TRES TRILHOES, QUATROCENTOS E CINQUENTA E SEIS BILHOES, SETECENTOS E "
         "OITENTA E NOVE MILHOES, DOZE MIL, TREZENTOS E QUARENTA E CINCO REAIS E SESSENTA E SETE "
         "CENTAVOS"},
        {-5e12, "CINCO TRILHOES DE REAIS"},
        {999999999999999.0,
         "NOVECENTOS E NOVENTA E NOVE TRILHOES, NOVECENTOS E NOVENTA E NOVE BILHOES, NOVECENTOS E "
         "NOVENTA E NOVE MILHOES, NOVECENTOS E NOVENTA E NOVE MIL E NOVECENTOS E NOVENTA E NOVE "
         "REAIS"},
    });
}

TEST(Extensos, AmountsBeyondWordsAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    verificar({
        {1e15, kValorGrandeDemais},
        {-1e15, kValorGrandeDemais},
        {1e300, kValorGrandeDemais},
        {inf, kValorGrandeDemais},
        {-inf, kValorGrandeDemais},
        {std::numeric_limits<double>::quiet_NaN(), kValorGrandeDemais},
    });
    // the largest amount below the limit still reads in words
    const double quase = std::nextafter(1e15, 0.0);
    EXPECT_NE(valor_extenso(quase), kValorGrandeDemais);
    EXPECT_NE(valor_extenso(quase).find("NOVECENTOS E NOVENTA E NOVE TRILHOES"), std::string::npos);
}
