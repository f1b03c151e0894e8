#pragma once
// At start-up: the journals of windows that did not close normally (their
// lock is free: the process is gone) are offered back, newest first, each
// with its number of values and the time it was last written. Sim brings the
// tape and its settings into the window; Não keeps the tape as
// recuperacao-AAAA-MM-DD-hhmmss.qvl in the Backup folder. Once one has been
// brought back, the others stay where they are for the next start to offer,
// and the user is told so. A journal with no values and the settings of a
// new document is simply removed; one that cannot be read or replayed is
// moved aside as diario-ilegivel-<its name>, with a message naming it, and
// never offered again. Nothing in the journals' folder is followed through a
// symbolic link, and a lock file is removed only by whoever holds its lock.
#include "sessao/diario.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QWidget;

namespace quarvel::documents {

class DialogosDocumento;

struct ContextoRecuperacao {
    QString pasta; // the journals' folder
    DialogosDocumento& dialogos;
    QWidget* dono;
    std::function<void(Sessao)> recuperar; // Sim: the window takes it
};

// Whether a session was brought back into the window.
bool oferecer_recuperacao(const ContextoRecuperacao& c);

// The question for a tape of `valores` values last written at `quando`.
QString pergunta_recuperacao(std::size_t valores, const QDateTime& quando,
                             const QDateTime& agora = QDateTime::currentDateTime());

// The session as a calculation file in the Backup folder, named after
// `quando`; a name already taken, even at the same moment by another
// process, gets "-2", "-3"... The path, or empty with the warning in *erro.
QString guardar_recuperacao(const Sessao& sessao, const QDateTime& quando, QString* erro);

} // namespace quarvel::documents
