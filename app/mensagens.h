#pragma once
// The application's own texts: its name and version, the maker and the
// addresses, the new document's name.
#include "app/versao.h"

namespace quarvel::app {

#define QUARVEL_PRODUTO "Calculador de Vantorel"

inline constexpr const char* kVersao = QUARVEL_VERSAO;
inline constexpr const char* kProduto = QUARVEL_PRODUTO;
// The first status-bar panel.
inline constexpr const char* kNomeComVersao = "Quarvel " QUARVEL_VERSAO;
// The program's name in the task list and the first half of every main-window
// title ("%s - %s" with the file name).
inline constexpr const char* kTituloAplicacao = "Quarvel " QUARVEL_VERSAO " - " QUARVEL_PRODUTO;
// The title's file name for a calculation that was never saved.
inline constexpr const char* kNomeNovo = "NovoCalculo.qvl";

inline constexpr const char* kAutor = "Equipe Quarvel";
inline constexpr const char* kSite = "https://quarvel.example.org";
inline constexpr const char* kEmail = "contato@quarvel.example.org";
inline constexpr const char* kEnderecoSuporte = "https://quarvel.example.org/suporte";

#undef QUARVEL_PRODUTO

} // namespace quarvel::app
