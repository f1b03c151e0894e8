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
inline constexpr const char* kServidorNaoRespondeu = "O servidor de impressão não respondeu.";

// The print server's reasons (kFalhaImpressao's %1); %1 the queue.
inline constexpr const char* kImpressoraInexistente =
    "a impressora %1 não existe mais no servidor de impressão";
inline constexpr const char* kImpressoraRecusa = "a impressora %1 não está aceitando trabalhos";
inline constexpr const char* kImpressaoNaoAutorizada =
    "o servidor de impressão não autorizou a impressão em %1";
inline constexpr const char* kServidorIndisponivel = "o servidor de impressão não está disponível";
inline constexpr const char* kServidorOcupado = "o servidor de impressão está ocupado";
inline constexpr const char* kFormatoRecusado = "a impressora %1 não aceita documentos PDF";
inline constexpr const char* kImpressaoCancelada = "a impressão foi cancelada";
inline constexpr const char* kNenhumaImpressora = "nenhuma impressora foi escolhida";
// %1 the queue, %2 the server's own code, as IPP names it.
inline constexpr const char* kServidorRecusou =
    "o servidor de impressão recusou o trabalho para %1 (%2)";
// %1 the HTTP status.
inline constexpr const char* kDocumentoNaoChegou =
    "o documento não chegou ao servidor de impressão (%1)";

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
