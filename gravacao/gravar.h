#pragma once
// Writing a whole file so that a failure or a kill never leaves a part of it.
//
// A regular file is replaced by a new one, written beside it, synced and then
// renamed over it, when the new file can carry the old one's owner, group,
// mode and extended attributes (the ACL among them) and the old one has no
// other hard link. Otherwise the old bytes are first kept in a synced and
// verified copy "<base>.copia-XXXXXX.<ext>" beside it, the new bytes are written
// into the file itself, and the copy is deleted; a save killed meanwhile
// leaves that copy, which no save deletes. A named pipe or a character
// device is written into, never replaced; any other node is refused. A file
// its user could not open for writing is refused as a plain write is.
#include <atomic>
#include <string>
#include <string_view>

namespace quarvel::gravacao {

// What a symbolic link standing at the name being written gets.
enum class Ligacao {
    Seguir,     // the file it leads to is written; the link stays (documents)
    Substituir, // the link itself is replaced by the new file (backups)
};

// The bytes a pipe or device refuses for this long, counted over the whole
// save, end it: a reader that stops, or trickles, must not hold the save for
// ever.
inline constexpr int kEsperaMaximaMs = 30000;

// How long a save into a pipe or a device may take in all, and a flag that
// gives it up (the user closing the waiting window); the flag is looked at
// at least every kIntervaloDesistenciaMs while the reader does not read.
struct Prazo {
    int ms = kEsperaMaximaMs;
    const std::atomic<bool>* desistir = nullptr;
};
inline constexpr int kIntervaloDesistenciaMs = 100;

// False on failure, with the reason in Portuguese in *erro; the old file is
// then as it was and no temporary file stays behind.
bool gravar_atomico(const std::string& caminho, std::string_view bytes, std::string* erro,
                    Ligacao ligacao = Ligacao::Seguir, const Prazo& prazo = {});

// Whether `caminho` (its links followed) is a named pipe or a character
// device, which a save writes into and may wait on.
bool e_pipe_ou_dispositivo(const std::string& caminho);

} // namespace quarvel::gravacao
