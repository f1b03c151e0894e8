#pragma once
// The tape's texts and limits, written once for the window and the command
// line alike.
#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel::tape {

// The total's buffer holds 50,000 amounts; every producer of tape lines
// refuses to go beyond it.
inline constexpr std::size_t kMaximoValores = 50000;
inline constexpr const char* kMensagemMaximo =
    "O máximo suportado pela base de cálculos é de 50.000 valores";

// Before every amount in figures: the total display, the printed lines.
inline constexpr const char* kPrefixoReais = "R$ ";

// A position past the end of the tape (an error of the program).
inline constexpr const char* kForaDaFita = "posição fora da fita";

// form_repetir counts from 1 to this.
inline constexpr int kMaximoRepeticoes = 5000;

// Search.
inline constexpr const char* kNadaEncontrado = "Nenhuma Informação Encontrada !";
inline constexpr const char* kFimDaPesquisa = "Fim da Pesquisa !";
inline constexpr const char* kBuscaSemValor = "Informe um valor para localizar.";

// form_valor, as modify and search use it.
inline constexpr const char* kTituloModificar = "Modificar Valor";
inline constexpr const char* kRotuloModificar = "Novo Valor:";
inline constexpr const char* kTituloBuscar = "Buscar Valor";
inline constexpr const char* kRotuloBuscar = "Digite o valor que deseja buscar:";

// The steps of the undo history, as the menu items "Desfazer na Fita: …" and
// "Refazer na Fita: …" name them: the command's caption and the amount in the
// money mask.
inline constexpr const char* kPassoAdicionar = "Adicionar %1";
inline constexpr const char* kPassoRepetir = "Repetir %1 × %2";
inline constexpr const char* kPassoDeletar = "Deletar %1";
inline constexpr const char* kPassoModificar = "Modificar %1 para %2";
inline constexpr const char* kPassoLimpar = "Limpar Tudo";

// The evaluator counts positions in the text it was given, which has no
// thousands points; this is the same place counted in characters of the text
// as typed (1-based; past the end for an expression cut short).
int posicao_digitada(std::string_view digitado, int posicao_avaliador);

// The refusal of a malformed expression: the text as typed and the place of
// the error, counted as posicao_digitada counts it.
std::string expressao_invalida(std::string_view digitado, int posicao_avaliador);

} // namespace quarvel::tape
