#pragma once
// The application's own texts: its name and version, the maker and the
// addresses. The subsystems' texts are in their own folders' mensagens.h.
#include "app/versao.h"

namespace quarvel::app {

#define QUARVEL_NOME "Quarvel"
#define QUARVEL_PRODUTO "Calculador de Vantorel"

// The program's name: the application's, the about box's and the caption of
// every message box. (The printing layer, below this one, names the preview
// and the PDF's creator with printing::kNomePrograma.)
inline constexpr const char* kNome = QUARVEL_NOME;
inline constexpr const char* kVersao = QUARVEL_VERSAO;
inline constexpr const char* kProduto = QUARVEL_PRODUTO;
// The first status-bar panel.
inline constexpr const char* kNomeComVersao = QUARVEL_NOME " " QUARVEL_VERSAO;
// The program's name in the task list and the first half of every main-window
// title ("%s - %s" with the file name).
inline constexpr const char* kTituloAplicacao =
    QUARVEL_NOME " " QUARVEL_VERSAO " - " QUARVEL_PRODUTO;

inline constexpr const char* kAutor = "Equipe Quarvel";
inline constexpr const char* kSite = "https://quarvel.example.org";
inline constexpr const char* kEmail = "contato@quarvel.example.org";
inline constexpr const char* kEnderecoSuporte = "https://quarvel.example.org/suporte";

// The command line. %1 the option as typed.
inline constexpr const char* kOpcaoDesconhecida = "Opção desconhecida: %1";
inline constexpr const char* kOpcaoSemValor = "A opção %1 não leva valor.";
inline constexpr const char* kVejaAAjuda = "Use \"quarvel --help\" para ver as opções.";
inline constexpr const char* kUsoPdf = "Uso: quarvel --pdf SAIDA.pdf ARQUIVO";
inline constexpr const char* kOpcaoTotal =
    "Mostra as linhas da fita, o total e o total por extenso.";
// --total could not write what it read. %1 the system's reason.
inline constexpr const char* kFalhaSaida = "Não foi possível escrever o total na saída padrão: %1";
inline constexpr const char* kOpcaoPdf = "Imprime a fita no arquivo PDF <saida>.";
inline constexpr const char* kArgumentoArquivos =
    "Arquivos de cálculo (.qvl), de backup (.qvlbackup), de texto, ou - para a entrada padrão.";
// The window asked for where there is no screen to show it on.
inline constexpr const char* kSemTela =
    "Não há tela para abrir a janela (DISPLAY e WAYLAND_DISPLAY vazias). Sem janela: "
    "quarvel --total ou quarvel --pdf; veja quarvel --help.";
// %1 the display that was tried, as its variables name it.
inline constexpr const char* kTelaRecusada =
    "Não foi possível abrir a janela na tela (%1). Sem janela: quarvel --total ou "
    "quarvel --pdf; veja quarvel --help.";

#undef QUARVEL_PRODUTO
#undef QUARVEL_NOME

} // namespace quarvel::app
