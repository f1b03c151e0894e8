#pragma once
// Infix: the one-pass recursive-descent evaluator behind every typed amount.
// It reads the text character by character (no tokenizer, no tree), computes
// while it parses and stops at the first error.
#include <string_view>

namespace quarvel::calc {

struct ResultadoExpressao {
    double valor = 0.0;   // the value, or the partial value held when it stopped
    int posicao_erro = 0; // 0 when the whole text was well formed, else 1-based position
};

// Text with "." as decimal point and "," between function arguments. The whole
// text is evaluated, however long; nesting deeper than kProfundidadeMaxima is
// an error at the position where the limit was crossed.
ResultadoExpressao evaluate_expression(std::string_view texto);

inline constexpr int kProfundidadeMaxima = 256;

} // namespace quarvel::calc
