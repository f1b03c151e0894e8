#pragma once
// What a file carries besides its bytes: owner, group, mode, and the extended
// attributes (the POSIX ACL among them, as system.posix_acl_access).
#include <string>
#include <sys/types.h>

namespace quarvel::gravacao {

// Gives the new file `destino` the owner, group, mode and extended attributes
// of `origem`, then checks they took. False (errno set) when any did not: a
// rename would then change who may read or write the file.
bool copiar_atributos(int origem, int destino);

// The mode a file created in `pasta` with mode 0666 gets: the umask's, or,
// under a default ACL, the bits that ACL gives (the umask then plays no
// part). A temporary file is made 0600; this mode makes it what a plain
// create would have made.
mode_t modo_de_arquivo_novo(const std::string& pasta);

} // namespace quarvel::gravacao
