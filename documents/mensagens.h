#pragma once
// The texts of the calculation and text files, shared by the window and the
// command line. Each is a format for QString::arg (%1, %2, ...).

namespace quarvel::documents {

// %1 the file, %2 why.
inline constexpr const char* kArquivoNaoAberto = "O arquivo %1 não pôde ser aberto: %2";
// %1 the line number, %2 the file, %3 the line as quoted.
inline constexpr const char* kLinhaSemValor = "A linha %1 de %2 não contém um valor: %3";

} // namespace quarvel::documents
