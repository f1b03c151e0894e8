#pragma once
// Folders and removals that survive a power cut: a folder's name, like a
// file's, is only on the disk once the folder that holds it is synced.
#include <string>
#include <sys/types.h>

namespace quarvel::gravacao {

// fsync of a folder. False with errno set when it cannot be opened or synced
// (a file system that cannot sync folders counts as synced).
bool sincronizar_pasta(const std::string& pasta);

// Makes the folder and the missing ones above it with `modo`, syncing each
// new one's name into the folder above it. False with errno set; a name
// taken by something that is no folder gives ENOTDIR. *criada tells whether
// the last folder was made now.
bool criar_pastas(const std::string& caminho, mode_t modo, bool* criada = nullptr);

// unlink, then fsync of its folder. False with errno set (a missing file is
// no failure).
bool apagar_sincronizado(const std::string& caminho);
// The same for the name `nome` in the open folder `pasta`.
bool apagar_sincronizado_em(int pasta, const std::string& nome);

} // namespace quarvel::gravacao
