#pragma once
// What a file carries besides its bytes: owner, group, mode, and the extended
// attributes (the POSIX ACL among them, as system.posix_acl_access).

namespace quarvel::gravacao {

// Gives the new file `destino` the owner, group, mode and extended attributes
// of `origem`, then checks they took. False (errno set) when any did not: a
// rename would then change who may read or write the file.
bool copiar_atributos(int origem, int destino);

} // namespace quarvel::gravacao
