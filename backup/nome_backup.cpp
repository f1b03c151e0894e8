#include "backup/nome_backup.h"

#include "documents/mensagens.h"

namespace quarvel::backup {

using documents::formatar;
using documents::kBackupNomeInvalido;
using documents::kBackupSemNome;

namespace {

std::string_view sem_extensao(std::string_view nome) {
    const std::size_t ponto = nome.rfind('.');
    if (ponto == std::string_view::npos) return nome;
    const std::size_t barra = nome.find_last_of("/\\");
    if (barra != std::string_view::npos && barra > ponto) return nome;
    return nome.substr(0, ponto);
}

} // namespace

std::string arquivo_backup(std::string_view nome) {
    std::string s(sem_extensao(nome));
    s += ".qvlbackup";
    return s;
}

bool nome_backup_valido(std::string_view nome) {
    if (nome.empty() || nome == "." || nome == "..") return false;
    for (std::size_t i = 0; i < nome.size(); ++i) {
        const auto c = static_cast<unsigned char>(nome[i]);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
        // U+0080..U+009F, the C1 controls, are C2 80..C2 9F in UTF-8.
        if (c == 0xC2 && i + 1 < nome.size()) {
            const auto d = static_cast<unsigned char>(nome[i + 1]);
            if (d >= 0x80 && d <= 0x9F) return false;
        }
    }
    // The file always ends in ".qvlbackup", so without a separator it stays
    // inside the folder: "..x" gives "..qvlbackup".
    return true;
}

std::string recusa_nome_backup(std::string_view nome) {
    if (nome.empty()) return kBackupSemNome;
    if (!nome_backup_valido(nome)) return formatar(kBackupNomeInvalido, {nome});
    return {};
}

} // namespace quarvel::backup
