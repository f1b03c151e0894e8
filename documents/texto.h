#pragma once
// Text export and import (.txt) and the backup files (.qvlbackup), which hold
// the tape lines as shown, one per line.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::documents {

// Tape lines, Windows-1252, CR LF after each.
std::string escrever_texto(const std::vector<std::string>& linhas_fita);

struct LeituraTexto {
    enum class Estado { Ok, LinhaSemValor, ExcedeMaximo, Cancelado };
    Estado estado = Estado::Ok;
    std::vector<std::string> brutos; // when Ok
    std::vector<std::string> linhas; // money masks, when Ok
    int numero_linha = 0;            // 1-based, when LinhaSemValor
    std::string texto_linha;         // UTF-8, cut to 40 characters, when LinhaSemValor
};

// Blank lines are skipped; a line with text but no number refuses the whole
// file. continuar is called once per line with text (its 0-based index)
// and may return false to cancel.
LeituraTexto ler_texto(std::string_view bytes,
                       const std::function<bool(std::size_t)>& continuar = {});

// A backup file by its name: it ends in ".qvlbackup", in any case.
bool e_arquivo_backup(std::string_view caminho);

} // namespace quarvel::documents
