// One-pass recursive-descent evaluator: every step reads the text in place,
// computes as it goes and stops at the first error, leaving the position and
// the partial value behind. No tokens, no tree, no allocation.
#include "calc/infix.h"

#include "calc/estendido.h"
#include "calc/grandeza.h"

#include <cmath>
#include <cstddef>

namespace quarvel::calc {

namespace {

constexpr double kLimite = 1e37;        // largest magnitude a result may take
constexpr double kLimiteDigitos = 1e36; // above this no further digit is read

// Bounds inside which a product, quotient or scaled number is certainly
// within 10^-37..10^37, so the magnitude test cannot fail and need not be
// run. Outside them it is decided exactly (calc/grandeza.h).
constexpr double kSeguroMax = 1e30;
constexpr double kSeguroMin = 1e-30;

// ln 10 in the extended type, rounded to its 64-bit mantissa: EXP's
// magnitude is x / ln 10 divided there.
const Estendido kLn10 = estendido_de_partes(false, 0x935d8dddaaa8ac17, -62);

inline bool letra(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool digito(char c) {
    return c >= '0' && c <= '9';
}
inline char maiuscula(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Case-insensitive exact comparison of a name in the text with an
// upper-case name.
inline bool mesmo_nome(const char* ini, std::size_t n, const char* nome) {
    std::size_t i = 0;
    for (; i < n; ++i) {
        if (nome[i] == '\0' || maiuscula(ini[i]) != nome[i]) return false;
    }
    return nome[i] == '\0';
}

class Avaliador {
  public:
    explicit Avaliador(std::string_view texto)
        : ini_(texto.data()), p_(texto.data()), fim_(texto.data() + texto.size()) {}

    ResultadoExpressao avaliar() {
        ResultadoExpressao r;
        r.valor = expressao_simples();
        if (erro_) {
            r.posicao_erro = posicao();
        } else {
            pular_brancos();
            if (!no_fim()) r.posicao_erro = posicao(); // trailing text, not an error
        }
        return r;
    }

  private:
    const char* ini_;
    const char* p_;
    const char* fim_;
    bool erro_ = false;
    int profundidade_ = 0;

    int posicao() const { return static_cast<int>(p_ - ini_) + 1; }
    bool no_fim() const { return p_ >= fim_; }
    void pular_brancos() {
        while (p_ < fim_ && *p_ == ' ')
            ++p_;
    }
    double falha() {
        erro_ = true;
        return 0.0;
    }

    // Nested expression: a parenthesised one or a function argument.
    double expressao_aninhada() {
        if (profundidade_ >= kProfundidadeMaxima) return falha();
        ++profundidade_;
        double v = expressao_simples();
        --profundidade_;
        return v;
    }

    double expressao_simples() {
        pular_brancos();
        if (no_fim()) return falha(); // missing expression
        char sinal = 0;
        if (*p_ == '+' || *p_ == '-') sinal = *p_++;
        double v = termo();
        if (erro_) return v; // the sign is not applied to a failed first term
        if (sinal == '-') v = -v;
        while (!erro_) {
            pular_brancos();
            if (no_fim() || (*p_ != '+' && *p_ != '-')) break;
            const char op = *p_++;
            const double t = termo();
            if (!erro_) v = (op == '+') ? somar(v, t) : subtrair(v, t);
        }
        return v;
    }

    double termo() {
        pular_brancos();
        if (no_fim()) return falha(); // missing term
        double v = fator();
        while (!erro_) {
            pular_brancos();
            if (no_fim() || (*p_ != '*' && *p_ != '/')) break;
            const char op = *p_++;
            const double f = fator();
            if (!erro_) v = (op == '*') ? multiplicar(v, f) : dividir(v, f);
        }
        return v;
    }

    double fator() {
        pular_brancos();
        if (no_fim()) return falha(); // missing factor
        const char c = *p_;
        if (c == '(') {
            ++p_;
            const double v = expressao_aninhada();
            if (erro_) return v;
            pular_brancos();
            if (no_fim()) {
                erro_ = true; // missing ")": the inner value stays
            } else if (*p_ == ')') {
                ++p_;
            } else {
                erro_ = true; // something else where ")" belongs
            }
            return v;
        }
        if (digito(c)) return numero();
        if (letra(c)) return chamada();
        return falha(); // bad factor
    }

    // Integer digits with the 10^36 test before each further digit; used for
    // the integer part and for the exponent.
    double inteiro() {
        double v = 0.0;
        while (p_ < fim_ && digito(*p_)) {
            if (v > kLimiteDigitos) {
                erro_ = true; // too big a constant: the value so far stays
                return v;
            }
            v = v * 10.0 + (*p_ - '0');
            ++p_;
        }
        return v;
    }

    double numero() {
        double v = inteiro();
        if (erro_) return v;
        if (p_ < fim_ && *p_ == '.') {
            ++p_;
            if (no_fim() || !digito(*p_)) {
                erro_ = true; // "5." or "5.x"
                return v;
            }
            double escala = 1.0;
            while (p_ < fim_ && digito(*p_)) {
                escala /= 10.0;
                v += (*p_ - '0') * escala;
                ++p_;
            }
        }
        int expoente = 0;
        bool negativo = false;
        if (p_ < fim_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (no_fim()) {
                erro_ = true;
                return v;
            }
            if (*p_ == '+' || *p_ == '-') negativo = (*p_++ == '-');
            if (no_fim() || !digito(*p_)) {
                erro_ = true; // sign at the end, or no digit in the exponent
                return v;
            }
            const double e = inteiro();
            if (erro_) return v;
            if (e > 37.0) {
                erro_ = true;
                return v;
            }
            expoente = static_cast<int>(e);
        }
        if (v == 0.0) return 0.0;
        double fator = 1.0;
        for (int i = 0; i < expoente; ++i)
            fator *= 10.0;
        if (negativo) fator = 1.0 / fator;
        const double r = v * fator;
        if (r >= kSeguroMin && r <= kSeguroMax) return r;
        const Grandeza g = grandeza_produto(v, fator);
        if (g == Grandeza::Abaixo) return 0.0;
        if (g == Grandeza::Acima) {
            erro_ = true; // too big a constant: the unscaled value stays
            return v;
        }
        return r;
    }

    double chamada() {
        const char* nome = p_;
        while (p_ < fim_ && letra(*p_))
            ++p_;
        const std::size_t n = static_cast<std::size_t>(p_ - nome);
        pular_brancos();

        // Only the number of arguments and the last one (the top of the
        // argument stack) matter to the bodies.
        int argumentos = 0;
        double topo = 0.0;
        if (p_ < fim_ && *p_ == '(') {
            ++p_;
            bool fechada = false;
            while (!fechada && !erro_ && !no_fim()) {
                const double a = expressao_aninhada();
                if (erro_) break;
                ++argumentos;
                topo = a;
                pular_brancos();
                if (no_fim()) break;
                if (*p_ == ')') {
                    ++p_;
                    fechada = true;
                } else if (*p_ == ',') {
                    ++p_;
                } else {
                    erro_ = true; // missing comma
                }
            }
            if (!erro_ && !fechada) erro_ = true; // unterminated argument list
        }
        if (erro_) return 0.0;

        // Names are compared in this order; the first match runs.
        enum class F { Abs, Arctan, Cos, Exp, Ln, Pi, Sin, Sqr, Sqrt };
        static constexpr struct {
            const char* nome;
            F f;
        } kFuncoes[] = {{"ABS", F::Abs}, {"ARCTAN", F::Arctan}, {"COS", F::Cos},
                        {"EXP", F::Exp}, {"LN", F::Ln},         {"PI", F::Pi},
                        {"SIN", F::Sin}, {"SQR", F::Sqr},       {"SQRT", F::Sqrt}};
        const F* achada = nullptr;
        for (const auto& fn : kFuncoes) {
            if (mesmo_nome(nome, n, fn.nome)) {
                achada = &fn.f;
                break;
            }
        }
        if (achada == nullptr) return falha(); // unrecognised function
        const F f = *achada;
        if (f == F::Pi) {
            if (argumentos > 0) return falha(); // PI takes no argument
            return 4.0 * std::atan(1.0);
        }
        if (argumentos == 0) return falha(); // missing argument
        if (argumentos > 1) return falha();  // extra argument
        const double x = topo;

        constexpr double k2e63 = 9223372036854775808.0;
        switch (f) {
        case F::Abs:
            return x >= 0.0 ? x : -x;
        case F::Arctan:
            return std::atan(x);
        case F::Cos:
            return std::fabs(x) >= k2e63 ? 0.0 : std::cos(x);
        case F::Sin:
            return std::fabs(x) >= k2e63 ? 0.0 : std::sin(x);
        case F::Exp: {
            const double m = static_cast<double>(Estendido(x) / kLn10);
            if (m < -37.0) return 0.0;
            if (m > 37.0) return falha();
            return std::exp(x);
        }
        case F::Ln:
            if (x <= 0.0) return falha();
            return std::log(x);
        case F::Sqr: {
            if (x == 0.0) return 0.0;
            const double ax = std::fabs(x);
            if (ax >= 1e-15 && ax <= 1e15) return x * x;
            const Grandeza g = grandeza_produto(ax, ax);
            if (g == Grandeza::Abaixo) return 0.0;
            if (g == Grandeza::Acima) return falha();
            return x * x;
        }
        case F::Sqrt:
            if (x < 0.0) return falha();
            return std::sqrt(x);
        case F::Pi:
            break;
        }
        return 0.0;
    }

    // Guarded operations: on error the running value becomes 0.
    double somar(double a, double b) {
        if (a > 0.0 && b > 0.0 && a > kLimite - b) return falha();
        if (a < 0.0 && b < 0.0 && a < -kLimite - b) return falha();
        return a + b;
    }

    double subtrair(double a, double b) {
        if (a < 0.0 && b > 0.0 && a < b - kLimite) return falha();
        if (a > 0.0 && b < 0.0 && a > kLimite + b) return falha();
        return a - b;
    }

    double multiplicar(double a, double b) {
        if (a == 0.0 || b == 0.0) return 0.0;
        const double r = a * b;
        const double ar = std::fabs(r);
        if (ar >= kSeguroMin && ar <= kSeguroMax) return r;
        const Grandeza g = grandeza_produto(a, b);
        if (g == Grandeza::Abaixo) return 0.0;
        if (g == Grandeza::Acima) return falha();
        return r;
    }

    double dividir(double a, double b) {
        if (b == 0.0) return falha(); // also 0/0
        if (a == 0.0) return 0.0;
        const double r = a / b;
        const double ar = std::fabs(r);
        if (ar >= kSeguroMin && ar <= kSeguroMax) return r;
        const Grandeza g = grandeza_quociente(a, b);
        if (g == Grandeza::Abaixo) return 0.0;
        if (g == Grandeza::Acima) return falha();
        return r;
    }
};

} // namespace

ResultadoExpressao evaluate_expression(std::string_view texto) {
    return Avaliador(texto).avaliar();
}

} // namespace quarvel::calc
