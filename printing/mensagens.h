#pragma once
// The texts and fixed values of printing, written once for the window, the
// preview and the command line alike. Each text with %1 is a format for
// QString::arg.

namespace quarvel::printing {

// The program's name: the preview's title, the PDF's creator, and the
// caption the application gives its message boxes.
inline constexpr const char* kNomePrograma = "Quarvel";
// The job title and $TITLE$ of a print: a fixed text of the program, not its
// version.
inline constexpr const char* kTituloImpressao = "Quarvel 1.0";
inline constexpr const char* kTituloVisualizacao = kNomePrograma;

// %1 why: the print server's reason, or the file's name and the system's.
inline constexpr const char* kFalhaImpressao = "Não foi possível imprimir: %1";
inline constexpr const char* kSemImpressora = "nenhuma impressora está disponível";
inline constexpr const char* kFitaVazia = "A fita está vazia: não há o que imprimir.";

// The body's last line; %1 the total display's text.
inline constexpr const char* kLinhaTotal = "Valor Total: %1 ";

// The preview's zoom menu: each item's code. Page-fitting modes are negative,
// the rest are percentages, which the mouse halves and doubles within the
// smallest and the largest.
inline constexpr int kZoomPaginaInteira = -1;
inline constexpr int kZoomLarguraPagina = -2;
inline constexpr int kPercentuais[] = {25, 50, 100, 200, 400};
inline constexpr int kPercentualMinimo = kPercentuais[0];
inline constexpr int kPercentualMaximo = kPercentuais[4];
inline constexpr int kPercentualInicial = 100;

} // namespace quarvel::printing
