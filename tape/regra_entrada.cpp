#include "tape/regra_entrada.h"

#include "calc/dinheiro.h"
#include "calc/infix.h"

#include <cstddef>

namespace quarvel::tape {

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;
constexpr char32_t kEscape = 27;
constexpr char32_t kDelete = 127;
constexpr std::size_t kCaracteresContados = 255;

// A UTF-8 character starts at every byte that is not a continuation byte.
inline bool inicio_de_caractere(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::size_t contar_caracteres(std::string_view texto) {
    std::size_t n = 0;
    for (char c : texto)
        if (inicio_de_caractere(c)) ++n;
    return n;
}

// "1234567" -> "1.234.567"
std::string agrupar_milhares(const std::string& digitos) {
    std::string r;
    const auto n = digitos.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r.push_back('.');
        r.push_back(digitos[i]);
    }
    return r;
}

// The integer part grouped by thousands, no leading zeros, empty for zero;
// from 19 digits up the general form of a raw value. The fraction is rounded
// half away from zero before the digits are counted, so 999...9,9 is already
// written in the general form.
std::string formatar_agrupado(calc::Estendido valor) {
    const bool negativo = valor < 0;
    const calc::Estendido arredondado = calc::piso((negativo ? -valor : valor) + 0.5);
    if (arredondado >= 1e18) return calc::valor_bruto(negativo ? -arredondado : arredondado);
    // Below 10^18 every integer is exact in the 64-bit mantissa.
    const auto inteiro = static_cast<unsigned long long>(arredondado);
    if (inteiro == 0) return "";
    std::string r = negativo ? "-" : "";
    return r + agrupar_milhares(std::to_string(inteiro));
}

// A number in the exponent form, such as 1E20: the form the rule itself
// writes for more than 18 digits. Read for its digits it would become 120.
bool forma_exponencial(std::string_view texto) {
    return texto.find_first_of("Ee") != std::string_view::npos &&
           calc::ler_estrito(texto).has_value();
}

} // namespace

std::optional<char32_t> filtrar_caractere(char32_t c) {
    if (c == kBackspace || c == kEnter || c == kEscape || c == kDelete) return c;
    if (c >= U'(' && c <= U'9') return c == U'.' ? U',' : c;
    return std::nullopt;
}

int contar_ocorrencias(char padrao, std::string_view texto) {
    int n = 0;
    std::size_t caracteres = 0;
    for (char c : texto) {
        if (inicio_de_caractere(c) && ++caracteres > kCaracteresContados) break;
        if (c == padrao) ++n;
    }
    return n;
}

namespace {

// What the rule writes into the field, also when it is the text already
// there; nothing when the rule leaves the text alone.
std::optional<std::string> escrita_da_regra(std::string_view texto) {
    if (contar_caracteres(texto) < 4) return std::nullopt;
    const int virgulas = contar_ocorrencias(',', texto);
    // Typing the decimal part: never regrouped.
    if (virgulas == 1) return std::nullopt;
    // An expression or a signed amount stays as typed.
    if (texto.find_first_of("*/-+()") != std::string_view::npos) return std::nullopt;
    if (virgulas >= 2) return std::string();
    if (forma_exponencial(texto)) return std::nullopt;

    // Without a single digit there is nothing to regroup (a pasted word).
    const std::optional<calc::Estendido> valor = calc::extrair_valor(texto);
    if (!valor || texto.find_first_of("0123456789") == std::string_view::npos) return std::nullopt;
    return formatar_agrupado(*valor);
}

} // namespace

std::optional<std::string> reagrupar(std::string_view texto) {
    std::optional<std::string> r = escrita_da_regra(texto);
    if (r && *r == texto) return std::nullopt;
    return r;
}

bool regra_escreve(std::string_view texto) {
    return escrita_da_regra(texto).has_value();
}

Conversao converter_entrada(std::string_view texto_entrada) {
    std::string expressao;
    expressao.reserve(texto_entrada.size());
    for (char c : texto_entrada) {
        if (c == '.') continue;
        expressao.push_back(c == ',' ? '.' : c);
    }
    const calc::ResultadoExpressao r = calc::evaluate_expression(expressao);
    return Conversao{calc::valor_bruto(r.valor), r.posicao_erro};
}

bool entrada_recusada(std::string_view texto_entrada, const Conversao& c) {
    if (c.posicao_erro == 0) return false;
    return texto_entrada.find_first_not_of(' ') != std::string_view::npos;
}

} // namespace quarvel::tape
