#pragma once
// The temporary file a save writes before it takes the file's name:
// ".<name>.quarvel-XXXXXX" in the same folder, made by mkostemps and locked
// (flock) for as long as its save runs. A save killed midway leaves it
// behind, unlocked; the next save of the same file, or the clearing of the
// Backup folder, removes it. A lock still held means a save in progress: its
// file is left alone. Only names with the ".quarvel-" mark are ever removed:
// ".<name>.<anything>" may be the user's own file or another program's.
#include <string>
#include <utility>
#include <vector>

namespace quarvel::gravacao {

// The part of a temporary name that comes before the six random letters:
// "." + name (cut to 200 bytes, leaving room in a long file name) + ".quarvel-".
std::string prefixo_temporario(const std::string& nome);

// Whether `entrada` is a temporary name of a save of `nome`.
bool e_temporario_de(const std::string& entrada, const std::string& nome);

// Whether `entrada` is a temporary name at all; *nome gets the name of the
// file it was meant to replace (possibly cut short).
bool e_temporario(const std::string& entrada, std::string* nome = nullptr);

// A new empty file ".<nome>.quarvel-XXXXXX" in `pasta`, mode 0600, locked. Its
// descriptor, or -1 with errno set; *caminho gets its path.
int criar_temporario(const std::string& pasta, const std::string& nome, std::string* caminho);

// The same with another pattern: `prefixo` + six letters + `sufixo`.
int criar_unico(const std::string& pasta, const std::string& prefixo, const std::string& sufixo,
                std::string* caminho);

// The copy of the old bytes an in-place save keeps beside the file:
// "<base>.copia-" + six letters + "<.ext>" ("malote.copia-Ab12Cd.qvl", found by
// the same file dialog filter, and opened as the document it is).
std::pair<std::string, std::string> partes_da_copia(const std::string& nome);

// The copies in-place saves of `caminho` left beside it (a save cut short
// by a kill or a power cut), as paths, sorted. No save deletes them.
std::vector<std::string> copias_de(const std::string& caminho);

enum class Sobra { Apagada, EmUso, Falhou };

// Removes the temporary file `entrada` of the open folder `pasta_fd`, unless
// a running save holds its lock. Falhou leaves errno set. The caller has
// chosen the name (e_temporario, or a lock file of its own).
Sobra apagar_sobra(int pasta_fd, const std::string& entrada);

// Removes every temporary file of killed saves of `nome` in `pasta`: only
// names that carry the mark, only when their lock is free.
void apagar_sobras(const std::string& pasta, const std::string& nome);

} // namespace quarvel::gravacao
