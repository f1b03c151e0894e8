// Amounts in words, as written on a cheque. The words read the whole number
// of cents that the money mask shows (calc/centavos.h), laid out as a
// fixed-width digit string; every decision below reads that string, so the
// words always say what the figures show.
#include "calc/extensos.h"

#include "calc/centavos.h"

#include <cmath>

namespace quarvel::calc {

namespace {

const char* const kCentenas[10] = {
    "",           "CEM",        "DUZENTOS",   "TREZENTOS",  "QUATROCENTOS",
    "QUINHENTOS", "SEISCENTOS", "SETECENTOS", "OITOCENTOS", "NOVECENTOS"};
const char* const kDezenas[10] = {"",          "",         "VINTE",   "TRINTA",  "QUARENTA",
                                  "CINQUENTA", "SESSENTA", "SETENTA", "OITENTA", "NOVENTA"};
const char* const kDez[10] = {"DEZ",    "ONZE",      "DOZE",      "TREZE",   "QUATORZE",
                              "QUINZE", "DEZESSEIS", "DEZESSETE", "DEZOITO", "DEZENOVE"};
const char* const kUnidades[10] = {"",      "UM",   "DOIS", "TRES", "QUATRO",
                                   "CINCO", "SEIS", "SETE", "OITO", "NOVE"};

// Digit string: trillions, billions, millions, thousands and units groups
// (three digits each), then two digits of cents.
constexpr int kLargura = 17;
constexpr int kTrilhoes = 0;
constexpr int kBilhoes = 3;
constexpr int kMilhoes = 6;
constexpr int kMilhares = 9;
constexpr int kUnidadesReais = 12;
constexpr int kCentavos = 15;

// The words go up to the trillions: from here on an amount is refused.
constexpr double kMaiorValor = 1e15;

bool grupo_zero(const char* g) {
    return g[0] == '0' && g[1] == '0' && g[2] == '0';
}
bool grupo_um(const char* g) {
    return g[0] == '0' && g[1] == '0' && g[2] == '1';
}

// Joins a group of a large order (millions, billions...) to the text.
void juntar_ordem(std::string& texto, const char* g, const char* singular, const char* plural) {
    const std::string w = grupo_extenso(std::string_view(g, 3));
    if (w.empty()) return;
    if (!texto.empty()) texto += ", ";
    texto += w;
    texto += grupo_um(g) ? singular : plural;
}

} // namespace

std::string grupo_extenso(std::string_view tres_digitos) {
    if (tres_digitos.size() != 3) return {};
    for (char c : tres_digitos) {
        if (c < '0' || c > '9') return {};
    }
    const int c = tres_digitos[0] - '0';
    const int d = tres_digitos[1] - '0';
    const int u = tres_digitos[2] - '0';

    std::string texto;
    texto.reserve(40);
    // One hundred alone is "CEM"; followed by tens or units it is "CENTO".
    texto = (c == 1 && (d != 0 || u != 0)) ? "CENTO" : kCentenas[c];
    if (d == 1) {
        if (!texto.empty()) texto += " E ";
        texto += kDez[u];
    } else {
        if (!texto.empty() && d != 0) texto += " E ";
        texto += kDezenas[d];
        if (u != 0) {
            if (!texto.empty()) texto += " E ";
            texto += kUnidades[u];
        }
    }
    return texto;
}

std::string valor_extenso(double valor) {
    if (!std::isfinite(valor)) return kValorGrandeDemais;
    if (std::fabs(valor) >= kMaiorValor) return kValorGrandeDemais;
    if (valor == 0.0) return "ZERO";

    // The cents the money mask shows; an amount just below 10^15 may round
    // up to it.
    const std::string inteiro = centavos(expandir(valor));
    if (inteiro.size() > static_cast<std::size_t>(kLargura)) return kValorGrandeDemais;
    std::string digitos(kLargura - inteiro.size(), '0');
    digitos += inteiro;
    const char* const dig = digitos.data();

    const char* const dig_centavos = dig + kCentavos;
    bool inteiro_zero = true;
    for (int i = 0; i < kCentavos; ++i)
        inteiro_zero = inteiro_zero && dig[i] == '0';
    const bool sem_centavos = dig_centavos[0] == '0' && dig_centavos[1] == '0';

    if (inteiro_zero && sem_centavos) return "ZERO"; // shown as 0,00

    std::string texto;
    texto.reserve(200);
    if (!inteiro_zero) {
        juntar_ordem(texto, dig + kTrilhoes, " TRILHAO", " TRILHOES");
        juntar_ordem(texto, dig + kBilhoes, " BILHAO", " BILHOES");
        juntar_ordem(texto, dig + kMilhoes, " MILHAO", " MILHOES");

        const std::string mil = grupo_extenso(std::string_view(dig + kMilhares, 3));
        if (!mil.empty()) {
            if (!texto.empty()) texto += ", ";
            texto += mil;
            texto += " MIL";
        }

        // The last group takes " E " in a whole amount; with cents the " E "
        // belongs to the cents.
        const std::string unidades = grupo_extenso(std::string_view(dig + kUnidadesReais, 3));
        if (!unidades.empty()) {
            if (!texto.empty()) texto += sem_centavos ? " E " : ", ";
            texto += unidades;
        }

        bool um_real = grupo_um(dig + kUnidadesReais);
        for (int i = 0; i < kUnidadesReais; ++i)
            um_real = um_real && dig[i] == '0';
        if (grupo_zero(dig + kMilhares) && grupo_zero(dig + kUnidadesReais)) {
            texto += " DE REAIS"; // a whole number of millions or above
        } else {
            texto += um_real ? " REAL" : " REAIS";
        }
    }

    const char grupo_centavos[3] = {'0', dig_centavos[0], dig_centavos[1]};
    const std::string w = grupo_extenso(std::string_view(grupo_centavos, 3));
    if (!w.empty()) {
        if (!texto.empty()) texto += " E ";
        texto += w;
        texto += (w == "UM") ? " CENTAVO" : " CENTAVOS";
    }
    return texto;
}

} // namespace quarvel::calc
