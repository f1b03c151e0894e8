#include "printing/macros.h"
#include "tests/apoio/nome_teste.h"

#include <gtest/gtest.h>

namespace qp = quarvel::printing;

namespace {

qp::ValoresMacro valores() {
    qp::ValoresMacro v;
    v.pagina = 2;
    v.paginas = 7;
    v.titulo = "Quarvel 1.0";
    v.data = "08/12/2026";
    v.hora = "01:30:05";
    return v;
}

struct Caso {
    const char* texto;
    const char* esperado;
};

void PrintTo(const Caso& c, std::ostream* os) {
    *os << '"' << c.texto << '"';
}

class ExpansaoMacros : public ::testing::TestWithParam<Caso> {};

std::string nome_caso(const ::testing::TestParamInfo<Caso>& i) {
    return quarvel::testes::nome_de_texto(i.param.texto);
}

TEST_P(ExpansaoMacros, ExpandeComoNaTabela) {
    EXPECT_EQ(qp::expandir_macros(GetParam().texto, valores()), GetParam().esperado)
        << "texto: " << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, ExpansaoMacros,
    ::testing::Values(Caso{"$PAGENUM$/$PAGECOUNT$", "2/7"}, Caso{"$TITLE$", "Quarvel 1.0"},
                      Caso{"$title$", "Quarvel 1.0"}, Caso{"$Title$", "Quarvel 1.0"},
                      Caso{"$DATE$", "08/12/2026"}, Caso{"$TIME$", "01:30:05"},
                      Caso{"$DATETIME$", "08/12/2026 01:30:05"},
                      Caso{"$timedate$", "01:30:05 08/12/2026"},
                      Caso{"Caixa $DATE$", "Caixa 08/12/2026"},
                      Caso{"Página $PageNum$ de $PAGECOUNT$.", "Página 2 de 7."}),
    nome_caso);

INSTANTIATE_TEST_SUITE_P(NaoMacros, ExpansaoMacros,
                         ::testing::Values(
                             // Two amounts written with "R$ ": no macro between the signs.
                             Caso{"R$ 10,00 e R$ 20,00", "R$ 10,00 e R$ 20,00"},
                             Caso{"R$ 5", "R$ 5"}, Caso{"$", "$"}, Caso{"$$", "$$"},
                             Caso{"a$b$c", "a$b$c"},
                             // The second sign of a non-match opens the next macro.
                             Caso{"$$PAGENUM$", "$2"}, Caso{"R$ 5 $DATE$", "R$ 5 08/12/2026"},
                             Caso{"$PAGE NUM$", "$PAGE NUM$"}, Caso{"$PAGENUM", "$PAGENUM"},
                             Caso{"$TITLEX$$TITLE$", "$TITLEX$Quarvel 1.0"},
                             Caso{"$DATE$$", "08/12/2026$"},
                             Caso{"texto simples", "texto simples"}),
                         nome_caso);

INSTANTIATE_TEST_SUITE_P(Brancos, ExpansaoMacros,
                         ::testing::Values(Caso{"", ""}, Caso{"   ", ""}, Caso{" \t \r\n", ""},
                                           Caso{" x ", " x "}),
                         nome_caso);

TEST(ExpansaoMacros, TituloVazioDaNada) {
    auto v = valores();
    v.titulo.clear();
    EXPECT_EQ(qp::expandir_macros("[$TITLE$]", v), "[]");
}

TEST(ExpansaoMacros, NumerosGrandesEmDecimal) {
    auto v = valores();
    v.pagina = 1234;
    v.paginas = 1234;
    EXPECT_EQ(qp::expandir_macros("$PAGENUM$/$PAGECOUNT$", v), "1234/1234");
}

TEST(SoBrancos, ReconheceBrancosEControles) {
    EXPECT_TRUE(qp::so_brancos(""));
    EXPECT_TRUE(qp::so_brancos(" \x01\x1f "));
    EXPECT_FALSE(qp::so_brancos(" $ "));
    EXPECT_FALSE(qp::so_brancos("\xc3\xa9")); // é in UTF-8
}

} // namespace
