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

#undef QUARVEL_PRODUTO
#undef QUARVEL_NOME

} // namespace quarvel::app
