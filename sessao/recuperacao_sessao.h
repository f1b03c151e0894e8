#pragma once
// At start-up: the journals of windows that did not close normally (their
// lock is free: the process is gone) are offered back, newest first. Sim
// brings the tape and its settings into the window; Não keeps the tape as
// recuperacao-AAAA-MM-DD-hhmmss.qvl in the Backup folder. Once one has been
// brought back, the others are kept there without asking. A journal with no
// values and the settings of a new document is simply removed.
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

// The session as a calculation file in the Backup folder, named after
// `quando`; a name already taken gets "-2", "-3"... The path, or empty with
// the warning in *erro.
QString guardar_recuperacao(const Sessao& sessao, const QDateTime& quando, QString* erro);

} // namespace quarvel::documents
