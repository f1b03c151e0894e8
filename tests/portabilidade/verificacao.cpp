// Prints what the standard-C++ core makes of a fixed set of amounts, strict
// readings, expressions, words, tapes and files: the tables of the rules and
// a seeded random set. Built for each processor (and for a long double that
// is only a double), the outputs must be the same bytes.
//
// Nothing here depends on the machine: the random numbers come from a
// splitmix64 of our own, doubles are printed as their bits.
#include "calc/centavos.h"
#include "calc/dinheiro.h"
#include "calc/estendido.h"
#include "calc/extensos.h"
#include "calc/infix.h"
#include "documents/arquivo_calculo.h"
#include "documents/texto.h"
#include "tape/fita.h"
#include "tape/regra_entrada.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace quarvel;

namespace {

class Aleatorio {
  public:
    explicit Aleatorio(std::uint64_t semente) : s_(semente) {}
    std::uint64_t proximo() {
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int ate(int n) { return static_cast<int>(proximo() % static_cast<std::uint64_t>(n)); }
    std::string digitos(int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += static_cast<char>('0' + ate(10));
        return r;
    }

  private:
    std::uint64_t s_;
};

std::string bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(b));
    return buf;
}

std::string bits(const calc::Estendido& v) {
    if (!calc::finito(v)) return calc::eh_nan(v) ? "nan" : v < 0 ? "-inf" : "inf";
    if (v == 0) return "0";
    const calc::Partes p = calc::partes(v);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%016llxp%d", p.negativo ? "-" : "",
                  static_cast<unsigned long long>(p.mantissa), p.expoente);
    return buf;
}

void linha(const std::string& s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fputc('\n', stdout);
}

// An entry typed and added: raw value, evaluator position, tape line, and
// the total of a tape holding only it, in figures and words.
void valor(const std::string& entrada) {
    const tape::Conversao c = tape::converter_entrada(entrada);
    std::string r =
        "valor [" + entrada + "] bruto " + c.bruto + " pos " + std::to_string(c.posicao_erro);
    try {
        const double total = tape::somar_brutos({c.bruto});
        r += " linha " + calc::linha_fita(c.bruto) + " total " + bits(total) + " R$ " +
             calc::mascara_dinheiro(total) + " [" + calc::valor_extenso(total) + "]";
    } catch (const std::exception& e) {
        r += std::string(" erro ") + e.what();
    }
    linha(r);
}

// A text read strictly and leniently, and the forms of what was read.
void leitura(const std::string& texto) {
    std::string r = "leitura [" + texto + "]";
    if (const auto v = calc::ler_estrito(texto)) {
        r += " estrita " + bits(*v) + " bruto " + calc::valor_bruto(*v) + " mascara " +
             calc::mascara_dinheiro(*v);
        if (calc::finito(*v) && calc::absoluto(*v) < 1e40)
            r += " completa " + calc::mascara_completa(*v);
    } else {
        r += " estrita recusada";
    }
    if (const auto v = calc::extrair_valor(texto))
        r += " extraida " + bits(*v) + " bruto " + calc::valor_bruto(*v);
    else
        r += " extraida nada";
    if (const auto g = tape::reagrupar(texto)) r += " reagrupar [" + *g + "]";
    linha(r);
}

void expressao(const std::string& texto) {
    const calc::ResultadoExpressao r = calc::evaluate_expression(texto);
    linha("expressao [" + texto + "] " + bits(r.valor) + " pos " + std::to_string(r.posicao_erro) +
          " bruto " + calc::valor_bruto(r.valor));
}

void extenso(double v) {
    linha("extenso " + bits(v) + " [" + calc::valor_extenso(v) + "]");
}

void fita(const std::vector<std::string>& brutos) {
    std::string r = "fita " + std::to_string(brutos.size());
    try {
        const double total = tape::somar_brutos(brutos);
        r += " total " + bits(total) + " R$ " + calc::mascara_dinheiro(total) + " [" +
             calc::valor_extenso(total) + "]";
    } catch (const std::exception& e) {
        r += std::string(" erro ") + e.what();
    }
    linha(r);
}

// The random draws are sequenced one statement at a time: the order in which
// the operands of one expression are evaluated is the compiler's choice.

// A random amount as typed: cents, half cents, long fractions, exponents.
std::string quantia(Aleatorio& a) {
    std::string s = a.ate(8) == 0 ? "-" : "";
    switch (a.ate(6)) {
    case 0:
        s += std::to_string(a.ate(100000));
        s += ",";
        s += a.digitos(2);
        return s;
    case 1:
        s += std::to_string(a.ate(1000));
        s += ",";
        s += a.digitos(2);
        return s + "5";
    case 2:
        s += a.digitos(1 + a.ate(19));
        s += ",";
        s += a.digitos(a.ate(22));
        return s;
    case 3:
        s += a.digitos(1 + a.ate(4));
        s += "E";
        s += a.ate(2) ? "-" : "";
        s += std::to_string(a.ate(40));
        return s;
    case 4:
        s += "0,";
        s += std::string(static_cast<std::size_t>(a.ate(12)), '0');
        s += a.digitos(3);
        return s;
    default:
        s += a.digitos(1 + a.ate(3));
        s += "*";
        s += a.digitos(1 + a.ate(3));
        s += "/";
        s += std::to_string(1 + a.ate(999));
        return s;
    }
}

std::string numero_expressao(Aleatorio& a) {
    std::string n = a.digitos(1 + a.ate(6));
    if (a.ate(2)) {
        n += ".";
        n += a.digitos(1 + a.ate(8));
    }
    if (a.ate(5) == 0) {
        n += a.ate(2) ? "e" : "E";
        n += a.ate(2) ? "-" : "";
        n += std::to_string(a.ate(40));
    }
    return n;
}

std::string expressao_aleatoria(Aleatorio& a, int profundidade = 0) {
    static const char* const funcoes[] = {"ABS", "SQRT", "SQR", "EXP",
                                          "LN",  "SIN",  "COS", "ARCTAN"};
    std::string r;
    const int termos = 1 + a.ate(4);
    for (int i = 0; i < termos; ++i) {
        if (i > 0) r += "+-*/"[a.ate(4)];
        const int tipo = profundidade > 2 ? 0 : a.ate(6);
        if (tipo == 4) {
            r += "(";
            r += expressao_aleatoria(a, profundidade + 1);
            r += ")";
        } else if (tipo == 5) {
            r += funcoes[a.ate(8)];
            r += "(";
            r += expressao_aleatoria(a, profundidade + 1);
            r += ")";
        } else {
            r += numero_expressao(a);
        }
    }
    if (a.ate(30) == 0) {
        const auto onde = static_cast<std::size_t>(a.ate(static_cast<int>(r.size()) + 1));
        r.insert(onde, 1, "x ).,"[a.ate(5)]);
    }
    return r;
}

// A raw value of any size, mixing the huge with the tiny.
std::string bruto_aleatorio(Aleatorio& a) {
    const std::string b = tape::converter_entrada(quantia(a)).bruto;
    const int tipo = a.ate(5);
    if (tipo > 1) return b;
    std::string r = a.digitos(1);
    r += ",";
    r += a.digitos(14);
    r += tipo == 0 ? "E" : "E-";
    r += std::to_string(a.ate(300));
    return r;
}

} // namespace

int main() {
    // The rules' own tables.
    for (const char* t :
         {"1234,5", "6170",    "0,1",     "0",    "-0,5",     "1234567,891", "10/3",   "2,675",
          "-0,125", "0,00005", "1,5E15",  "1E20", "1.234,56", "12*50",       "12,5*2", "",
          "-5",     "-0,001",  "999,995", "2+",   "5+1/0",    "(2+3",        "1e38"})
        valor(t);
    for (const char* t : {"1.234,56",
                          "-1.234",
                          "12-3",
                          "1,2,3",
                          ",",
                          "R$ 1.234,56",
                          "+7",
                          " -5",
                          "1E5",
                          "a,b",
                          "2,675",
                          "3,33333333333333",
                          "0,1",
                          "9999999999999999999",
                          "12345678901234567890123",
                          "1E-5000",
                          "1E5000",
                          "1E-4940",
                          "1E4932",
                          "1,18973149535723176502E4932",
                          "0,999999999999999999",
                          "999999999999999,9",
                          "1234567",
                          "1234567,5",
                          "abc",
                          "1.5",
                          "  12,5  ",
                          "-,",
                          "1E99999",
                          "0,000000000000000000000000000001"})
        leitura(t);
    for (const char* t : {"12*50",
                          "2+3*4",
                          "(2+3)*4",
                          "10/4",
                          "2 * 3",
                          "- 5",
                          "+5",
                          "-2*3",
                          "-2+3",
                          "2+3)",
                          "1 000",
                          ".5",
                          "5.x",
                          "2.5e3",
                          "1.5E-2",
                          "1e37",
                          "10e37",
                          "1e38",
                          "0.1e-37",
                          "9999999999999999999999999999999999999",
                          "99999999999999999999999999999999999999",
                          "sqrt(16)",
                          "SQRT(16)",
                          "Sqrt ( 16 )",
                          "SQRT 16",
                          "PI",
                          "pi*2",
                          "PI()",
                          "PI(1)",
                          "ABS(-5)",
                          "ABS(1,2)",
                          "ABS(2 3)",
                          "ABS(2,",
                          "ABS(",
                          "foo(1)",
                          "LN(0)",
                          "SQRT(-1)",
                          "EXP(100)",
                          "SQR(1e20)",
                          "EXP(-100)",
                          "1e37+1e37",
                          "-1e37-1e37",
                          "3-1e37",
                          "10/0",
                          "0/0",
                          "0/5",
                          "\t1",
                          "1\t",
                          "2+",
                          "5+1/0",
                          "1/0+5",
                          "(2+3",
                          "2*-3",
                          "5.",
                          "1e38",
                          "5*(1e37+1e37)",
                          "",
                          "EXP(85.19564844)",
                          "EXP(85.1956484407)",
                          "SQR(3.1622776601e18)",
                          "1e36*10.0000000000001",
                          "1e-36/10.0000000000001",
                          "1e20*1e17",
                          "1e-20/1e17"})
        expressao(t);
    for (double v : {0.0,
                     0.01,
                     0.21,
                     0.50,
                     1.0,
                     1.01,
                     1.50,
                     2.0,
                     16.0,
                     21.0,
                     100.0,
                     101.0,
                     999.99,
                     1000.0,
                     1001.0,
                     1100.0,
                     1100.10,
                     21000.0,
                     101000.0,
                     1000000.0,
                     1000001.0,
                     1001000.0,
                     2000000.0,
                     2000000.50,
                     2500000.0,
                     1234567.89,
                     1000000000.0,
                     2000000000.0,
                     999999999999.99,
                     -1.50,
                     -1234.56,
                     0.999,
                     1.999,
                     1002.999,
                     999999999999999.9,
                     1e15,
                     2.675,
                     0.005,
                     0.015,
                     0.025})
        extenso(v);

    // A tape that mixes huge and tiny values in one total, where the order of
    // the sums and the width of long double show first.
    fita({"2,675"});
    fita({"1E15", "0,01", "-1E15", "0,01"});
    fita({"9,99999999999999E307", "9,99999999999999E307", "-9,99999999999999E307", "1"});
    fita({"1E-300", "3,33333333333333", "1E300", "-1E300", "0,1", "0,2"});

    // The seeded random set.
    Aleatorio a(20261208);
    for (int i = 0; i < 1500; ++i)
        valor(quantia(a));
    for (int i = 0; i < 1200; ++i) {
        std::string t = a.ate(3) == 0 ? bruto_aleatorio(a) : quantia(a);
        if (a.ate(4) == 0) { // long digit strings
            t = a.digitos(1 + a.ate(40));
            t += ",";
            t += a.digitos(a.ate(30));
        }
        if (a.ate(10) == 0) { // exponents up to overflow and gradual underflow
            t += a.ate(2) ? "E-" : "E";
            t += std::to_string(a.ate(5000));
        }
        if (a.ate(10) == 0) { // grouped by thousands
            t = a.digitos(1 + a.ate(3));
            for (int k = 0; k < 2; ++k) {
                t += ".";
                t += a.digitos(3);
            }
        }
        leitura(t);
    }
    for (int i = 0; i < 1500; ++i)
        expressao(expressao_aleatoria(a));
    for (int i = 0; i < 600; ++i) {
        const auto v = calc::ler_estrito(tape::converter_entrada(quantia(a)).bruto);
        const double escala = a.ate(5) == 0 ? 1e9 : 1;
        extenso(static_cast<double>(*v) * escala);
    }
    for (int i = 0; i < 150; ++i) {
        std::vector<std::string> brutos;
        const int n = 1 + a.ate(a.ate(10) == 0 ? 3000 : 40);
        for (int k = 0; k < n; ++k)
            brutos.push_back(bruto_aleatorio(a));
        fita(brutos);
    }

    // The files: a text import of mixed lines and a calculation file.
    std::string texto;
    for (int i = 0; i < 400; ++i) {
        texto += quantia(a);
        texto += a.ate(7) == 0 ? " reais\r\n" : "\r\n";
    }
    const documents::LeituraTexto lt = documents::ler_texto(texto);
    linha("texto " + std::to_string(static_cast<int>(lt.estado)) + " " +
          std::to_string(lt.brutos.size()));
    for (std::size_t i = 0; i < lt.brutos.size(); ++i)
        linha("importado " + lt.brutos[i] + " " + lt.linhas[i]);
    fita(lt.brutos);
    linha(documents::escrever_texto(lt.linhas).substr(0, 2000));
    documents::Documento doc;
    doc.config.cabecalho = "Loja";
    for (int i = 0; i < 300; ++i)
        doc.brutos.push_back(bruto_aleatorio(a));
    const documents::CargaCalculo carga =
        documents::carregar_calculo(documents::escrever_calculo(doc));
    linha("calculo " + std::to_string(static_cast<int>(carga.estado)) + " " + carga.detalhe);
    for (const auto& l : carga.linhas)
        linha("linha " + l);
    return 0;
}
